#include "core/sim/SimTransport.h"

#include <algorithm>
#include <utility>

namespace tavelo {

// --- simulated HID exchange -------------------------------------------------------------

SimHidTransport::SimHidTransport(VirtualProcessor& processor, SimClock nowMs)
    : processor_(processor), now_(std::move(nowMs)) {}

bool SimHidTransport::Open() {
  if (!plugged_ || open_) return false;
  failure_.clear();
  open_ = true;
  awaiting_ = false;
  haveReport_ = false;
  assembler_.Reset();
  return true;
}

void SimHidTransport::Close() {
  open_ = false;
  awaiting_ = false;
  haveReport_ = false;
}

void SimHidTransport::Unplug() {
  plugged_ = false;
}

void SimHidTransport::Replug() {
  plugged_ = true;
  processor_.RestoreLink();
}

int SimHidTransport::Send(const std::uint8_t* frame, int size) {
  if (!open_) return 0;
  if (!plugged_ || size <= 0 || size > kTxBufferSize) {
    if (!plugged_) {
      Close();  // a failed write leaves the transport closed
      failure_ = "the processor was unplugged";
    }
    return 0;
  }
  RequestFrame request;
  std::copy_n(frame, size, request.bytes.begin());
  request.size = size;
  // A report still waiting from an earlier exchange is never taken for this reply.
  haveReport_ = false;
  reportPos_ = 0;
  cutAfterReport_ = false;
  bool answered = false;
  const int reports = HidReportCount(request);
  for (int k = 0; k < reports; ++k) {
    std::uint8_t report[kHidReportSize];
    CutHidReport(request, k, report);
    written_.emplace_back(report, report + kHidReportSize);
    assembler_.Feed(
        report + 1, kHidDataSize, [&](std::uint8_t code, const std::uint8_t* data, int length) {
          SimReply reply = processor_.Answer(code, data, length);
          if (answered) return;  // one input report per request
          answered = true;
          if (reply.bytes.empty()) {
            if (reply.cutLink) plugged_ = false;
            return;
          }
          // Exactly one 64-byte report: a longer reply is cut off here.
          report_.fill(0);
          std::copy_n(reply.bytes.begin(), std::min<std::size_t>(reply.bytes.size(), kHidDataSize),
                      report_.begin());
          haveReport_ = true;
          cutAfterReport_ = reply.cutLink;
          readyAt_ = now_() + reply.latencyMs;
        });
  }
  awaiting_ = true;
  woken_ = false;
  sentAt_ = now_();
  return reports * kHidReportSize;
}

FetchStatus SimHidTransport::Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) {
  got = 0;
  woken_ = false;
  if (!open_) return FetchStatus::kFailed;
  if (!plugged_) {
    Close();
    failure_ = "the processor was unplugged";
    return FetchStatus::kFailed;
  }
  if (!awaiting_) return FetchStatus::kNothing;
  const std::int64_t now = now_();
  const bool inTime = haveReport_ && readyAt_ - sentAt_ < kReadTimeoutMs;
  if (inTime && now >= readyAt_) {
    got = std::min(capacity, report_.size() - reportPos_);
    std::copy_n(report_.begin() + static_cast<std::ptrdiff_t>(reportPos_), got, out);
    reportPos_ += got;
    if (reportPos_ == report_.size()) {
      awaiting_ = false;
      haveReport_ = false;
      if (cutAfterReport_) plugged_ = false;
    }
    return FetchStatus::kBytes;
  }
  if (now - sentAt_ >= kReadTimeoutMs) {
    // The reader's 3 s wait for the report ran out: the link is down.
    Close();
    failure_ = "no answer from the processor within 3 s";
    return FetchStatus::kFailed;
  }
  return FetchStatus::kNothing;
}

std::int64_t SimHidTransport::NextDueMs() const {
  if (!open_) return -1;
  if (!plugged_) return now_();
  if (!awaiting_) return -1;
  if (haveReport_ && readyAt_ - sentAt_ < kReadTimeoutMs) return readyAt_;
  return sentAt_ + kReadTimeoutMs;
}

void SimHidTransport::Poll() {
  const std::int64_t due = NextDueMs();
  if (due >= 0 && due <= now_() && !woken_) {
    woken_ = true;
    Wake();
  }
}

// --- simulated byte stream ----------------------------------------------------------------

SimStreamTransport::SimStreamTransport(VirtualProcessor& processor, SimClock nowMs,
                                       int connectDelayMs)
    : processor_(processor), now_(std::move(nowMs)), connectDelayMs_(connectDelayMs) {}

bool SimStreamTransport::Open() {
  open_ = true;
  dropped_ = false;
  woken_ = false;
  openedAt_ = now_();
  pending_.clear();
  received_.clear();
  assembler_.Reset();
  return true;
}

bool SimStreamTransport::IsConnected() const {
  return open_ && !refuse_ && !dropped_ && now_() >= openedAt_ + connectDelayMs_;
}

std::string SimStreamTransport::FailureText() const {
  if (refuse_) return "connection refused (nothing listens)";
  if (dropped_) return "the processor closed the connection";
  return {};
}

void SimStreamTransport::Close() {
  open_ = false;
  pending_.clear();
  received_.clear();
}

void SimStreamTransport::DropConnection() {
  pending_.clear();
  dropped_ = true;
}

int SimStreamTransport::Send(const std::uint8_t* frame, int size) {
  if (!IsConnected() || size <= 0) return 0;
  sent_.insert(sent_.end(), frame, frame + size);
  const std::int64_t now = now_();
  assembler_.Feed(
      frame, static_cast<std::size_t>(size),
      [&](std::uint8_t code, const std::uint8_t* data, int length) {
        SimReply reply = processor_.Answer(code, data, length);
        pending_.push_back({now + reply.latencyMs, std::move(reply.bytes), reply.cutLink});
      });
  return size;
}

void SimStreamTransport::Deliver() {
  const std::int64_t now = now_();
  while (!pending_.empty() && pending_.front().readyAt <= now) {
    Pending next = std::move(pending_.front());
    pending_.pop_front();
    received_.insert(received_.end(), next.bytes.begin(), next.bytes.end());
    if (next.cutLink) {
      DropConnection();
      break;
    }
  }
}

FetchStatus SimStreamTransport::Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) {
  got = 0;
  woken_ = false;
  if (!open_) return FetchStatus::kFailed;
  Deliver();
  if (!received_.empty()) {
    got = std::min(capacity, received_.size());
    std::copy_n(received_.begin(), got, out);
    received_.erase(received_.begin(), received_.begin() + static_cast<std::ptrdiff_t>(got));
    return FetchStatus::kBytes;
  }
  // Once everything that arrived before the close has been handed over, the link is down.
  return dropped_ ? FetchStatus::kFailed : FetchStatus::kNothing;
}

std::int64_t SimStreamTransport::NextDueMs() const {
  if (!open_) return -1;
  if (!received_.empty() || dropped_) return now_();
  if (!pending_.empty()) return pending_.front().readyAt;
  if (!IsConnected() && !refuse_) return openedAt_ + connectDelayMs_;
  return -1;
}

void SimStreamTransport::Poll() {
  const std::int64_t due = NextDueMs();
  if (due >= 0 && due <= now_() && !woken_) {
    woken_ = true;
    Wake();
  }
}

}  // namespace tavelo
