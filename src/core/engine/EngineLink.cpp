// Connecting, failing to connect and taking the link down: the engine's side of the link
// session, where the observer hears of it.
#include "core/engine/Engine.h"
#include "core/link/CommandCode.h"

namespace tavelo {

namespace {

constexpr std::uint8_t kStatusPoll = CodeNumber(CommandCode::kStatusPoll);

}  // namespace

// --- Connect --------------------------------------------------------------------------------

void Engine::OnConnect() {
  if (state_ != ConnState::kIdle) {
    // Connected: the user disconnects. Opening or Reading: the attempt is abandoned.
    LinkDown();
    return;
  }
  paramSetRead_ = false;
  link_.ClearFailure();
  Post(msg::OpenWait{WaitKind::kConnecting});
  observer_.OnLinkChoiceEnabled(false);
  observer_.OnConnectLit(true);
  Status(TextId::kStatusConnecting);
  state_ = ConnState::kOpening;

  if (!link_.Begin(factory_ ? factory_() : nullptr) || !link_.Open()) {
    OpenFailed();
    return;
  }
  if (link_.Kind() == LinkKind::kUsb) {
    link_.SetAwaitedCode(kStatusPoll);
    if (!SendRequest(kStatusPoll)) OpenFailed();
    return;
  }
  // Wi-Fi: the poll goes out as soon as the connection stands; the connect timer (every
  // 20 ticks) only bounds the wait.
  link_.StartWifiWait();
  OnWifiWait(link_.WifiPoll());
}

void Engine::OnWifiWait(LinkSession::WifiWait result) {
  switch (result) {
    case LinkSession::WifiWait::kConnected:
      WifiConnected();
      return;
    case LinkSession::WifiWait::kGaveUp:
      OpenFailed();
      return;
    case LinkSession::WifiWait::kWaiting:
      return;
  }
}

void Engine::WifiConnected() {
  link_.SetAwaitedCode(kStatusPoll);
  SendRequest(kStatusPoll);
}

// Nothing was opened, or nothing could be sent: back to Idle with "Open failed". The
// transport is released at once (a refused Wi-Fi socket included).
void Engine::OpenFailed() {
  if (const Transport* transport = link_.transport()) {
    const std::string why = transport->FailureText();
    link_.NoteFailure(why.empty() ? "no processor found on " + transport->Describe() : why);
    // A processor that is there but cannot be opened needs the user: say why and what to do,
    // once for this Connect.
    const LinkOpenProblem problem = transport->OpenProblem();
    if (problem.refusal != OpenRefusal::kNone) {
      observer_.OnMessage({OpenProblemTextId(problem.refusal),
                           lang_,
                           CaptionKind::kAppTitle,
                           OpenProblemMessage(problem, lang_),
                           {},
                           {}});
    }
  } else {
    link_.NoteFailure("no link to open");
  }
  link_.Close();
  Status(TextId::kStatusOpenFailed);
  state_ = ConnState::kIdle;
  observer_.OnConnectLit(false);
  observer_.OnLinkChoiceEnabled(true);
  Post(msg::CloseWait{});
}

// The processor did not answer, answered wrongly or the unlock was abandoned.
void Engine::ProtocolFailed(TextId status) {
  CloseLink();
  Status(status);
  state_ = ConnState::kIdle;
  observer_.OnConnectLit(false);
  observer_.OnLinkChoiceEnabled(true);
  Post(msg::CloseWait{});
}

void Engine::CloseLink() {
  paramSetRead_ = false;
  probing_ = false;
  transfer_.Abort();
  // A locked processor's settings never stay in the panel unless the unlock was passed.
  if (header_.lockEngaged && !paramSetShown_) {
    ApplyDefaults(image_);
    paramSetShown_ = true;
  }
  if (link_.Close()) {
    for (auto& group : image_.toneGroups) {
      for (auto& band : group) band.gain = 0;
    }
  }
  if (unlockOpen_) {
    unlockOpen_ = false;
    observer_.OnUnlockClose();
  }
}

void Engine::LinkDown() {
  Post(msg::CloseWait{});
  CloseLink();
  MassUploadStopped(mass_.Report().factory ? TextId::kMsgMassUploadFactoryStopped
                                           : TextId::kMsgMassUploadStopped);
  ConnectCaption();
  mass_.End();
  link_.StopKeepAlive();
  state_ = ConnState::kIdle;
  Status(TextId::kStatusIdle);
  observer_.OnConnectLit(false);
  observer_.OnLinkChoiceEnabled(true);
}

// --- sending --------------------------------------------------------------------------------

bool Engine::SendRequest(std::uint8_t code) {
  return link_.Send(code, nullptr, 0);
}

void Engine::SendPayload(const Payload& payload, bool encoderPath) {
  if (encoderPath) {
    Status(TextId::kStatusCommunicating);
    link_.SetAwaitedCode(payload.code);
  }
  if (!link_.Send(payload.code, payload.data.data(), payload.length)) LinkDown();
}

}  // namespace tavelo
