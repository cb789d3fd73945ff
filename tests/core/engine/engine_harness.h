#pragma once
// An engine wired to the in-process virtual processor with a manual clock, a recorder of
// every observer call, and a log of the request frames that went out on the wire.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/engine/Engine.h"
#include "core/sim/RequestAssembler.h"
#include "core/sim/SimTransport.h"
#include "core/sim/VirtualProcessor.h"

namespace tavelo::test {

// One request as the processor received it.
struct WireRequest {
  int code = 0;
  std::vector<std::uint8_t> data;  // N - 1 bytes
  int N() const { return static_cast<int>(data.size()) + 1; }
};

class Recorder : public EngineObserver {
 public:
  std::vector<std::string> events;
  std::vector<std::string> statuses;
  std::vector<UserMessage> messages;
  std::vector<MassUploadReport> massProgress;
  int distributions = 0;
  int waitOpens = 0;
  int waitCloses = 0;
  int unlockOpens = 0;
  int unlockCloses = 0;
  int frontPanelChanges = 0;
  int echoReloads = 0;
  bool lit = false;
  bool linkChoiceEnabled = true;
  TopBarValues topBar{};
  bool locked = false;
  int admin = -1;

  void OnStatus(TextId, const std::string& text) override {
    statuses.push_back(text);
    events.push_back("status:" + text);
  }
  void OnConnectLit(bool on) override { lit = on; }
  void OnLinkChoiceEnabled(bool enabled) override { linkChoiceEnabled = enabled; }
  void OnMessage(const UserMessage& m) override {
    messages.push_back(m);
    events.push_back("message:" + m.text);
  }
  void OnWaitOpen(WaitKind) override {
    ++waitOpens;
    events.push_back("wait:open");
  }
  void OnWaitClose() override {
    ++waitCloses;
    events.push_back("wait:close");
  }
  void OnUnlockOpen() override {
    ++unlockOpens;
    events.push_back("unlock:open");
  }
  void OnUnlockClose() override {
    ++unlockCloses;
    events.push_back("unlock:close");
  }
  void OnDistribute() override {
    ++distributions;
    events.push_back("distribute");
  }
  void OnTopBar(const TopBarValues& v) override { topBar = v; }
  void OnFrontPanel(const FrontPanel&) override { ++frontPanelChanges; }
  void OnEchoTypeReloaded() override { ++echoReloads; }
  void OnMassUploadProgress(const MassUploadReport& r) override { massProgress.push_back(r); }
  void OnLockAdmin(bool l, int a) override {
    locked = l;
    admin = a;
  }

  std::string LastStatus() const { return statuses.empty() ? "" : statuses.back(); }
  std::string LastMessage() const { return messages.empty() ? "" : messages.back().text; }
};

// Forwards to a simulated transport and keeps every request frame sent through it, so
// the log outlives the transport (the engine releases it at link down).
class RecordingTransport : public Transport {
 public:
  RecordingTransport(std::unique_ptr<Transport> inner, std::vector<WireRequest>& log,
                     std::function<void()> onGone)
      : inner_(std::move(inner)), log_(log), onGone_(std::move(onGone)) {}
  ~RecordingTransport() override {
    if (onGone_) onGone_();
  }
  RecordingTransport(const RecordingTransport&) = delete;
  RecordingTransport& operator=(const RecordingTransport&) = delete;
  LinkKind Kind() const override { return inner_->Kind(); }
  bool Open() override { return inner_->Open(); }
  bool IsConnected() const override { return inner_->IsConnected(); }
  bool ConnectFailed() const override { return inner_->ConnectFailed(); }
  int Send(const std::uint8_t* frame, int size) override {
    const int written = inner_->Send(frame, size);
    if (written > 0) {
      assembler_.Feed(frame, static_cast<std::size_t>(size),
                      [&](std::uint8_t code, const std::uint8_t* data, int length) {
                        log_.push_back({code, std::vector<std::uint8_t>(data, data + length)});
                      });
    }
    return written;
  }
  FetchStatus Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) override {
    return inner_->Fetch(out, capacity, got);
  }
  void Close() override { inner_->Close(); }
  std::string Describe() const override { return inner_->Describe(); }
  std::string FailureText() const override { return inner_->FailureText(); }
  Transport& Inner() { return *inner_; }

