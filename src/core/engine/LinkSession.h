#pragma once
// One link to a processor: the transport, the reply parser, the one request in flight with
// its time-out, the block requests waiting behind it, the keep-alive countdown and the
// Wi-Fi connect wait. It moves bytes and counts ticks; what a reply or a time-out means is
// the engine's business, and nothing here talks to an observer.
//
// Contract:
//   - Begin() takes a new transport; Close() releases it and forgets every request. Both
//     are safe to call in any order and more than once.
//   - Send() puts one request on the wire: stale bytes are drained first (a late reply to
//     an earlier request is never taken for this one's), the reply time-out and the
//     keep-alive countdown restart, the parser is reset. False when nothing went out.
//   - FetchReplies() hands complete replies to the caller while a reply is awaited; the
//     caller returns false to stop parsing the rest of the delivery.
//   - The first failure noted is kept (NoteFailure); later consequences do not replace it.
//   - Everything runs on the engine's thread.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "core/engine/PendingRequests.h"
#include "core/link/ReplyParser.h"
#include "core/link/Transport.h"

namespace tavelo {

// Tick counts of the link protocol (one tick is 50 ms).
struct LinkTimings {
  int replyTimeout;  // ticks before an unanswered request fails
  int keepAlive;     // idle ticks before a status poll
};
inline constexpr LinkTimings kUsbTimings{100, 50};
inline constexpr LinkTimings kWifiTimings{130, 55};
inline constexpr int kWifiConnectTimerTicks = 20;  // the 1 s connect timer
inline constexpr int kWifiConnectAttempts = 4;
inline constexpr int kBoostStoreTimeout = 50;

class LinkSession {
 public:
  enum class FetchResult {
    kDone,    // everything waiting was parsed, or nothing is awaited
    kFailed,  // the transport reported the link down (the failure is noted)
  };
  enum class WifiWait {
    kWaiting,    // still connecting
    kConnected,  // the connection stands: the first request may go out
    kGaveUp,     // the connect timer ran out (the failure is noted)
  };

  // --- lifecycle -----------------------------------------------------------------------
  // Takes the transport made for this Connect; false when there is none.
  bool Begin(std::unique_ptr<Transport> transport);
  // Opens the transport (USB: the device; Wi-Fi: starts connecting).
  bool Open();
  // Releases the transport, drops the waiting requests and the awaited reply. Returns true
  // when the link had been opened (the caller then forgets what the link reported).
  bool Close();
  // Releases the transport only.
  void Release();
  bool Opened() const { return open_; }
  bool HasTransport() const { return transport_ != nullptr; }
  Transport* transport() const { return transport_.get(); }
  LinkKind Kind() const { return kind_; }
  const LinkTimings& Timings() const;

  // --- the Wi-Fi connect wait ----------------------------------------------------------
  void StartWifiWait();
  bool WifiWaiting() const { return wifiConnecting_; }
  void StopWifiWait() { wifiConnecting_ = false; }
  // The transport's news while connecting: connected, failed for good (the transport's
  // reason is noted) or still waiting. Counts nothing.
  WifiWait WifiPoll();
  // One tick while connecting: polls the transport, fires the connect timer every second.
  WifiWait WifiTick();
  // The connect timer fired (or the transport woke us): connected, waiting or given up.
  WifiWait WifiTimer();
  bool TransportConnected() const { return transport_ && transport_->IsConnected(); }

  // --- requests ------------------------------------------------------------------------
  // Whether a request counts as activity: the keep-alive poll is due after so many idle ticks
  // since the last request that did.
  enum class Idle { kRestart, kKeep };
  bool Send(std::uint8_t code, const std::uint8_t* data, int length, Idle idle = Idle::kRestart);
  // Remembers the request whose reply opens the link (only its reply counts meanwhile).
  void SetAwaitedCode(std::uint8_t code) { lastRequest_ = code; }
  std::uint8_t AwaitedCode() const { return lastRequest_; }
  std::uint8_t InFlight() const { return inFlight_; }
  bool ReplyAwaited() const { return replyAwaited_; }
  void ReplyArrived() { replyAwaited_ = false; }
  int ReplyTimeout() const { return replyTimeout_; }
  void SetReplyTimeout(int ticks) { replyTimeout_ = ticks; }
  // Counts one tick of the awaited reply's time-out; true on the tick it runs out.
  bool ReplyTimedOut();
  // Counts one idle tick; true when a keep-alive poll is due.
  bool KeepAliveDue();
  int KeepAliveCountdown() const { return keepAlive_; }
  void StopKeepAlive() { keepAlive_ = 0; }
  PendingRequests& Pending() { return pending_; }
  const PendingRequests& Pending() const { return pending_; }

  // --- replies -------------------------------------------------------------------------
  FetchResult FetchReplies(const std::function<bool(const Reply&)>& onReply);

  // --- why it failed -------------------------------------------------------------------
  void NoteFailure(const std::string& detail);
  void ClearFailure() { failureDetail_.clear(); }
  const std::string& FailureDetail() const { return failureDetail_; }
  // `fallback`, with the transport's own reason in brackets when it has one.
  std::string FailureText(const std::string& fallback) const;
  // The reply time-out in seconds, for messages ("5 s", "6.5 s").
  std::string ReplyTimeText() const;

 private:
  std::unique_ptr<Transport> transport_;
  LinkKind kind_ = LinkKind::kUsb;
  bool open_ = false;
  bool wifiConnecting_ = false;
  int wifiTicks_ = 0;     // 50 ms ticks since the Wi-Fi connect began
  int wifiAttempts_ = 0;  // connect timer firings without a connection
  bool replyAwaited_ = false;
  int replyTimeout_ = 0;
  int keepAlive_ = 0;
  std::uint8_t lastRequest_ = 0;
  std::uint8_t inFlight_ = 0;  // code of the request last sent
  std::string failureDetail_;
  PendingRequests pending_;
  ReplyParser parser_;
};

}  // namespace tavelo
