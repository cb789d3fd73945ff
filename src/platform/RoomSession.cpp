#include "platform/RoomSession.h"

#include "core/params/LockKeyBlock.h"
#include "platform/TickDriver.h"

namespace tavelo {

RoomSession::RoomSession(EngineObserver& observer, TransportMaker makeTransport)
    : observer_(observer), makeTransport_(std::move(makeTransport)), engine_(*this) {
  engine_.SetTransportFactory([this] { return MakeTransport(); });
}

RoomSession::~RoomSession() {
  ticks_.reset();
  engine_.Shutdown();
}

std::unique_ptr<Transport> RoomSession::MakeTransport() {
  std::unique_ptr<Transport> transport = makeTransport_ ? makeTransport_() : nullptr;
  if (transport) transport->SetWakeup(WakeHook());
  return transport;
}

// --- lifecycle --------------------------------------------------------------------------------

void RoomSession::Connect() {
  if (engine_.State() != ConnState::kIdle) return;
  Post(msg::Connect{});
}

void RoomSession::Disconnect() {
  if (engine_.State() == ConnState::kIdle) return;
  Post(msg::Connect{});
}

void RoomSession::StartTicking() {
  if (!ticks_) ticks_ = std::make_unique<TickDriver>([this] { Tick(); });
  ticks_->Start();
}

void RoomSession::StopTicking() {
  if (ticks_) ticks_->Stop();
}

void RoomSession::Tick() {
  engine_.Tick();
  AfterInput();
}

void RoomSession::Post(Message message) {
  engine_.Post(std::move(message));
  AfterInput();
}

void RoomSession::AfterInput() {
  if (afterInput_) afterInput_();
}

// --- state ------------------------------------------------------------------------------------

bool RoomSession::Ready() const {
  return engine_.ParamSetRead() && engine_.ParamSetShown() && Quiet();
}

// --- the unlock prompt --------------------------------------------------------------------------

void RoomSession::AnswerUnlockWith(std::optional<std::string> key,
                                   std::function<void()> onLockedWithoutKey) {
  answersUnlock_ = true;
  lockKey_ = std::move(key);
  onLockedWithoutKey_ = std::move(onLockedWithoutKey);
}

void RoomSession::OnUnlockOpen() {
  if (!answersUnlock_) {
    observer_.OnUnlockOpen();
    return;
  }
  unlockAnswered_ = false;
  if (!lockKey_) {
    lockedWithoutKey_ = true;
    if (onLockedWithoutKey_) onLockedWithoutKey_();
    engine_.Post(msg::UnlockClosed{});
    return;
  }
  // The command line has checked the key is four digits, so a block always comes back.
  if (const auto block = UnlockBlock(*lockKey_)) {
    unlockAnswered_ = true;
    engine_.Post(msg::Block{CommandCode::kLockKey,
                            BlockArg::Buffer(block->data(), static_cast<int>(block->size()))});
  }
}

void RoomSession::OnMessage(const UserMessage& message) {
  observer_.OnMessage(message);
  // A refused key leaves the prompt open for another try; the session has only the one key.
  if (answersUnlock_ && message.id == TextId::kMsgPasswordError && engine_.UnlockOpen() &&
      unlockAnswered_) {
    engine_.Post(msg::UnlockClosed{});
  }
}

// --- everything else goes on to the owner ------------------------------------------------------

void RoomSession::OnStatus(TextId id, const std::string& text) {
  observer_.OnStatus(id, text);
}
void RoomSession::OnConnectLit(bool lit) {
  observer_.OnConnectLit(lit);
}
void RoomSession::OnConnectCaption(const std::string& text) {
  observer_.OnConnectCaption(text);
}
void RoomSession::OnLinkChoiceEnabled(bool enabled) {
  observer_.OnLinkChoiceEnabled(enabled);
}
void RoomSession::OnWaitOpen(WaitKind kind) {
  observer_.OnWaitOpen(kind);
}
void RoomSession::OnWaitClose() {
  observer_.OnWaitClose();
}
void RoomSession::OnUnlockClose() {
  observer_.OnUnlockClose();
}
void RoomSession::OnDistribute() {
  observer_.OnDistribute();
}
void RoomSession::OnApplyAppMode(int mode) {
  observer_.OnApplyAppMode(mode);
}
void RoomSession::OnTopBar(const TopBarValues& values) {
  observer_.OnTopBar(values);
}
void RoomSession::OnIndicators(std::uint8_t first, std::uint8_t second) {
  observer_.OnIndicators(first, second);
}
void RoomSession::OnFrontPanel(const FrontPanel& panel) {
  observer_.OnFrontPanel(panel);
}
void RoomSession::OnEchoTypeReloaded() {
  observer_.OnEchoTypeReloaded();
}
void RoomSession::OnPresetNames() {
  observer_.OnPresetNames();
}
void RoomSession::OnPcFiles() {
  observer_.OnPcFiles();
}
void RoomSession::OnMassUploadProgress(const MassUploadReport& report) {
  observer_.OnMassUploadProgress(report);
}
void RoomSession::OnLockAdmin(bool locked, int adminMode) {
  observer_.OnLockAdmin(locked, adminMode);
}

}  // namespace tavelo
