#include "cmd_device_tap.h"

#include <algorithm>
#include <string>

#include "core/link/WireTrace.h"

namespace tavelo::cli {

namespace {
constexpr int kCodeOffset = 3;  // AA, length low, length high, code
}  // namespace

void WireLog::Sent(const std::uint8_t* frame, int size) {
  if (size > kCodeOffset) ++sent_[frame[kCodeOffset]];
  parser_.Reset();
  if (trace_) *trace_ << SentFrameLine(frame, static_cast<std::size_t>(size)) << "\n";
}

void WireLog::Received(const std::uint8_t* bytes, std::size_t size) {
  parser_.Feed(bytes, size, [this](const Reply& reply) {
    ++replies_[reply.code];
    const auto length = static_cast<std::size_t>(std::max(reply.dataLength, 0));
    lastReplies_[reply.code].assign(reply.data, reply.data + length);
    if (trace_) *trace_ << ReplyLine(reply) << "\n";
    return true;
  });
}

int TapTransport::Send(const std::uint8_t* frame, int size) {
  log_.Sent(frame, size);
  return inner_.Send(frame, size);
}

FetchStatus TapTransport::Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) {
  const FetchStatus status = inner_.Fetch(out, capacity, got);
  if (status == FetchStatus::kBytes && got > 0) log_.Received(out, got);
  return status;
}

}  // namespace tavelo::cli
