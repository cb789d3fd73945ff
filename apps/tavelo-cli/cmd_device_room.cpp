#include "cmd_device_room.h"

#include "link/CommandCode.h"
#include "params/LockKeyBlock.h"

namespace tavelo::cli {

void PostUnlockKey(Engine& engine, const std::string& key) {
  // The command line has checked the key is four digits, so a block always comes back.
  if (const auto block = UnlockBlock(key)) {
    engine.Post(msg::Block{CodeNumber(CommandCode::kLockKey),
                           BlockArg::Buffer(block->data(), static_cast<int>(block->size()))});
  }
}

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
    : lockKey_(std::move(lockKey)),
      afterInput_(std::move(afterInput)),
      wire_(nullptr),
      console_(log, false),
      inner_(std::move(transport)),
      engine_(console_) {
  console_.onUnlockOpen = [this] { OnUnlockOpen(); };
  console_.onMessage = [this](const UserMessage& m) {
    // A refused key leaves the prompt open for another try; there is only the one key.
    if (m.id == TextId::kMsgPasswordError && engine_.UnlockOpen() && unlockAnswered_) {
      engine_.Post(msg::UnlockClosed{});
    }
  };
  if (inner_) inner_->SetWakeup([this] { wake_.Request(); });
  engine_.SetTransportFactory([this]() -> std::unique_ptr<Transport> {
    if (!inner_) return nullptr;
    return std::make_unique<TapTransport>(*inner_, wire_);
  });
}

RoomLink::~RoomLink() {
  engine_.Shutdown();
}

void RoomLink::Connect() {
  engine_.Post(msg::Connect{});
  AfterInput();
}

bool RoomLink::Ready() const {
  return engine_.ParamSetRead() && engine_.ParamSetShown() && Quiet();
}

bool RoomLink::Quiet() const {
  return engine_.Connected() && !engine_.ReplyAwaited() && engine_.Pending().Empty();
}

void RoomLink::Disconnect() {
  if (engine_.State() == ConnState::kIdle) return;
  engine_.Post(msg::Connect{});
}

void RoomLink::Tick() {
  engine_.Tick();
  AfterInput();
}

std::string RoomLink::FailureReason() const {
  if (lockedWithoutKey_) return "the processor's settings are locked; give its key with --lock-key";
  return LinkFailureReason(engine_, console_);
}

void RoomLink::OnUnlockOpen() {
  unlockAnswered_ = false;
  if (!lockKey_) {
    lockedWithoutKey_ = true;
    engine_.Post(msg::UnlockClosed{});
    return;
  }
  unlockAnswered_ = true;
  PostUnlockKey(engine_, *lockKey_);
}

void RoomLink::AfterInput() {
  if (afterInput_) afterInput_();
}

}  // namespace tavelo::cli
