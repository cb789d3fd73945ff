// The Wi-Fi module's settings connection under arbitrary traffic, both ends. The panel's side
// (ModuleSession) gets a script of sent settings, one-second ticks and reads of arbitrary
// bytes: a setting is reported answered only by a well-formed reply to exactly the command
// pending, and the missed-heartbeat count stays in its bounds. The module's side
// (WifiModuleModel, as tavelo-sim runs it) gets the same bytes: every reply is a whole,
// well-formed three-byte answer to a message it recognised.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <vector>

#include "core/link/WifiModule.h"
#include "core/sim/WifiModuleModel.h"

namespace {

using namespace tavelo;

void Check(bool ok) {
  if (!ok) std::abort();
}

void CheckModuleReplies(const std::vector<std::uint8_t>& replies) {
  Check(replies.size() % kModuleShortMessageSize == 0);
  for (std::size_t i = 0; i < replies.size(); i += kModuleShortMessageSize) {
    const auto reply = ParseModuleReply(replies.data() + i, kModuleShortMessageSize);
    Check(reply.has_value());
    Check(reply->command >= static_cast<std::uint8_t>(ModuleCommand::kSetAp) &&
          reply->command <= static_cast<std::uint8_t>(ModuleCommand::kHeartbeat));
    Check(reply->result <= 1);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ModuleSession session;
  session.Connected();
  WifiModuleModel module;
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t op = data[i++];
    switch (op >> 6) {
      case 0:
        if (op & 0x20) {
          session.Connected();
        } else if (op & 0x10) {
          session.Disconnected();
        } else {
          session.CommandSent(static_cast<ModuleCommand>(op & 0x07));
        }
        break;
      case 1: {
        const bool wasConnected = session.IsConnected();
        const ModuleCommand pending = session.Pending();
        const auto action = session.Second();
        Check(session.Missed() >= 0 && session.Missed() <= ModuleSession::kMaxMissed);
        if (!wasConnected) Check(action == ModuleSession::TickAction::kNothing);
        if (action == ModuleSession::TickAction::kDropUnanswered) {
          Check(pending != ModuleCommand::kNone);
        }
        if (action == ModuleSession::TickAction::kDrop ||
            action == ModuleSession::TickAction::kDropUnanswered) {
          Check(!session.IsConnected());
        }
        if (action == ModuleSession::TickAction::kSendHeartbeat) {
          Check(pending == ModuleCommand::kNone);
        }
        break;
      }
      default: {
        const std::size_t n = std::min<std::size_t>(op & 0x7F, size - i);
        const ModuleCommand pending = session.Pending();
        const auto notice = session.BytesReceived(data + i, n);
        const auto reply = ParseModuleReply(data + i, n);
        if (reply) Check(n == kModuleShortMessageSize && data[i] == 0x55);
        if (notice != ModuleSession::Notice::kNone) {
          Check(reply.has_value() && pending != ModuleCommand::kNone &&
                reply->command == static_cast<std::uint8_t>(pending));
          Check((notice == ModuleSession::Notice::kSetOk) == (reply->result == 1));
          Check(session.Pending() == ModuleCommand::kNone);
        }
        if (n > 0) Check(session.Missed() == 0);
        CheckModuleReplies(module.Feed(data + i, n));
        i += n;
        break;
      }
    }
  }
  return 0;
}
