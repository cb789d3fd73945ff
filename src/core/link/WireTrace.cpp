#include "core/link/WireTrace.h"

namespace tavelo {

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

std::string SentFrameLine(const std::uint8_t* frame, std::size_t size) {
  return "> " + HexBytes(frame, size);
}

std::string ReplyLine(const Reply& reply) {
  const std::size_t size = reply.dataLength > 0 ? static_cast<std::size_t>(reply.dataLength) : 0;
  return "< reply to " + std::to_string(reply.code) + ": " + HexBytes(reply.data, size);
}

}  // namespace tavelo
