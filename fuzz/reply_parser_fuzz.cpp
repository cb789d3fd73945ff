// Arbitrary byte streams, delivered in arbitrary pieces, through the reply parser. Every
// reply it reports must be a well-formed frame that really is the last bytes it consumed.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "core/link/Frame.h"
#include "core/link/ReplyParser.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // Byte 0 picks how many of the following bytes are piece sizes (1 to 8); the pieces
  // then cycle through those sizes (a size of 0 is a delivery that brings nothing).
  const std::size_t splitCount = std::min<std::size_t>(data[0] % 8 + 1, size - 1);
  const std::uint8_t* splits = data + 1;
  const std::uint8_t* stream = data + 1 + splitCount;
  const std::size_t streamSize = size - 1 - splitCount;

  bool allEmpty = true;
  for (std::size_t i = 0; i < splitCount; ++i) allEmpty = allEmpty && splits[i] == 0;

  static tavelo::ReplyParser parser;
  parser.Reset();
  static std::uint8_t frame[tavelo::kMaxReplyPayload + 4];

  std::size_t pos = 0;
  std::size_t piece = 0;
  while (pos < streamSize) {
    std::size_t len = allEmpty ? streamSize : splits[piece++ % splitCount];
    len = std::min(len, streamSize - pos);
    std::size_t done = 0;
    // The callback stops the parser after each reply, so the reply's end position in the
    // stream is known exactly; feeding then resumes with the rest of the piece.
    do {
      bool reported = false;
      const std::size_t used =
          parser.Feed(stream + pos + done, len - done, [&](const tavelo::Reply& r) {
            Check(r.dataLength >= 0 && r.dataLength <= tavelo::kMaxReplyPayload - 1);
            const int n = r.dataLength + 1;
            frame[0] = tavelo::kReplyStart;
            frame[1] = static_cast<std::uint8_t>(n & 0xFF);
            frame[2] = static_cast<std::uint8_t>(n >> 8);
            frame[3] = static_cast<std::uint8_t>(~r.code);
            if (r.dataLength > 0)
              std::memcpy(frame + 4, r.data, static_cast<std::size_t>(r.dataLength));
            frame[3 + n] = tavelo::FrameChecksum(frame + 1, static_cast<std::size_t>(n) + 2);
            reported = true;
            return false;
          });
      done += used;
      if (reported) {
        const std::size_t end = pos + done;
        const std::size_t frameSize = static_cast<std::size_t>(frame[1] | (frame[2] << 8)) + 4;
        Check(end >= frameSize);
        Check(std::memcmp(stream + end - frameSize, frame, frameSize) == 0);
        Check(parser.state() == tavelo::ReplyParser::State::kHunting);
      }
    } while (done < len);
    pos += len;
  }
  return 0;
}
