#pragma once
// How a wire trace writes the traffic, one line per frame, the same in every program so
// traces can be compared: "> AA 02 00 1C 01 E2" for a request as sent, "< reply to 28:
// 01 02" for the data of a reply, bytes as upper-case hex pairs.
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/link/ReplyParser.h"

namespace tavelo {

// "AA 01 00 1C E3": bytes as upper-case hex pairs separated by spaces.
std::string HexBytes(const std::uint8_t* bytes, std::size_t size);

std::string SentFrameLine(const std::uint8_t* frame, std::size_t size);
std::string ReplyLine(const Reply& reply);

}  // namespace tavelo
