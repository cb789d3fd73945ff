#include "platform/ReceiveRing.h"

#include <algorithm>

namespace tavelo {

std::size_t ReceiveRing::Write(const std::uint8_t* bytes, std::size_t size) {
  const std::size_t stored = std::min(size, kCapacity - pending_);
  for (std::size_t i = 0; i < stored; ++i) {
    data_[write_] = bytes[i];
    write_ = (write_ + 1) % kCapacity;
  }
  pending_ += stored;
  dropped_ += size - stored;
  return stored;
}

std::size_t ReceiveRing::Read(std::uint8_t* out, std::size_t capacity) {
  const std::size_t taken = std::min(capacity, pending_);
  for (std::size_t i = 0; i < taken; ++i) {
    out[i] = data_[read_];
    read_ = (read_ + 1) % kCapacity;
  }
  pending_ -= taken;
  return taken;
}

void ReceiveRing::Clear() {
  write_ = read_ = pending_ = 0;
}

}  // namespace tavelo
