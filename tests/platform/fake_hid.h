#pragma once
// A fake HID processor for the USB link's tests: a device that answers like the processor
// (the virtual processor behind it), can fail its reads and writes on cue, and fails the
// test's check when two calls on it overlap; a backend that hands it out; and a fake HID
// library for the open policy (devices in enumeration order, each opening or refusing).
#include <QThread>
#include <algorithm>
#include <atomic>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "core/link/Frame.h"
#include "core/sim/RequestAssembler.h"
#include "core/sim/VirtualProcessor.h"
#include "platform/HidOpenPolicy.h"

namespace tavelo::fakehid {

// What the fake device does and what happened to it; shared with the test.
struct FakeState {
  std::mutex mutex;
  VirtualProcessor processor;
  RequestAssembler assembler;
  std::deque<std::vector<std::uint8_t>> input;  // input reports waiting (data bytes)
  std::vector<std::vector<std::uint8_t>> written;
  bool answer = true;
  bool failWrites = false;
  bool failReads = false;
  bool shortWrites = false;
  int writesBeforeFailure = -1;   // >= 0: this many more writes succeed, then all fail
  int reportsBeforeFailure = -1;  // >= 0: this many more reports are read, then reads fail
  int closed = 0;
  // The HID library forbids two calls on one device at once: count any overlap.
  std::atomic<int> inCall{0};
  std::atomic<int> overlaps{0};
  std::atomic<int> readsArmed{0};  // reads that wait for a report (time-out above 0)
};

// Marks a device call for its duration; a second one at the same time is an overlap.
class CallGuard {
 public:
  explicit CallGuard(FakeState& s) : s_(s) {
    if (s_.inCall.fetch_add(1) != 0) ++s_.overlaps;
  }
  ~CallGuard() { --s_.inCall; }
  CallGuard(const CallGuard&) = delete;
  CallGuard& operator=(const CallGuard&) = delete;

 private:
  FakeState& s_;
};

class FakeDevice : public HidDevice {
 public:
  explicit FakeDevice(std::shared_ptr<FakeState> s, std::string path = "/dev/hidraw7")
      : s_(std::move(s)), path_(std::move(path)) {}
  ~FakeDevice() override {
    std::lock_guard lock(s_->mutex);
    ++s_->closed;
  }
  int Write(const std::uint8_t* report, std::size_t size) override {
    CallGuard call(*s_);
    std::lock_guard lock(s_->mutex);
    if (s_->writesBeforeFailure == 0) return -1;
    if (s_->writesBeforeFailure > 0) --s_->writesBeforeFailure;
    if (s_->failWrites) return -1;
    if (s_->shortWrites) return static_cast<int>(size) - 1;
    s_->written.emplace_back(report, report + size);
    s_->assembler.Feed(report + 1, size - 1, [&](std::uint8_t code, const std::uint8_t* d, int n) {
      SimReply reply = s_->processor.Answer(code, d, n);
      if (!s_->answer) return;
      reply.bytes.resize(kHidDataSize, 0);
      s_->input.push_back(reply.bytes);
    });
    return static_cast<int>(size);
  }
  int Read(std::uint8_t* out, std::size_t size, int timeoutMs) override {
    CallGuard call(*s_);
    if (timeoutMs > 0) ++s_->readsArmed;
    for (int waited = 0;; waited += 5) {
      {
        std::lock_guard lock(s_->mutex);
        if (s_->failReads) return -1;
        if (!s_->input.empty()) {
          if (s_->reportsBeforeFailure == 0) return -1;  // the report is there but lost
          if (s_->reportsBeforeFailure > 0) --s_->reportsBeforeFailure;
          const auto report = s_->input.front();
          s_->input.pop_front();
          const std::size_t n = std::min(size, report.size());
          std::copy_n(report.begin(), n, out);
          return static_cast<int>(n);
        }
      }
      if (waited >= timeoutMs) return 0;
      QThread::msleep(5);
    }
  }
  std::string Path() const override { return path_; }

 private:
  std::shared_ptr<FakeState> s_;
  std::string path_;
};

class FakeBackend : public HidBackend {
 public:
  explicit FakeBackend(std::shared_ptr<FakeState> s, bool present = true)
      : s_(std::move(s)), present_(present) {}
  std::unique_ptr<HidDevice> Open(std::uint16_t vendorId, std::uint16_t productId) override {
    lastVendor = vendorId;
    lastProduct = productId;
    if (!present_ || problem.refusal != OpenRefusal::kNone) return nullptr;
    return std::make_unique<FakeDevice>(s_);
  }
  LinkOpenProblem OpenProblem() const override { return problem; }
  std::uint16_t lastVendor = 0, lastProduct = 0;
  LinkOpenProblem problem;  // a processor is there but cannot be opened

 private:
  std::shared_ptr<FakeState> s_;
  bool present_;
};

// The HID library: attached devices in enumeration order; a device node with an error
// number refuses to open with it, any other opens as a fake device.
class FakeSystem : public HidSystem {
 public:
  explicit FakeSystem(std::shared_ptr<FakeState> s) : s_(std::move(s)) {}
  bool Ready() override { return ready; }
  std::vector<HidDeviceEntry> Enumerate(std::uint16_t, std::uint16_t) override { return attached; }
  std::unique_ptr<HidDevice> OpenPath(const std::string& path, int& errorNumber) override {
    tried.push_back(path);
    const auto refusal = refusing.find(path);
    errorNumber = refusal == refusing.end() ? 0 : refusal->second;
    if (refusal != refusing.end()) return nullptr;
    return std::make_unique<FakeDevice>(s_, path);
  }

  bool ready = true;
  std::vector<HidDeviceEntry> attached;
  std::map<std::string, int> refusing;  // device node -> error number
  std::vector<std::string> tried;       // device nodes opened or tried, in order

 private:
  std::shared_ptr<FakeState> s_;
};

inline HidDeviceEntry Processor(const std::string& path) {
  return {path, kProcessorVendorId, kProcessorProductId};
}

}  // namespace tavelo::fakehid
