#include "core/engine/LinkSession.h"

#include <algorithm>
#include <array>

#include "core/link/Frame.h"

namespace tavelo {

namespace {

// Bytes handed to the parser per call; the rest waits in the transport.
constexpr std::size_t kFetchChunk = 2048;
constexpr int kMaxFetchesPerCall = 16;

}  // namespace

bool LinkSession::Begin(std::unique_ptr<Transport> transport) {
  transport_ = std::move(transport);
  if (!transport_) return false;
  kind_ = transport_->Kind();
  return true;
}

bool LinkSession::Open() {
  if (!transport_ || !transport_->Open()) return false;
  open_ = true;
  return true;
}

bool LinkSession::Close() {
  Release();
  wifiConnecting_ = false;
  pending_.Clear();
  replyAwaited_ = false;
  const bool wasOpen = open_;
  open_ = false;
  return wasOpen;
}

void LinkSession::Release() {
  if (!transport_) return;
  transport_->Close();
  transport_.reset();
}

const LinkTimings& LinkSession::Timings() const {
  return kind_ == LinkKind::kWifi ? kWifiTimings : kUsbTimings;
}

// --- the Wi-Fi connect wait -----------------------------------------------------------------

void LinkSession::StartWifiWait() {
  wifiConnecting_ = true;
  wifiTicks_ = 0;
  wifiAttempts_ = 0;
}

LinkSession::WifiWait LinkSession::WifiPoll() {
  if (TransportConnected()) {
    wifiConnecting_ = false;
    return WifiWait::kConnected;
  }
  if (transport_ && transport_->ConnectFailed()) {
    wifiConnecting_ = false;
    const std::string why = transport_->FailureText();
    NoteFailure(why.empty() ? "no connection to " + transport_->Describe() : why);
    return WifiWait::kGaveUp;
  }
  return WifiWait::kWaiting;
}

LinkSession::WifiWait LinkSession::WifiTick() {
  // A transport that does not wake us when it connects is noticed within a tick.
  if (const WifiWait news = WifiPoll(); news != WifiWait::kWaiting) return news;
  if (++wifiTicks_ % kWifiConnectTimerTicks == 0) return WifiTimer();
  return WifiWait::kWaiting;
}

LinkSession::WifiWait LinkSession::WifiTimer() {
  if (const WifiWait news = WifiPoll(); news != WifiWait::kWaiting) return news;
  if (++wifiAttempts_ < kWifiConnectAttempts) return WifiWait::kWaiting;
  wifiConnecting_ = false;
  NoteFailure(FailureText("no connection to " + transport_->Describe() + " within " +
                          std::to_string(kWifiConnectAttempts) + " s"));
  return WifiWait::kGaveUp;
}

// --- requests -------------------------------------------------------------------------------

bool LinkSession::Send(std::uint8_t code, const std::uint8_t* data, int length, Idle idle) {
  if (!transport_) return false;
  inFlight_ = code;
  RequestFrame frame;
  if (BuildRequest(code, data, length, frame) == 0) return false;
  std::array<std::uint8_t, kFetchChunk> stale{};
  for (int i = 0; i < kMaxFetchesPerCall; ++i) {
    std::size_t got = 0;
    if (transport_->Fetch(stale.data(), stale.size(), got) != FetchStatus::kBytes || got == 0) {
      break;
    }
  }
  const LinkTimings& timings = Timings();
  // A stopped countdown starts again whatever the request.
  if (idle == Idle::kRestart || keepAlive_ == 0) keepAlive_ = timings.keepAlive;
  if (kind_ == LinkKind::kUsb) {
    if (transport_->Send(frame.bytes.data(), frame.size) <= 0) {
      NoteFailure(FailureText("the link went down: request " + std::to_string(code) +
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

bool LinkSession::ReplyTimedOut() {
  return replyAwaited_ && replyTimeout_ > 0 && --replyTimeout_ == 0;
}

bool LinkSession::KeepAliveDue() {
  return keepAlive_ > 0 && --keepAlive_ == 0;
}

// --- replies --------------------------------------------------------------------------------

LinkSession::FetchResult LinkSession::FetchReplies(
    const std::function<bool(const Reply&)>& onReply) {
  std::array<std::uint8_t, kFetchChunk> buffer{};
  for (int i = 0; i < kMaxFetchesPerCall && transport_ && replyAwaited_; ++i) {
    std::size_t got = 0;
    const FetchStatus status = transport_->Fetch(buffer.data(), buffer.size(), got);
    if (status == FetchStatus::kFailed) {
      NoteFailure(FailureText("the link went down while waiting for the answer to request " +
                              std::to_string(inFlight_)));
      return FetchResult::kFailed;
    }
    if (status != FetchStatus::kBytes || got == 0) break;
    got = std::min(got, buffer.size());
    parser_.Feed(buffer.data(), got, onReply);
  }
  return FetchResult::kDone;
}

// --- why it failed --------------------------------------------------------------------------

void LinkSession::NoteFailure(const std::string& detail) {
  if (failureDetail_.empty()) failureDetail_ = detail;
}

std::string LinkSession::FailureText(const std::string& fallback) const {
  const std::string why = transport_ ? transport_->FailureText() : std::string();
  return why.empty() ? fallback : fallback + " (" + why + ")";
}

std::string LinkSession::ReplyTimeText() const {
  constexpr int kTickMs = 50;
  const int ms = Timings().replyTimeout * kTickMs;
  std::string text = std::to_string(ms / 1000);
  if (ms % 1000 != 0) text += "." + std::to_string(ms % 1000 / 100);
  return text + " s";
}

}  // namespace tavelo
