#include "platform/HidTransport.h"

#include <strings.h>

#include <QMetaObject>
#include <algorithm>
#include <chrono>

#include "core/link/Frame.h"
#include "platform/HidRemovalWatch.h"

namespace tavelo {
namespace {

// The reader waits for a report in short slices so that closing the link never waits for
// a whole read time-out.
constexpr int kReadSliceMs = 100;

}  // namespace

HidTransport::HidTransport(std::unique_ptr<HidBackend> backend, QObject* parent)
    : QObject(parent), backend_(std::move(backend)) {}

HidTransport::~HidTransport() {
  Close();
}

bool HidTransport::Open() {
  if (device_ || !backend_) return false;
  device_ = backend_->Open(kProcessorVendorId, kProcessorProductId);
  if (!device_) {
    std::lock_guard lock(mutex_);
    openProblem_ = backend_->OpenProblem();
    failure_ = OpenProblemSummary(openProblem_);
    return false;
  }
  {
    std::lock_guard lock(mutex_);
    openProblem_ = {};
    failure_.clear();
    stop_ = false;
    cyclesPending_ = 0;
    reading_ = false;
    failed_ = false;
    staged_.clear();
  }
  reader_ = std::thread(&HidTransport::ReaderLoop, this);
  removalWatch_ =
      std::make_unique<HidRemovalWatch>([this](const std::string& path) { DeviceRemoved(path); });
  return true;
}

bool HidTransport::IsConnected() const {
  std::lock_guard lock(mutex_);
  return device_ != nullptr && !failed_;
}

void HidTransport::Close() {
  if (!device_) return;
  {
    std::lock_guard lock(mutex_);
    stop_ = true;
  }
  wake_.notify_all();
  if (reader_.joinable()) reader_.join();
  removalWatch_.reset();
  device_.reset();  // releases the handles
  std::lock_guard lock(mutex_);
  cyclesPending_ = 0;
  reading_ = false;
  failed_ = false;
  staged_.clear();
}

std::string HidTransport::Describe() const {
  return "USB (" + ProcessorIdText() + ")";
}

std::string HidTransport::FailureText() const {
  std::lock_guard lock(mutex_);
  return failure_;
}

LinkOpenProblem HidTransport::OpenProblem() const {
  std::lock_guard lock(mutex_);
  return openProblem_;
}

void HidTransport::DeviceRemoved(const std::string& path) {
  if (!device_ || strcasecmp(path.c_str(), device_->Path().c_str()) != 0) return;
  {
    std::lock_guard lock(mutex_);
    failed_ = true;
    failure_ = "the processor was unplugged";
  }
  Wake();
}

// Reports that are already waiting belong to earlier exchanges (a late reply, an
// unsolicited report): they must never be taken for the reply to the next request. Only
// called while the reader is idle, so the device is never read from two threads.
void HidTransport::DiscardWaitingReports() {
  std::uint8_t report[kHidReportSize];
  for (int guard = 0; guard < 64; ++guard) {
    int n;
    {
      std::lock_guard device(deviceMutex_);
      n = device_->Read(report, sizeof report, 0);
    }
    if (n == 0) return;
    if (n < 0) {
      std::lock_guard lock(mutex_);
      failed_ = true;
      failure_ = "reading from the processor failed (was it unplugged?)";
      return;
    }
  }
}

int HidTransport::Send(const std::uint8_t* frame, int size) {
  if (!device_ || size <= 0 || size > kTxBufferSize) return 0;
  {
    std::unique_lock lock(mutex_);
    if (failed_) {
      lock.unlock();
      Close();
      return 0;
    }
    // One request at a time: while the last one's report is still awaited (its reply timed
    // out at the engine, but the reader still waits), nothing is written.
    if (cyclesPending_ > 0 || reading_) {
      failure_ = "a request was sent while the previous one was still unanswered";
      return 0;
    }
    lock.unlock();
    DiscardWaitingReports();
  }
  RequestFrame request;
  std::copy_n(frame, size, request.bytes.begin());
  request.size = size;
  int written = 0;
  bool ok = IsConnected();  // a discard that failed has taken the link down
  const int reports = HidReportCount(request);
  for (int k = 0; ok && k < reports; ++k) {
    std::uint8_t report[kHidReportSize];
    CutHidReport(request, k, report);
    int n;
    {
      std::lock_guard device(deviceMutex_);
      n = device_->Write(report, sizeof report);
    }
    // A short write lost part of the request: as good as none.
    if (n != static_cast<int>(sizeof report)) {
      ok = false;
      break;
    }
    written += n;
  }
  if (!ok) {
    Close();  // a failed write leaves the link down
    std::lock_guard lock(mutex_);
    if (failure_.empty()) failure_ = "writing to the processor failed (was it unplugged?)";
    return 0;
  }
  {
    std::lock_guard lock(mutex_);
    if (cyclesPending_ == 0 && !reading_) staged_.clear();
    ++cyclesPending_;
  }
  wake_.notify_all();
  return written;
}

FetchStatus HidTransport::Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) {
  got = 0;
  if (!device_) return FetchStatus::kFailed;
  std::unique_lock lock(mutex_);
  if (!staged_.empty()) {
    got = std::min(capacity, staged_.size());
    std::copy_n(staged_.begin(), got, out);
    staged_.erase(staged_.begin(), staged_.begin() + static_cast<std::ptrdiff_t>(got));
    return FetchStatus::kBytes;
  }
  if (failed_) {
    lock.unlock();
    Close();
    return FetchStatus::kFailed;
  }
  return FetchStatus::kNothing;
}

void HidTransport::ReaderLoop() {
  using Clock = std::chrono::steady_clock;
  std::uint8_t report[kHidReportSize];
  std::unique_lock lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stop_ || (cyclesPending_ > 0 && !failed_); });
    if (stop_) return;
    reading_ = true;
    const int timeoutMs = readTimeoutMs_;
    lock.unlock();

    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    int n = 0;
    for (;;) {
      const auto left =
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
      if (left.count() <= 0) break;
      {
        std::lock_guard device(deviceMutex_);
        n = device_->Read(report, sizeof report,
                          static_cast<int>(std::min<long>(left.count(), kReadSliceMs)));
      }
      if (n != 0) break;
      std::lock_guard stopCheck(mutex_);
      if (stop_) break;
    }

    lock.lock();
    reading_ = false;
    if (stop_) return;
    --cyclesPending_;
    if (n > 0) {
      staged_.insert(staged_.end(), report, report + n);
    } else {
      failed_ = true;  // no report in time, or the read failed: the link is down
      failure_ = n == 0 ? "no answer from the processor within " +
                              std::to_string(timeoutMs / 1000.0).substr(0, 3) + " s"
                        : "reading from the processor failed (was it unplugged?)";
      cyclesPending_ = 0;
    }
    lock.unlock();
    PostWake();
    lock.lock();
  }
}

void HidTransport::PostWake() {
  // The wake-up hook belongs to the owner's thread.
  QMetaObject::invokeMethod(
      this, [this] { Wake(); }, Qt::QueuedConnection);
}

}  // namespace tavelo
