// Arbitrary bytes, one at a time, into the virtual processor's request side as tavelo-sim
// receives them from a socket. Every request the assembler reports must be a well-formed
// frame that really is the last bytes it took; the processor answers each, and every answer
// it sends is a whole reply frame the panel's parser reads back as exactly one reply to
// that request.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/link/Frame.h"
#include "core/link/ReplyParser.h"
#include "core/sim/RequestAssembler.h"
#include "core/sim/VirtualProcessor.h"

namespace {

using namespace tavelo;

void Check(bool ok, int line = __builtin_LINE()) {
  if (!ok) {
    std::fprintf(stderr, "check at line %d\n", line);
    std::abort();
  }
}

void CheckReply(std::uint8_t code, const SimReply& reply) {
  if (reply.bytes.empty()) return;
  ReplyParser parser;
  int replies = 0;
  const std::size_t used = parser.Feed(reply.bytes.data(), reply.bytes.size(), [&](const Reply& r) {
    Check(r.code == code);
    ++replies;
    return true;
  });
  Check(used == reply.bytes.size());
  Check(replies == 1);
  Check(parser.state() == ReplyParser::State::kHunting);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static VirtualProcessor* fresh = new VirtualProcessor();
  VirtualProcessor processor = *fresh;
  RequestAssembler assembler;
  RequestFrame frame;
  for (std::size_t i = 0; i < size; ++i) {
    assembler.Feed(data + i, 1, [&](std::uint8_t code, const std::uint8_t* body, int length) {
      Check(length >= 0 && length <= kMaxRequestPayload - 1);
      const int frameSize = BuildRequest(code, body, length, frame);
      Check(frameSize == length + 5);  // start, two length bytes, code, data, checksum
      Check(static_cast<std::size_t>(frameSize) <= i + 1);
      Check(std::memcmp(data + i + 1 - static_cast<std::size_t>(frameSize), frame.bytes.data(),
                        static_cast<std::size_t>(frameSize)) == 0);
      CheckReply(code, processor.Answer(code, body, length));
    });
  }
  return 0;
}
