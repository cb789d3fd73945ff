#pragma once
// The four-state reply parser: hunting, length-low, length-high, collecting. Bytes may
// arrive split anywhere; state lives across calls. Fixed buffers, no allocation.
#include <array>
#include <cstddef>
#include <cstdint>

namespace tavelo {

inline constexpr int kMaxReplyPayload = 1535;

// A valid reply as handed to the dispatcher: the reply code already complemented back
// into the command code it answers, and the data bytes after it.
struct Reply {
  std::uint8_t code = 0;
  const std::uint8_t* data = nullptr;  // valid only during the callback
  int dataLength = 0;                  // N - 1
};

class ReplyParser {
 public:
  enum class State { kHunting, kLengthLow, kLengthHigh, kCollecting };

  // Back to hunting; done whenever a request is sent.
  void Reset();

  // Feeds bytes one at a time; calls onReply(const Reply&) for every complete, valid frame.
  // onReply may return false to stop consuming (the rest of the bytes are left unparsed,
  // as after a refused protocol version); Feed then returns the number of bytes consumed.
  template <typename OnReply>
  std::size_t Feed(const std::uint8_t* bytes, std::size_t size, OnReply&& onReply) {
    for (std::size_t i = 0; i < size; ++i) {
      if (Push(bytes[i])) {
        Reply reply{code(), payload_.data() + 1, expected_ - 1};
        if (!onReply(reply)) return i + 1;
      }
    }
    return size;
  }

  State state() const { return state_; }

 private:
  // Consumes one byte; true when it completed a valid frame (available until the next Push).
  bool Push(std::uint8_t byte);
  std::uint8_t code() const { return static_cast<std::uint8_t>(~payload_[0]); }

  State state_ = State::kHunting;
  int expected_ = 0;   // N
  int collected_ = 0;  // payload bytes plus checksum so far
  std::uint8_t sum_ = 0;
  std::array<std::uint8_t, kMaxReplyPayload + 1> payload_{};
};

}  // namespace tavelo
