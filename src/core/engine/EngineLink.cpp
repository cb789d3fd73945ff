// The link: Connect, the one-request-in-flight send path, the 50 ms tick with its
// time-outs and keep-alive polls, the reply dispatcher and the taking down of the link.
#include <algorithm>

#include "engine/Engine.h"
#include "engine/StatusDecode.h"
#include "link/CommandCode.h"
#include "link/Frame.h"

namespace tavelo {

using C = CommandCode;

namespace {

constexpr std::uint8_t kStatusPoll = CodeNumber(C::kStatusPoll);
constexpr std::uint8_t kReadStart = CodeNumber(C::kReadStart);

// Bytes handed to the parser per BytesArrived or tick; the rest waits in the transport.
constexpr std::size_t kFetchChunk = 2048;
constexpr int kMaxFetchesPerCall = 16;

// Codes the engine posts to itself to continue a whole-set transfer. They go out before
// block requests that wait, so a transfer's chunks are never interleaved with edits.
bool IsContinuation(int code) {
  return code == CodeNumber(C::kReadChunk) || code == CodeNumber(C::kWriteChunk) ||
         code == CodeNumber(C::kWriteFinish);
}

}  // namespace

const LinkTimings& Engine::Timings() const {
  return linkKind_ == LinkKind::kWifi ? kWifiTimings : kUsbTimings;
}

// --- Connect --------------------------------------------------------------------------------

void Engine::OnConnect() {
  if (state_ != ConnState::kIdle) {
    // Connected: the user disconnects. Opening or Reading: the attempt is abandoned.
    LinkDown();
    return;
  }
  paramSetRead_ = false;
  failureDetail_.clear();
  Post(msg::OpenWait{WaitKind::kConnecting});
  observer_.OnLinkChoiceEnabled(false);
  observer_.OnConnectLit(true);
  Status(TextId::kStatusConnecting);
  state_ = ConnState::kOpening;

  transport_ = factory_ ? factory_() : nullptr;
  if (!transport_) {
    OpenFailed();
    return;
  }
  linkKind_ = transport_->Kind();
  if (!transport_->Open()) {
    OpenFailed();
    return;
  }
  linkOpen_ = true;
  if (linkKind_ == LinkKind::kUsb) {
    lastRequest_ = kStatusPoll;
    if (!SendRequest(kStatusPoll, nullptr, 0)) OpenFailed();
    return;
  }
  // Wi-Fi: the poll goes out as soon as the connection stands; the connect timer (every
  // 20 ticks) only bounds the wait.
  wifiConnecting_ = true;
  wifiTicks_ = 0;
  wifiAttempts_ = 0;
  if (transport_->IsConnected()) WifiConnected();
}

void Engine::WifiConnected() {
  wifiConnecting_ = false;
  lastRequest_ = kStatusPoll;
  SendRequest(kStatusPoll, nullptr, 0);
}

void Engine::WifiConnectTimer() {
  if (transport_ && transport_->IsConnected()) {
    WifiConnected();
    return;
  }
  if (++wifiAttempts_ < kWifiConnectAttempts) return;
  wifiConnecting_ = false;
  NoteFailure(LinkFailureText("no connection to " + transport_->Describe() + " within " +
                              std::to_string(kWifiConnectAttempts) + " s"));
  OpenFailed();
}

// Nothing was opened, or nothing could be sent: back to Idle with "Open failed". The
// transport is released at once (a refused Wi-Fi socket included).
void Engine::OpenFailed() {
  if (transport_) {
    const std::string why = transport_->FailureText();
    NoteFailure(why.empty() ? "no processor found on " + transport_->Describe() : why);
    // A processor that is there but cannot be opened needs the user: say why and what to do,
    // once for this Connect.
    const LinkOpenProblem problem = transport_->OpenProblem();
    if (problem.refusal != OpenRefusal::kNone) {
      observer_.OnMessage({OpenProblemTextId(problem.refusal),
                           lang_,
                           CaptionKind::kAppTitle,
                           Text(TextId::kAppTitle, lang_),
                           OpenProblemMessage(problem, lang_),
                           {},
                           {}});
    }
  } else {
    NoteFailure("no link to open");
  }
  ReleaseTransport();
  linkOpen_ = false;
  wifiConnecting_ = false;
  Status(TextId::kStatusOpenFailed);
  state_ = ConnState::kIdle;
  replyAwaited_ = false;
  pending_.Clear();
  observer_.OnConnectLit(false);
  observer_.OnLinkChoiceEnabled(true);
  Post(msg::CloseWait{});
}

// The processor did not answer, answered wrongly or the unlock was abandoned.
void Engine::ProtocolFailed(TextId status) {
  CloseLink();
  Status(status);
  replyAwaited_ = false;
  state_ = ConnState::kIdle;
  observer_.OnConnectLit(false);
  observer_.OnLinkChoiceEnabled(true);
  Post(msg::CloseWait{});
}

void Engine::NoteFailure(const std::string& detail) {
  if (failureDetail_.empty()) failureDetail_ = detail;
}

// The transport's own reason when it has one.
std::string Engine::LinkFailureText(const std::string& fallback) const {
  const std::string why = transport_ ? transport_->FailureText() : std::string();
  return why.empty() ? fallback : fallback + " (" + why + ")";
}

std::string Engine::ReplyTimeText() const {
  constexpr int kTickMs = 50;
  const int ms = Timings().replyTimeout * kTickMs;
  std::string text = std::to_string(ms / 1000);
  if (ms % 1000 != 0) text += "." + std::to_string(ms % 1000 / 100);
  return text + " s";
}

void Engine::ReleaseTransport() {
  if (!transport_) return;
  transport_->Close();
  transport_.reset();
}

void Engine::CloseLink() {
  paramSetRead_ = false;
  uploadActive_ = false;
  loadOkPending_ = false;  // the upload was never confirmed
  downloadActive_ = false;
  // A locked processor's settings never stay in the panel unless the unlock was passed.
  if (header_.lockEngaged && !paramSetShown_) {
    ApplyDefaults(image_);
    paramSetShown_ = true;
  }
  ReleaseTransport();
  wifiConnecting_ = false;
  pending_.Clear();
  replyAwaited_ = false;
  if (linkOpen_) {
    linkOpen_ = false;
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
  MassUploadStopped(massReport_.factory ? TextId::kMsgMassUploadFactoryStopped
                                        : TextId::kMsgMassUploadStopped);
  ConnectCaption();
  massRunning_ = false;
  massFactory_ = false;
  keepAlive_ = 0;
  state_ = ConnState::kIdle;
  replyAwaited_ = false;
  Status(TextId::kStatusIdle);
  observer_.OnConnectLit(false);
  observer_.OnLinkChoiceEnabled(true);
}

// --- sending --------------------------------------------------------------------------------

bool Engine::SendRequest(std::uint8_t code, const std::uint8_t* data, int length) {
  if (!transport_) return false;
  inFlight_ = code;
  RequestFrame frame;
  if (BuildRequest(code, data, length, frame) == 0) return false;
  // A late reply to an earlier request must never be taken for this one's.
  std::array<std::uint8_t, kFetchChunk> stale{};
  for (int i = 0; i < kMaxFetchesPerCall; ++i) {
    std::size_t got = 0;
    if (transport_->Fetch(stale.data(), stale.size(), got) != FetchStatus::kBytes || got == 0) {
      break;
    }
  }
  const LinkTimings& timings = Timings();
  keepAlive_ = timings.keepAlive;
  if (linkKind_ == LinkKind::kUsb) {
    if (transport_->Send(frame.bytes.data(), frame.size) <= 0) {
      NoteFailure(LinkFailureText("the link went down: request " + std::to_string(code) +
                                  " could not be sent"));
      return false;
    }
  } else if (transport_->IsConnected()) {
    // A Wi-Fi send that goes nowhere is noticed by the reply time-out.
    transport_->Send(frame.bytes.data(), frame.size);
  }
  replyAwaited_ = true;
  replyTimeout_ = timings.replyTimeout;
  parser_.Reset();
  return true;
}

void Engine::SendPayload(const Payload& payload, bool encoderPath) {
  if (encoderPath) {
    Status(TextId::kStatusCommunicating);
    lastRequest_ = payload.code;
  }
  if (!SendRequest(payload.code, payload.data.data(), payload.length)) LinkDown();
}

void Engine::OnBlock(int code, const BlockArg& arg) {
  if (ClampVolumes(image_, code)) TopBar();
  // What the system page and the toggles record whether or not a processor listens.
  if (code == CodeNumber(C::kUseInitVolume)) useInitVol_ = arg.value != 0;
  if (paramSetShown_ && code == CodeNumber(C::kLockKey) && arg.bufferSize >= 5)
    lockCurrent_ = arg.buffer[4] != 0;
  if (code == CodeNumber(C::kAdminMode) && arg.bufferSize >= 7) adminCurrent_ = arg.buffer[6];

  if (state_ == ConnState::kIdle) {
    pending_.Clear();
    return;
  }
  if (code == CodeNumber(C::kWriteStart)) {
    if ((arg.value & 0x1F) > 9) return;
  } else if (code != CodeNumber(C::kBoostBlock) && !IsContinuation(code)) {
    Payload probe;
    if (EncodeBlock(image_, code, arg, probe) == EncodeResult::kIgnored) return;
  }
  if (code == CodeNumber(C::kRecallPreset)) currentPreset_ = arg.value;

  if (IsContinuation(code)) {
    if (replyAwaited_) {
      pending_.Add(code, arg, /*front=*/true);
    } else {
      SendNow(code, arg);
    }
    return;
  }
  pending_.Add(code, arg);
  SendNextPending();
}

void Engine::SendNextPending() {
  while (state_ == ConnState::kConnected && !replyAwaited_ && !pending_.Empty()) {
    const auto next = pending_.Take();
    SendNow(next->code, next->arg);
  }
}

void Engine::SendNow(int code, const BlockArg& arg) {
  switch (code) {
    case CodeNumber(C::kBoostBlock): {
      const Payload boost = BoostBlockPayload(image_);
      if (!SendRequest(boost.code, boost.data.data(), boost.length)) {
        LinkDown();
        return;
      }
      replyTimeout_ = kBoostStoreTimeout;
      return;
    }
    case CodeNumber(C::kReadChunk):
      SendChunkRequest();
      return;
    case CodeNumber(C::kWriteStart):
      StartUpload(arg.value);
      return;
    case CodeNumber(C::kWriteChunk):
      SendUploadChunk();
      return;
    case CodeNumber(C::kWriteFinish):
      SendUploadFinish();
      return;
    default:
      break;
  }
  Payload payload;
  if (EncodeBlock(image_, code, arg, payload) != EncodeResult::kPayload) return;
  SendPayload(payload, /*encoderPath=*/true);
}

// --- the tick -------------------------------------------------------------------------------

void Engine::DoTick() {
  switch (state_) {
    case ConnState::kIdle:
      return;
    case ConnState::kOpening:
      if (wifiConnecting_) {
        // A transport that does not wake us when it connects is noticed within a tick.
        if (transport_ && transport_->IsConnected()) {
          WifiConnected();
        } else if (++wifiTicks_ % kWifiConnectTimerTicks == 0) {
          WifiConnectTimer();
        }
        return;
      }
      if (replyAwaited_ && replyTimeout_ > 0) {
        FetchIntoParser();
        if (state_ != ConnState::kOpening || !replyAwaited_) return;
        if (--replyTimeout_ == 0) {
          NoteFailure("the processor did not answer the status poll within " + ReplyTimeText());
          ProtocolFailed(TextId::kStatusOpenFailed0);
        }
      }
      return;
    case ConnState::kReading:
      if (replyAwaited_) FetchIntoParser();
      if (state_ != ConnState::kReading) return;
      if (replyAwaited_ && replyTimeout_ > 0 && --replyTimeout_ == 0) {
        NoteFailure("reading the parameter set: the processor did not answer request " +
                    std::to_string(inFlight_) + " within " + ReplyTimeText());
        ProtocolFailed(TextId::kStatusOpenFailed1);
      }
      return;
    case ConnState::kConnected:
      if (replyAwaited_ && replyTimeout_ > 0 && --replyTimeout_ == 0) {
        replyAwaited_ = false;
        NoteFailure("the processor did not answer request " + std::to_string(inFlight_) +
                    " in time");
        Post(msg::TransferResult{1});
        // Nothing more goes out until the time-out has taken the link down: the request may
        // still be answered, and a USB read for it may still be under way.
        return;
      }
      if (replyAwaited_) {
        FetchIntoParser();
        if (replyAwaited_ || state_ != ConnState::kConnected) return;
      }
      if (!pending_.Empty()) {
        SendNextPending();
        return;
      }
      if (keepAlive_ > 0 && --keepAlive_ == 0) {
        lastRequest_ = kStatusPoll;
        if (!SendRequest(kStatusPoll, nullptr, 0)) LinkDown();
      }
      return;
  }
}

void Engine::DoBytesArrived() {
  if (!transport_) return;
  if (wifiConnecting_) {
    if (transport_->IsConnected()) WifiConnected();
    return;
  }
  // Bytes that nobody waits for stay in the transport.
  if (state_ == ConnState::kIdle || !replyAwaited_) return;
  FetchIntoParser();
}

void Engine::FetchIntoParser() {
  std::array<std::uint8_t, kFetchChunk> buffer{};
  for (int i = 0; i < kMaxFetchesPerCall && transport_ && replyAwaited_; ++i) {
    std::size_t got = 0;
    const FetchStatus status = transport_->Fetch(buffer.data(), buffer.size(), got);
    if (status == FetchStatus::kFailed) {
      NoteFailure(LinkFailureText("the link went down while waiting for the answer to request " +
                                  std::to_string(inFlight_)));
      LinkDown();
      return;
    }
    if (status != FetchStatus::kBytes || got == 0) return;
    got = std::min(got, buffer.size());
    parser_.Feed(buffer.data(), got, [this](const Reply& reply) { return DispatchReply(reply); });
  }
}

// --- replies --------------------------------------------------------------------------------

bool Engine::DispatchReply(const Reply& reply) {
  const int code = reply.code;
  if (state_ == ConnState::kIdle) return false;
  if (code == kStatusPoll) DecodeStatus(reply);
  const bool opening = state_ == ConnState::kOpening || state_ == ConnState::kReading;
  // While opening only the answer to the request in flight counts; once connected, a
  // frame nobody waits for (a second one in the same delivery) is dropped.
  if (opening && code != lastRequest_) return true;
  if (!opening && !replyAwaited_) return true;

  const int d0 = reply.dataLength > 0 ? reply.data[0] : 0;
  switch (code) {
    case CodeNumber(C::kRecallPreset):
      Post(msg::Notice{NoticeWord(NoticeCode::kRecallDone)});
      break;
    case CodeNumber(C::kResetAll):
      Post(msg::Notice{NoticeWord(NoticeCode::kResetAllDone)});
      break;
    case CodeNumber(C::kUploadFinishedAlias):
      Post(msg::Notice{NoticeWord(NoticeCode::kUploadFinished)});
      break;
    case CodeNumber(C::kLogoText):
      Post(msg::Notice{NoticeWord(NoticeCode::kLogoSet)});
      break;
    case CodeNumber(C::kLockKey):
      if (!paramSetShown_) {
        Post(msg::UnlockResult{d0});
      } else {
        Post(msg::Notice{NoticeWord(NoticeCode::kLockKey, d0)});
      }
      break;
    case CodeNumber(C::kLockKeyPassword):
      Post(msg::Notice{NoticeWord(NoticeCode::kLockKeyPassword, d0)});
      break;
    case CodeNumber(C::kAdminMode):
      Post(msg::Notice{NoticeWord(NoticeCode::kAdminMode, d0)});
      break;
    case CodeNumber(C::kAdminPassword):
      Post(msg::Notice{NoticeWord(NoticeCode::kAdminPassword, d0)});
      break;
    case CodeNumber(C::kBoostRead):
      OnBoostReply(reply);
      break;
    case CodeNumber(C::kBoostBlock):
      Post(msg::Notice{NoticeWord(NoticeCode::kBoostStored)});
      break;
    case CodeNumber(C::kEchoType):
      OnEchoTypeReply(reply);
      break;
    case CodeNumber(C::kReadStart):
      OnStartReply(reply);
      break;
    case CodeNumber(C::kReadChunk):
      OnChunkReply(reply);
      break;
    case CodeNumber(C::kWriteStart):
      if (uploadActive_) {
        uploadOffset_ = 0;
        Post(msg::Block{CodeNumber(C::kWriteChunk), {}});
      }
      break;
    case CodeNumber(C::kWriteChunk):
      if (uploadActive_)
        Post(msg::Block{uploadOffset_ < kUploadBodySize ? CodeNumber(C::kWriteChunk)
                                                        : CodeNumber(C::kWriteFinish),
                        {}});
      break;
    case CodeNumber(C::kWriteFinish):
      if (uploadActive_) {
        uploadActive_ = false;
        if (!massRunning_) Post(msg::CloseWait{});
        Post(msg::Notice{NoticeWord(NoticeCode::kUploadFinished)});
      }
      break;
    case CodeNumber(C::kRestoreFactory):
      Post(msg::Notice{NoticeWord(NoticeCode::kFactoryRestored)});
      break;
    default:
      break;
  }
  if (state_ == ConnState::kIdle) return false;  // the reply ended the link

  replyAwaited_ = false;
  if (opening && code == kStatusPoll &&
      (reply.dataLength < 2 || reply.data[1] != kRequiredProtocolVersion)) {
    NoteFailure("the processor speaks protocol version " +
                (reply.dataLength < 2 ? std::string("?") : std::to_string(reply.data[1])) +
                "; this program needs version " + std::to_string(kRequiredProtocolVersion));
    ProtocolFailed(TextId::kStatusOpenFailed1);
    Say(TextId::kMsgVersionMismatch, CaptionKind::kSpace);
    return false;  // the rest of this delivery is not parsed
  }
  Post(msg::TransferResult{3});
  return true;
}

void Engine::DecodeStatus(const Reply& reply) {
  const std::uint8_t* d = reply.data;
  if (reply.dataLength > 1) protocolVersion_ = d[1];
  if (reply.dataLength > 3) indicator_[1] = d[3];
  if (reply.dataLength > 2 && d[2] != indicator_[0]) {
    indicator_[0] = d[2];
    observer_.OnIndicators(indicator_[0], indicator_[1]);
  }
  if (reply.dataLength < 4 + kPanelPositionBytes) return;
  PanelPositions raw{};
  std::copy(d + 4, d + 4 + kPanelPositionBytes, raw.begin());
  const PanelPositions previous = panel_.positions;
  DecodePanelPositions(raw, image_, panel_);
  if (paramSetRead_ && paramSetShown_) {
    if (raw != previous) observer_.OnFrontPanel(panel_);
  } else {
    panel_.positions = previous;  // compared only once the pages show the parameter set
  }
}

void Engine::OnTransferResult(int result) {
  if (state_ == ConnState::kConnected) {
    if (result != 3) {
      Status(TextId::kStatusFailed);
      LinkDown();
      return;
    }
    Status(TextId::kStatusOk);
    SendNextPending();
    return;
  }
  if (state_ == ConnState::kOpening) {
    lastRequest_ = kReadStart;
    state_ = ConnState::kReading;
    if (!SendRequest(kReadStart, nullptr, 0)) LinkDown();
    return;
  }
  if (state_ == ConnState::kReading && result == 3) {
    state_ = ConnState::kConnected;
    Status(TextId::kStatusConnected);
    observer_.OnConnectLit(true);
  }
}

}  // namespace tavelo
