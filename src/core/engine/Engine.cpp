// The engine's message loop, the dialogs it drives and the texts it shows.
#include "core/engine/Engine.h"

#include <type_traits>

#include "core/link/CommandCode.h"
#include "core/presets/PresetFolder.h"
#include "core/text/Labels.h"

namespace tavelo {

using C = CommandCode;

namespace {

template <class... Ts>
struct Overloaded : Ts... {
  using Ts::operator()...;
};
template <class... Ts>
Overloaded(Ts...) -> Overloaded<Ts...>;

// Clears a flag when the scope ends, also when a handler throws.
class BusyScope {
 public:
  explicit BusyScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~BusyScope() { flag_ = false; }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  bool& flag_;
};

}  // namespace

Engine::Engine(EngineObserver& observer)
    : observer_(observer), paramDir_(kDefaultPresetFolder), lang_(Lang::kEnglish) {
  ApplyDefaults(image_);
  RefreshPcFiles();
}

Engine::~Engine() {
  Shutdown();
}

void Engine::SetTransportFactory(TransportFactory factory) {
  factory_ = std::move(factory);
}

void Engine::SetParamDir(const std::filesystem::path& dir) {
  paramDir_ = dir;
  RefreshPcFiles();
}

void Engine::RefreshPcFiles() {
  pcFiles_ = ListPresetFolder(paramDir_);
}

void Engine::SetLanguage(Lang lang) {
  lang_ = lang;
}

// --- the three inputs ---------------------------------------------------------------------

void Engine::Post(Message message) {
  queue_.push_back(std::move(message));
  Pump();
}

void Engine::Tick() {
  ++ticksWaiting_;
  Pump();
}

void Engine::BytesArrived() {
  bytesWaiting_ = true;
  Pump();
}

// Posted messages go first (as a window's message queue serves them before its timers);
// an input that arrives while a handler runs waits for it to return.
void Engine::Pump() {
  if (busy_) return;
  BusyScope busy(busy_);
  for (;;) {
    if (!queue_.empty()) {
      Message message = std::move(queue_.front());
      queue_.pop_front();
      Handle(message);
    } else if (bytesWaiting_) {
      bytesWaiting_ = false;
      DoBytesArrived();
    } else if (ticksWaiting_ > 0) {
      --ticksWaiting_;
      DoTick();
    } else {
      break;
    }
  }
}

void Engine::Handle(Message& message) {
  std::visit(Overloaded{
                 [&](msg::Connect&) { OnConnect(); },
                 [&](msg::Block& m) { OnBlock(m); },
                 [&](msg::Distribute&) { Distribute(); },
                 [&](msg::OpenWait& m) { OpenWaitDialog(m.kind); },
                 [&](msg::CloseWait&) { CloseWaitDialog(); },
                 [&](msg::SaveToPc& m) { OnSaveToPc(m.pcName); },
                 [&](msg::LoadFromPc& m) { OnLoadFromPc(m); },
                 [&](msg::LoadIntoSlot& m) { OnLoadIntoSlot(m); },
                 [&](msg::MassUpload& m) { OnMassUpload(m); },
                 [&](msg::UnlockClosed&) { OnUnlockClosed(); },
                 [&](msg::SetAdjustManner& m) { OnSetAdjustManner(m.manner); },
                 [&](msg::TransferResult& m) { OnTransferResult(m.result); },
                 [&](msg::Notice& m) { OnNotice(m.code); },
                 [&](msg::UnlockResult& m) { OnUnlockResult(m.result); },
                 [&](msg::ShowUnlock&) { OnShowUnlock(); },
             },
             message);
}

void Engine::Shutdown() {
  if (link_.Opened() || link_.HasTransport()) CloseLink();
  queue_.clear();
}

// --- what the screen shows ------------------------------------------------------------------

void Engine::Status(TextId id) {
  observer_.OnStatus(id, Text(id, lang_));
}

void Engine::Say(TextId id, CaptionKind caption, const std::string& fileName,
                 const std::string& detail) {
  UserMessage m{id, lang_, caption, {}, fileName, detail};
  m.text = fileName.empty() ? std::string(Text(id, lang_)) : FormatText(id, lang_, fileName);
  if (!detail.empty()) m.text += "\n" + detail;
  observer_.OnMessage(m);
}

void Engine::TopBar() {
  observer_.OnTopBar({image_.byte(img::kMusicVolume), image_.byte(img::kMicVolume),
                      image_.byte(img::kEffectVolume), image_.byte(img::kMasterLevel)});
}

void Engine::ConnectCaption() {
  observer_.OnConnectCaption(LabelText(Label::kConnect, lang_));
}

void Engine::RecomputeAdjustLock() {
  adjustLocked_ = header_.vrPresent && image_.byte(img::kAdjustManner) == 0;
}

void Engine::Distribute() {
  RecomputeAdjustLock();
  // The mode-name edit shows the preset name without its padding; a preset upload takes
  // its name from there.
  std::string name(image_.name.begin(), image_.name.end());
  while (!name.empty() && (name.back() == ' ' || name.back() == '\0')) name.pop_back();
  if (const auto nul = name.find('\0'); nul != std::string::npos) name.resize(nul);
  modeNameText_ = name;
  observer_.OnPresetNames();
  observer_.OnLockAdmin(lockCurrent_, adminCurrent_);
  TopBar();
  observer_.OnDistribute();
}

void Engine::OnSetAdjustManner(int manner) {
  const auto value = static_cast<std::uint8_t>(manner != 0 ? 1 : 0);
  if (image_.byte(img::kAdjustManner) == value) return;
  image_.byte(img::kAdjustManner) = value;
  RecomputeAdjustLock();
  Post(msg::Block{C::kAdjustManner, value});
}

// --- wait dialog and unlock prompt ----------------------------------------------------------

void Engine::OpenWaitDialog(WaitKind kind) {
  if (waitOpen_) return;
  waitOpen_ = true;
  observer_.OnWaitOpen(kind);
}

void Engine::CloseWaitDialog() {
  if (!waitOpen_) return;
  waitOpen_ = false;
  observer_.OnWaitClose();
}

void Engine::OnShowUnlock() {
  if (state_ != ConnState::kConnected) return;
  unlockSucceeded_ = false;
  unlockOpen_ = true;
  observer_.OnUnlockOpen();
}

void Engine::OnUnlockResult(int result) {
  if (result == 1) {
    unlockSucceeded_ = true;
    if (!unlockOpen_) return;
    unlockOpen_ = false;
    observer_.OnUnlockClose();
    // Passed: the parameter set read before the prompt is shown now, without a new read.
    paramSetRead_ = true;
    paramSetShown_ = true;
    observer_.OnLockAdmin(lockCurrent_, adminCurrent_);
    observer_.OnApplyAppMode(image_.byte(img::kAppMode));
    Post(msg::Distribute{});
    return;
  }
  unlockSucceeded_ = false;
  paramSetShown_ = false;
  Say(TextId::kMsgPasswordError, CaptionKind::kSpace);
}

void Engine::OnUnlockClosed() {
  if (!unlockOpen_) return;
  unlockOpen_ = false;
  if (unlockSucceeded_) return;
  link_.NoteFailure(
      "the processor's settings are locked and were not unlocked (no key was given, or "
      "the processor refused it)");
  ProtocolFailed(TextId::kStatusOpenFailed1);
}

}  // namespace tavelo
