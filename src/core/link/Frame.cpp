#include "core/link/Frame.h"

#include <cstring>

namespace tavelo {

std::uint8_t FrameChecksum(const std::uint8_t* bytes, std::size_t size) {
  std::uint8_t sum = 0;
  for (std::size_t i = 0; i < size; ++i) sum = static_cast<std::uint8_t>(sum + bytes[i]);
  return static_cast<std::uint8_t>(0x100 - sum);
}

int BuildRequest(std::uint8_t code, const std::uint8_t* data, int dataLength, RequestFrame& out) {
  if (dataLength < 0 || dataLength + 1 > kMaxRequestPayload || (dataLength > 0 && !data)) {
    out.size = 0;
    return 0;
  }
  const int n = dataLength + 1;
  // The data may already sit in this very buffer (staged in place), so move, don't copy,
  // and write the code only afterwards.
  if (dataLength > 0)
    std::memmove(out.bytes.data() + 4, data, static_cast<std::size_t>(dataLength));
  out.bytes[0] = kRequestStart;
  out.bytes[1] = static_cast<std::uint8_t>(n & 0xFF);
  out.bytes[2] = static_cast<std::uint8_t>(n >> 8);
  out.bytes[3] = code;
  out.bytes[3 + n] = FrameChecksum(out.bytes.data() + 1, static_cast<std::size_t>(n) + 2);
  out.size = n + 4;
  // USB sends whole 64-byte chunks; whatever follows the frame must read as zeros.
  std::memset(out.bytes.data() + out.size, 0, static_cast<std::size_t>(kTxBufferSize - out.size));
  return out.size;
}

int HidReportCount(const RequestFrame& frame) {
  if (frame.size < 5) return 0;
  const int n = frame.size - 4;
  return (n + 67) / kHidDataSize;
}

void CutHidReport(const RequestFrame& frame, int k, std::uint8_t (&report)[kHidReportSize]) {
  std::memset(report, 0, sizeof report);
  if (k < 0 || (k + 1) * kHidDataSize > kTxBufferSize) return;
  std::memcpy(report + 1, frame.bytes.data() + k * kHidDataSize, kHidDataSize);
}

}  // namespace tavelo
