#include "cmd_device_room.h"

namespace tavelo::cli {

std::string LinkFailureReason(const Engine& engine, const ConsoleObserver& console) {
  // Link down ends in "Idle"; the status before it is what the panel shows, the engine's
  // detail what the user can act on.
  const std::string& detail = engine.FailureDetail();
  const std::string& status = console.FailureStatusText();
  const std::string& why = detail.empty() ? console.FailureWhy() : detail;
  if (!status.empty()) return why.empty() ? status : status + ": " + why;
  if (!detail.empty()) return detail;
  return "the link went down; status " + console.LastStatusText();
}

RoomLink::RoomLink(std::unique_ptr<Transport> transport, std::optional<std::string> lockKey,
                   std::ostream& log, std::function<void()> afterInput)
    : wire_(nullptr),
      console_(log, false),
      inner_(std::move(transport)),
      session_(console_, [this]() -> std::unique_ptr<Transport> {
        if (!inner_) return nullptr;
        return std::make_unique<TapTransport>(*inner_, wire_);
      }) {
  session_.AnswerUnlockWith(std::move(lockKey));
  session_.SetAfterInput(std::move(afterInput));
  if (inner_) inner_->SetWakeup(session_.WakeHook());
}

RoomLink::~RoomLink() {
  session_.Shutdown();
  inner_.reset();
}

std::string RoomLink::FailureReason() const {
  if (session_.LockedWithoutKey()) {
    return "the processor's settings are locked; give its key with --lock-key";
  }
  return LinkFailureReason(session_.engine(), console_);
}

}  // namespace tavelo::cli
