#include "core/link/ReplyParser.h"

#include "core/link/Frame.h"

namespace tavelo {

void ReplyParser::Reset() {
  state_ = State::kHunting;
  expected_ = 0;
  collected_ = 0;
  sum_ = 0;
}

bool ReplyParser::Push(std::uint8_t byte) {
  sum_ = static_cast<std::uint8_t>(sum_ + byte);
  switch (state_) {
    case State::kHunting:
      if (byte == kReplyStart) state_ = State::kLengthLow;
      return false;
    case State::kLengthLow:
      // The checksum covers the length, code and data: start summing here.
      expected_ = byte;
      sum_ = byte;
      state_ = State::kLengthHigh;
      return false;
    case State::kLengthHigh:
      expected_ |= byte << 8;
      if (expected_ == 0 || expected_ > kMaxReplyPayload) {
        state_ = State::kHunting;  // nothing sane can follow; look for the next start byte
        return false;
      }
      collected_ = 0;
      state_ = State::kCollecting;
      return false;
    case State::kCollecting:
      payload_[static_cast<std::size_t>(collected_++)] = byte;
      if (collected_ < expected_ + 1) return false;
      state_ = State::kHunting;
      return sum_ == 0;  // a bad checksum is dropped without a word
  }
  return false;
}

}  // namespace tavelo
