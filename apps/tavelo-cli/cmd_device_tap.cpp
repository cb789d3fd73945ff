#include "cmd_device_tap.h"

#include <string>

namespace tavelo::cli {

namespace {
constexpr int kCodeOffset = 3;  // AA, length low, length high, code
}  // namespace

std::string HexBytes(const std::uint8_t* bytes, std::size_t size) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(size * 3);
  for (std::size_t i = 0; i < size; ++i) {
    if (i) out += ' ';
    out += kDigits[bytes[i] >> 4];
    out += kDigits[bytes[i] & 0x0F];
  }
  return out;
}

void WireLog::Sent(const std::uint8_t* frame, int size) {
  if (size > kCodeOffset) ++sent_[frame[kCodeOffset]];
  parser_.Reset();
  if (trace_) *trace_ << "> " << HexBytes(frame, static_cast<std::size_t>(size)) << "\n";
}

void WireLog::Received(const std::uint8_t* bytes, std::size_t size) {
  parser_.Feed(bytes, size, [this](const Reply& reply) {
    ++replies_[reply.code];
    lastReplies_[reply.code].assign(reply.data, reply.data + reply.dataLength);
    if (trace_) {
      *trace_ << "< reply to " << static_cast<int>(reply.code) << ": "
              << HexBytes(reply.data, static_cast<std::size_t>(reply.dataLength)) << "\n";
    }
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
