// The Wi-Fi module's settings connection fed reads of any size, as a flooding or broken peer
// delivers them: a read of one byte up to the whole input, split as the socket shells split it
// (at most kReadBufferBytes a read). The panel's side must answer only a well-formed reply to
// the pending command, must give the peer up once it has sent more than kMaxStrayBytes bytes
// that are no reply, and never otherwise; the module's side (the simulator's model) must
// answer only with whole replies, however the bytes are cut.
#include <algorithm>
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

// Reads a size of 1 to the rest of the input: one byte gives sizes below 128 directly, a
// larger one is the high byte of a 15-bit size, and 0xFF takes everything left.
std::size_t ChunkSize(const std::uint8_t* data, std::size_t size, std::size_t& i) {
  const std::size_t left = size - i;
  if (i >= size) return 0;
  const std::uint8_t first = data[i++];
  if (first == 0xFF) return left - 1;
  std::size_t n = first & 0x7F;
  if ((first & 0x80) != 0 && i < size) n = (n << 8) | data[i++];
  return std::min<std::size_t>(std::max<std::size_t>(n, 1), size - i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ModuleSession session;
  session.Connected();
  WifiModuleModel module;
  std::size_t stray = 0;  // the session's count, kept here independently
  std::size_t i = 0;
  while (i < size) {
    const std::uint8_t op = data[i++];
    if (op < 0x20) {
      session.CommandSent(static_cast<ModuleCommand>(op & 0x07));
      continue;
    }
    if (op < 0x30) {
      session.Connected();
      stray = 0;
      Check(session.SpeaksProtocol());
      continue;
    }
    if (op < 0x40) {
      const auto action = session.Second();
      Check(session.Missed() >= 0 && session.Missed() <= ModuleSession::kMaxMissed);
      (void)action;
      continue;
    }
    const std::size_t n = ChunkSize(data, size, i);
    const std::uint8_t* chunk = data + i;
    i += n;
    // The shells never take more than their buffer holds in one read.
    for (std::size_t at = 0; at < n; at += ModuleSession::kReadBufferBytes) {
      const std::size_t read = std::min<std::size_t>(n - at, ModuleSession::kReadBufferBytes);
      const ModuleCommand pending = session.Pending();
      const auto notice = session.BytesReceived(chunk + at, read);
      const auto reply = ParseModuleReply(chunk + at, read);
      stray = reply ? 0 : std::min(stray + read, ModuleSession::kMaxStrayBytes + 1);
      Check(session.SpeaksProtocol() == (stray <= ModuleSession::kMaxStrayBytes));
      if (notice != ModuleSession::Notice::kNone) {
        Check(reply.has_value() && pending != ModuleCommand::kNone &&
              reply->command == static_cast<std::uint8_t>(pending));
        Check((notice == ModuleSession::Notice::kSetOk) == (reply->result == 1));
      }
      if (read > 0) Check(session.Missed() == 0);
      const std::vector<std::uint8_t> replies = module.Feed(chunk + at, read);
      Check(replies.size() % kModuleShortMessageSize == 0);
      for (std::size_t r = 0; r < replies.size(); r += kModuleShortMessageSize) {
        const auto answer = ParseModuleReply(replies.data() + r, kModuleShortMessageSize);
        Check(answer.has_value() && answer->result <= 1);
      }
    }
  }
  return 0;
}
