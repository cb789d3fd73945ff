#include "platform/HidTransport.h"

#include <strings.h>

#include <QMetaObject>
#include <algorithm>
#include <chrono>

#include "link/Frame.h"
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
  if (!device_) return false;
  {
    std::lock_guard lock(mutex_);
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

void HidTransport::DeviceRemoved(const std::string& path) {
  if (!device_ || strcasecmp(path.c_str(), device_->Path().c_str()) != 0) return;
  {
    std::lock_guard lock(mutex_);
    failed_ = true;
  }
  Wake();
}

// Reports that are already waiting belong to earlier exchanges (a late reply, an
// unsolicited report): they must never be taken for the reply to the next request. Only
// called while the reader is idle, so the device is never read from two threads.
void HidTransport::DiscardWaitingReports() {
  std::uint8_t report[kHidReportSize];
  for (int guard = 0; guard < 64; ++guard) {
    const int n = device_->Read(report, sizeof report, 0);
    if (n == 0) return;
    if (n < 0) {
      std::lock_guard lock(mutex_);
      failed_ = true;
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
    const bool idle = cyclesPending_ == 0 && !reading_;
    lock.unlock();
    if (idle) DiscardWaitingReports();
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
    const int n = device_->Write(report, sizeof report);
    if (n <= 0) {
      ok = false;
      break;
    }
    written += n;
  }
  if (!ok) {
    Close();  // a failed write leaves the link down
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
      n = device_->Read(report, sizeof report,
                        static_cast<int>(std::min<long>(left.count(), kReadSliceMs)));
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
