#pragma once
// In-process transports to a VirtualProcessor, for the demo mode and the engine tests.
// Time comes from an injectable clock so tests advance it by hand; nothing here sleeps
// or starts a thread. Replies become available `latency` ms after the request.
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "core/link/Frame.h"
#include "core/link/Transport.h"
#include "core/sim/RequestAssembler.h"
#include "core/sim/VirtualProcessor.h"

namespace tavelo {

using SimClock = std::function<std::int64_t()>;  // milliseconds, monotonic

// The USB timing class: each request (one or more 65-byte output reports) is answered by
// exactly ONE 64-byte input report. A request with no report within 3000 ms fails the
// link, as the reader thread's time-out does. Unplugging makes Open fail, Send return 0
// and Fetch fail.
class SimHidTransport : public Transport {
 public:
  static constexpr int kReadTimeoutMs = 3000;

  SimHidTransport(VirtualProcessor& processor, SimClock nowMs);

  LinkKind Kind() const override { return LinkKind::kUsb; }
  bool Open() override;
  bool IsConnected() const override { return open_; }
  int Send(const std::uint8_t* frame, int size) override;
  FetchStatus Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) override;
  void Close() override;
  std::string Describe() const override { return "demo (the built-in virtual processor, USB)"; }
  std::string FailureText() const override { return failure_; }

  // Removal and re-insertion of the simulated device.
  void Unplug();
  void Replug();
  bool Plugged() const { return plugged_; }

  // Output reports written so far (65 bytes each, report ID first), for wire checks.
  const std::vector<std::vector<std::uint8_t>>& ReportsWritten() const { return written_; }
  void ClearReportsWritten() { written_.clear(); }

  // Calls the wake-up hook when a reply has become available since the last call;
  // the owner calls it from its event loop (never from inside Send).
  void Poll();
  // When the pending report (or the read time-out) falls due; -1 when nothing is pending.
  std::int64_t NextDueMs() const;

 private:
  VirtualProcessor& processor_;
  SimClock now_;
  RequestAssembler assembler_;
  bool plugged_ = true;
  bool open_ = false;
  bool awaiting_ = false;  // a read cycle is armed
  bool haveReport_ = false;
  bool cutAfterReport_ = false;
  bool woken_ = false;
  std::int64_t sentAt_ = 0;
  std::int64_t readyAt_ = 0;
  std::array<std::uint8_t, kHidDataSize> report_{};
  std::size_t reportPos_ = 0;  // bytes of the report already handed over
  std::vector<std::vector<std::uint8_t>> written_;
  std::string failure_;
};

// The Wi-Fi timing class: a byte stream. IsConnected() turns true `connectDelayMs` after
// Open(); a refused connection never does, and says so at once (ConnectFailed()). When the
// processor drops the connection, the bytes already received are still handed over, then Fetch
// fails.
class SimStreamTransport : public Transport {
 public:
  SimStreamTransport(VirtualProcessor& processor, SimClock nowMs, int connectDelayMs = 0);

  LinkKind Kind() const override { return LinkKind::kWifi; }
  bool Open() override;
  bool IsConnected() const override;
  bool ConnectFailed() const override { return open_ && refuse_; }
  int Send(const std::uint8_t* frame, int size) override;
  FetchStatus Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) override;
  void Close() override;
  std::string Describe() const override { return "the virtual processor's byte stream"; }
  std::string FailureText() const override;

  void SetRefuseConnections(bool refuse) { refuse_ = refuse; }
  void SetConnectDelayMs(int ms) { connectDelayMs_ = ms; }
  // The processor closes the connection now.
  void DropConnection();

  // Every byte sent so far, for wire checks.
  const std::vector<std::uint8_t>& BytesSent() const { return sent_; }
  void ClearBytesSent() { sent_.clear(); }

  void Poll();
  std::int64_t NextDueMs() const;

 private:
  struct Pending {
    std::int64_t readyAt;
    std::vector<std::uint8_t> bytes;
    bool cutLink;
  };
  void Deliver();

  VirtualProcessor& processor_;
  SimClock now_;
  int connectDelayMs_;
  RequestAssembler assembler_;
  bool refuse_ = false;
  bool open_ = false;
  bool dropped_ = false;
  bool woken_ = false;
  std::int64_t openedAt_ = 0;
  std::deque<Pending> pending_;
  std::deque<std::uint8_t> received_;
  std::vector<std::uint8_t> sent_;
};

}  // namespace tavelo
