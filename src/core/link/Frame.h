#pragma once
// Request frames (panel to processor): AA, length N (LE16), code, data, checksum.
// The checksum is the two's complement of the 8-bit sum of the length, code and data bytes.
#include <array>
#include <cstddef>
#include <cstdint>

namespace tavelo {

inline constexpr std::uint8_t kRequestStart = 0xAA;
inline constexpr std::uint8_t kReplyStart = 0x55;
inline constexpr int kTxBufferSize = 512;       // one request is assembled here
inline constexpr int kMaxRequestPayload = 508;  // N: code plus data
inline constexpr int kHidReportSize = 65;       // report ID 0 plus 64 data bytes
inline constexpr int kHidDataSize = 64;

// A request assembled in the transmit buffer. Bytes after the frame are zero.
struct RequestFrame {
  std::array<std::uint8_t, kTxBufferSize> bytes{};
  int size = 0;  // N + 4
};

// Two's complement of the 8-bit sum of `size` bytes.
std::uint8_t FrameChecksum(const std::uint8_t* bytes, std::size_t size);

// Frames `code` and `dataLength` data bytes (N = dataLength + 1). Returns the frame size,
// or 0 when the payload does not fit the transmit buffer. The rest of the buffer is zeroed.
int BuildRequest(std::uint8_t code, const std::uint8_t* data, int dataLength, RequestFrame& out);

// Number of 65-byte HID output reports for a frame: (N + 67) / 64.
int HidReportCount(const RequestFrame& frame);

// Report k: byte 0 is the report ID 0, bytes 1..64 are transmit-buffer bytes 64k..64k+63.
void CutHidReport(const RequestFrame& frame, int k, std::uint8_t (&report)[kHidReportSize]);

}  // namespace tavelo
