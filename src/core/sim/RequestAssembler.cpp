#include "core/sim/RequestAssembler.h"

namespace tavelo {

bool RequestAssembler::Push(std::uint8_t byte) {
  switch (state_) {
    case 0:
      if (byte == kRequestStart) {
        frame_[0] = byte;
        state_ = 1;
      }
      return false;
    case 1:
      frame_[1] = byte;
      state_ = 2;
      return false;
    case 2:
      frame_[2] = byte;
      expected_ = frame_[1] | (byte << 8);
      // A length the transmit buffer cannot hold is no request: hunt again.
      if (expected_ < 1 || expected_ > kMaxRequestPayload) {
        state_ = 0;
        return false;
      }
      collected_ = 0;
      state_ = 3;
      return false;
    default:
      frame_[static_cast<std::size_t>(3 + collected_)] = byte;
      ++collected_;
      if (collected_ < expected_ + 1) return false;
      state_ = 0;
      {
        std::uint8_t sum = 0;
        for (int i = 1; i < expected_ + 4; ++i) sum += frame_[static_cast<std::size_t>(i)];
        return sum == 0;
      }
  }
}

}  // namespace tavelo
