#pragma once
// The processor's side of the frame format: joins request bytes that arrive split
// (several HID reports, several socket reads) into whole request frames. Zero padding
// and other bytes between frames are skipped; a frame with a bad checksum is dropped.
#include <array>
#include <cstddef>
#include <cstdint>

#include "core/link/Frame.h"

namespace tavelo {

class RequestAssembler {
 public:
  // Calls onRequest(code, data, dataLength) for every complete, valid request frame.
  template <typename OnRequest>
  void Feed(const std::uint8_t* bytes, std::size_t size, OnRequest&& onRequest) {
    for (std::size_t i = 0; i < size; ++i) {
      if (Push(bytes[i])) onRequest(frame_[3], frame_.data() + 4, expected_ - 1);
    }
  }

  void Reset() { state_ = 0; }

 private:
  bool Push(std::uint8_t byte);

  int state_ = 0;     // 0 hunting, 1 length low, 2 length high, 3 collecting
  int expected_ = 0;  // N
  int collected_ = 0;
  std::array<std::uint8_t, kTxBufferSize> frame_{};
};

}  // namespace tavelo