 private:
  std::unique_ptr<Transport> inner_;
  std::vector<WireRequest>& log_;
  std::function<void()> onGone_;
  RequestAssembler assembler_;
};

enum class Link { kHid, kStream };

class EngineHarness {
 public:
  std::int64_t nowMs = 0;
  VirtualProcessor processor;
  Recorder recorder;
  Engine engine{recorder};
  std::vector<WireRequest> wire;
  Link link = Link::kHid;
  int connectDelayMs = 0;
  bool refuseConnections = false;
  bool failOpen = false;
  SimHidTransport* hid = nullptr;        // valid while the engine holds the transport
  SimStreamTransport* stream = nullptr;  // likewise
  bool useWakeup = true;                 // wake the engine as bytes arrive (else only ticks fetch)

  explicit EngineHarness(Link kind = Link::kHid) : link(kind) {
    engine.SetParamDir(std::filesystem::path("/nonexistent-tavelo-dir"));
    engine.SetTransportFactory([this]() -> std::unique_ptr<Transport> {
      auto clock = [this] { return nowMs; };
      std::unique_ptr<Transport> inner;
      hid = nullptr;
      stream = nullptr;
      if (link == Link::kHid) {
        auto t = std::make_unique<SimHidTransport>(processor, clock);
        if (failOpen) t->Unplug();
        hid = t.get();
        inner = std::move(t);
      } else {
        auto t = std::make_unique<SimStreamTransport>(processor, clock, connectDelayMs);
        t->SetRefuseConnections(refuseConnections);
        stream = t.get();
        inner = std::move(t);
      }
      inner->SetWakeup([this] {
        if (useWakeup) engine.BytesArrived();
      });
      return std::make_unique<RecordingTransport>(std::move(inner), wire, [this] {
        hid = nullptr;
        stream = nullptr;
      });
    });
  }

  // Lets the simulated transport notice due replies (which wakes the engine).
  void Poll() {
    if (hid) hid->Poll();
    if (stream) stream->Poll();
  }

  // One 50 ms tick: time advances, arrived replies are noticed, the engine ticks.
  void Step() {
    nowMs += 50;
    Poll();
    engine.Tick();
  }
  void Steps(int n) {
    for (int i = 0; i < n; ++i) Step();
  }
  // Ticks until `done` holds; false when it does not within `limit` ticks.
  template <typename Pred>
  bool StepUntil(Pred done, int limit = 400) {
    for (int i = 0; i < limit; ++i) {
      if (done()) return true;
      Step();
    }
    return done();
  }

  void Connect() { engine.Post(msg::Connect{}); }
  // Connects and waits until the whole parameter set has been read and shown.
  bool ConnectAndRead() {
    Connect();
    return StepUntil(
        [&] { return engine.Connected() && engine.ParamSetRead() && !engine.ReplyAwaited(); });
  }
  // Waits until nothing is in flight and nothing waits.
  bool Settle(int limit = 400) {
    return StepUntil([&] { return !engine.ReplyAwaited() && engine.Pending().Empty(); }, limit);
  }

  std::vector<int> Codes(std::size_t from = 0) const {
    std::vector<int> codes;
    for (std::size_t i = from; i < wire.size(); ++i) codes.push_back(wire[i].code);
    return codes;
  }
  std::vector<WireRequest> WithCode(int code, std::size_t from = 0) const {
    std::vector<WireRequest> out;
    for (std::size_t i = from; i < wire.size(); ++i) {
      if (wire[i].code == code) out.push_back(wire[i]);
    }
    return out;
  }

  // Every failure ends like this: Idle, button unlit, link choice enabled, no wait dialog.
  void ExpectEndedIdle() const {
    EXPECT_EQ(engine.State(), ConnState::kIdle);
    EXPECT_FALSE(engine.ReplyAwaited());
    EXPECT_FALSE(engine.WaitOpen());
    EXPECT_FALSE(recorder.lit);
    EXPECT_TRUE(recorder.linkChoiceEnabled);
  }
};

inline int Le16(const std::vector<std::uint8_t>& d, std::size_t at) {
  return d[at] | d[at + 1] << 8;
}

}  // namespace tavelo::test
