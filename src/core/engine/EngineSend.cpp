// Block requests on their way to the wire (one request in flight, the rest waiting), the
// 50 ms tick with its time-outs and keep-alive polls, and the reply dispatcher.
#include <algorithm>
#include <optional>

#include "core/engine/Engine.h"
#include "core/engine/StatusDecode.h"
#include "core/link/CommandCode.h"
#include "core/params/UploadSlotByte.h"

namespace tavelo {

using C = CommandCode;

namespace {

constexpr std::uint8_t kStatusPoll = CodeNumber(C::kStatusPoll);
constexpr std::uint8_t kReadStart = CodeNumber(C::kReadStart);

// Codes the engine posts to itself to continue a whole-set transfer. They go out before
// block requests that wait, so a transfer's chunks are never interleaved with edits.
bool IsContinuation(C code) {
  return code == C::kReadChunk || code == C::kWriteChunk || code == C::kWriteFinish;
}

// The notice a reply stands for, when it is one that only tells the panel something.
std::optional<NoticeCode> PlainNotice(C code) {
  switch (code) {
    case C::kRecallPreset:
      return NoticeCode::kRecallDone;
    case C::kResetAll:
      return NoticeCode::kResetAllDone;
    case C::kUploadFinishedAlias:
      return NoticeCode::kUploadFinished;
    case C::kLogoText:
      return NoticeCode::kLogoSet;
    case C::kBoostBlock:
      return NoticeCode::kBoostStored;
    case C::kRestoreFactory:
      return NoticeCode::kFactoryRestored;
    default:
      return std::nullopt;
  }
}

// The notice that carries the reply's result byte.
std::optional<NoticeCode> ResultNotice(C code) {
  switch (code) {
    case C::kLockKeyPassword:
      return NoticeCode::kLockKeyPassword;
    case C::kAdminMode:
      return NoticeCode::kAdminMode;
    case C::kAdminPassword:
      return NoticeCode::kAdminPassword;
    default:
      return std::nullopt;
  }
}

}  // namespace

// --- block requests -------------------------------------------------------------------------

void Engine::OnBlock(const BlockRequest& request) {
  const BlockArg& arg = request.arg;
  if (ClampVolumes(image_, CodeNumber(request.code))) TopBar();
  // What the system page and the toggles record whether or not a processor listens.
  if (request.code == C::kUseInitVolume) useInitVol_ = arg.value != 0;
  if (paramSetShown_ && request.code == C::kLockKey && arg.bufferSize >= 5)
    lockCurrent_ = arg.buffer[4] != 0;
  if (request.code == C::kAdminMode && arg.bufferSize >= 7) adminCurrent_ = arg.buffer[6];

  if (state_ == ConnState::kIdle) {
    link_.Pending().Clear();
    return;
  }
  // The encoder's requests are encoded here once: a refused one goes nowhere, and one that
  // can go out at once sends this very payload.
  std::optional<Payload> encoded;
  if (request.code == C::kWriteStart) {
    if ((arg.value & kSlotByteMask) > kLastPresetSlot) return;
  } else if (request.code != C::kBoostBlock && !IsContinuation(request.code)) {
    Payload payload;
    const EncodeResult result = EncodeBlock(image_, request, payload);
    if (result == EncodeResult::kIgnored) return;
    if (result == EncodeResult::kPayload) encoded = payload;
  }
  if (request.code == C::kRecallPreset) currentPreset_ = arg.value;

  if (IsContinuation(request.code)) {
    if (link_.ReplyAwaited()) {
      link_.Pending().Add(request, /*front=*/true);
    } else {
      SendNow(request);
    }
    return;
  }
  if (encoded && state_ == ConnState::kConnected && !link_.ReplyAwaited() &&
      link_.Pending().Empty()) {
    SendPayload(*encoded, /*encoderPath=*/true);
    return;
  }
  // A request that waits is encoded again when it goes out, from the image as it is then.
  link_.Pending().Add(request);
  SendNextPending();
}

void Engine::SendNextPending() {
  while (state_ == ConnState::kConnected && !link_.ReplyAwaited() && !link_.Pending().Empty()) {
    const auto next = link_.Pending().Take();
    SendNow(*next);
  }
}

void Engine::SendNow(const BlockRequest& request) {
  switch (request.code) {
    case C::kBoostBlock: {
      const Payload boost = BoostBlockPayload(image_);
      if (!link_.Send(boost.code, boost.data.data(), boost.length)) {
        LinkDown();
        return;
      }
      link_.SetReplyTimeout(kBoostStoreTimeout);
      return;
    }
    case C::kReadChunk:
      if (transfer_.Downloading()) SendPayload(transfer_.NextChunkRequest(), true);
      return;
    case C::kWriteStart:
      StartUpload(request.arg.value);
      return;
    case C::kWriteChunk:
      if (transfer_.Uploading()) SendPayload(transfer_.NextUploadChunk(), false);
      return;
    case C::kWriteFinish:
      SendUploadFinish();
      return;
    default:
      break;
  }
  Payload payload;
  if (EncodeBlock(image_, request, payload) != EncodeResult::kPayload) return;
  SendPayload(payload, /*encoderPath=*/true);
}

// --- the tick -------------------------------------------------------------------------------

void Engine::DoTick() {
  switch (state_) {
    case ConnState::kIdle:
      return;
    case ConnState::kOpening:
      TickOpening();
      return;
    case ConnState::kReading:
      if (link_.ReplyAwaited()) FetchIntoParser();
      if (state_ != ConnState::kReading) return;
      if (link_.ReplyTimedOut()) {
        link_.NoteFailure("reading the parameter set: the processor did not answer request " +
                          std::to_string(link_.InFlight()) + " within " + link_.ReplyTimeText());
        ProtocolFailed(TextId::kStatusOpenFailed1);
      }
      return;
    case ConnState::kConnected:
      TickConnected();
      return;
  }
}

void Engine::TickOpening() {
  if (link_.WifiWaiting()) {
    OnWifiWait(link_.WifiTick());
    return;
  }
  if (link_.ReplyAwaited() && link_.ReplyTimeout() > 0) {
    FetchIntoParser();
    if (state_ != ConnState::kOpening || !link_.ReplyAwaited()) return;
    if (link_.ReplyTimedOut()) {
      link_.NoteFailure("the processor did not answer the status poll within " +
                        link_.ReplyTimeText());
      ProtocolFailed(TextId::kStatusOpenFailed0);
    }
  }
}

void Engine::TickConnected() {
  if (link_.ReplyTimedOut()) {
    link_.ReplyArrived();
    link_.NoteFailure("the processor did not answer request " + std::to_string(link_.InFlight()) +
                      " in time");
    Post(msg::TransferResult{1});
    // Nothing more goes out until the time-out has taken the link down: the request may
    // still be answered, and a USB read for it may still be under way.
    return;
  }
  if (link_.ReplyAwaited()) {
    FetchIntoParser();
    if (link_.ReplyAwaited() || state_ != ConnState::kConnected) return;
  }
  if (!link_.Pending().Empty()) {
    SendNextPending();
    return;
  }
  if (link_.KeepAliveDue()) {
    link_.SetAwaitedCode(kStatusPoll);
    if (!SendRequest(kStatusPoll)) LinkDown();
  }
}

void Engine::DoBytesArrived() {
  if (!link_.HasTransport()) return;
  if (link_.WifiWaiting()) {
    OnWifiWait(link_.WifiPoll());
    return;
  }
  // Bytes that nobody waits for stay in the transport.
  if (state_ == ConnState::kIdle || !link_.ReplyAwaited()) return;
  FetchIntoParser();
}

void Engine::FetchIntoParser() {
  const auto result =
      link_.FetchReplies([this](const Reply& reply) { return DispatchReply(reply); });
  if (result == LinkSession::FetchResult::kFailed) LinkDown();
}

// --- replies --------------------------------------------------------------------------------

bool Engine::DispatchReply(const Reply& reply) {
  const auto code = static_cast<C>(reply.code);
  if (state_ == ConnState::kIdle) return false;
  if (reply.code == kStatusPoll) DecodeStatus(reply);
  const bool opening = state_ == ConnState::kOpening || state_ == ConnState::kReading;
  // While opening only the answer to the request in flight counts; once connected, a
  // frame nobody waits for (a second one in the same delivery) is dropped.
  if (opening && reply.code != link_.AwaitedCode()) return true;
  if (!opening && !link_.ReplyAwaited()) return true;

  const int d0 = reply.dataLength > 0 ? reply.data[0] : 0;
  if (const auto notice = PlainNotice(code)) {
    Post(msg::Notice{NoticeWord(*notice)});
  } else if (const auto withResult = ResultNotice(code)) {
    Post(msg::Notice{NoticeWord(*withResult, d0)});
  } else if (code == C::kLockKey) {
    if (!paramSetShown_) {
      Post(msg::UnlockResult{d0});
    } else {
      Post(msg::Notice{NoticeWord(NoticeCode::kLockKey, d0)});
    }
  } else if (code == C::kBoostRead) {
    OnBoostReply(reply);
  } else if (code == C::kEchoType) {
    OnEchoTypeReply(reply);
  } else if (code == C::kReadStart) {
    OnStartReply(reply);
  } else if (code == C::kReadChunk) {
    OnChunkReply(reply);
  } else {
    OnUploadReply(reply.code);
  }
  if (state_ == ConnState::kIdle) return false;  // the reply ended the link

  link_.ReplyArrived();
  if (opening && reply.code == kStatusPoll && !CheckProtocolVersion(reply)) return false;
  Post(msg::TransferResult{3});
  return true;
}

void Engine::OnUploadReply(std::uint8_t code) {
  if (!transfer_.Uploading()) return;
  switch (static_cast<C>(code)) {
    case C::kWriteStart:
      transfer_.RewindUpload();
      Post(msg::Block{C::kWriteChunk, {}});
      return;
    case C::kWriteChunk:
      Post(msg::Block{transfer_.BodySent() ? C::kWriteFinish : C::kWriteChunk, {}});
      return;
    case C::kWriteFinish:
      transfer_.UploadConfirmed();
      if (!mass_.Running()) Post(msg::CloseWait{});
      Post(msg::Notice{NoticeWord(NoticeCode::kUploadFinished)});
      return;
    default:
      return;
  }
}

// A processor that speaks another protocol version is refused; the rest of this delivery
// is not parsed.
bool Engine::CheckProtocolVersion(const Reply& reply) {
  if (reply.dataLength >= 2 && reply.data[1] == kRequiredProtocolVersion) return true;
  link_.NoteFailure("the processor speaks protocol version " +
                    (reply.dataLength < 2 ? std::string("?") : std::to_string(reply.data[1])) +
                    "; this program needs version " + std::to_string(kRequiredProtocolVersion));
  ProtocolFailed(TextId::kStatusOpenFailed1);
  Say(TextId::kMsgVersionMismatch, CaptionKind::kSpace);
  return false;
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
    link_.SetAwaitedCode(kReadStart);
    state_ = ConnState::kReading;
    if (!SendRequest(kReadStart)) LinkDown();
    return;
  }
  if (state_ == ConnState::kReading && result == 3) {
    state_ = ConnState::kConnected;
    Status(TextId::kStatusConnected);
    observer_.OnConnectLit(true);
  }
}

}  // namespace tavelo
