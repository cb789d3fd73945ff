// Request frames reassembled on the processor's side from split, padded byte streams.
#include <gtest/gtest.h>

#include "core/link/Frame.h"
#include "core/sim/RequestAssembler.h"

namespace tavelo {
namespace {

struct Seen {
  int code;
  std::vector<std::uint8_t> data;
  bool operator==(const Seen&) const = default;
};

std::vector<Seen> FeedAll(RequestAssembler& a, const std::vector<std::uint8_t>& bytes,
                          std::size_t step) {
  std::vector<Seen> seen;
  for (std::size_t i = 0; i < bytes.size(); i += step) {
    a.Feed(bytes.data() + i, std::min(step, bytes.size() - i),
           [&](std::uint8_t code, const std::uint8_t* data, int length) {
             seen.push_back({code, std::vector<std::uint8_t>(data, data + length)});
           });
  }
  return seen;
}

TEST(RequestAssembler, JoinsSplitFramesAndSkipsPaddingAndBadChecksums) {
  RequestFrame a, b;
  const std::uint8_t data[] = {7, 8, 9};
  BuildRequest(28, nullptr, 0, a);
  BuildRequest(9, data, 3, b);
  std::vector<std::uint8_t> stream(5, 0);  // zero padding of an earlier report
  stream.insert(stream.end(), a.bytes.begin(), a.bytes.begin() + a.size);
  std::vector<std::uint8_t> broken(b.bytes.begin(), b.bytes.begin() + b.size);
  broken.back() ^= 1;
  stream.insert(stream.end(), broken.begin(), broken.end());
  stream.insert(stream.end(), b.bytes.begin(), b.bytes.begin() + b.size);
  const std::vector<Seen> expected = {{28, {}}, {9, {7, 8, 9}}};
  for (std::size_t step : {1u, 2u, 5u, 64u}) {
    RequestAssembler assembler;
    EXPECT_EQ(FeedAll(assembler, stream, step), expected) << step;
  }
}

TEST(RequestAssembler, LengthsOutsideTheTransmitBufferAreNotRequests) {
  RequestAssembler assembler;
  // N = 0 and N = 509 are refused at the length; the frame after them still counts.
  std::vector<std::uint8_t> stream = {0xAA, 0x00, 0x00, 0xAA, 0xFD, 0x01};
  RequestFrame a;
  BuildRequest(28, nullptr, 0, a);
  stream.insert(stream.end(), a.bytes.begin(), a.bytes.begin() + a.size);
  const auto seen = FeedAll(assembler, stream, 1);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0].code, 28);
}

}  // namespace
}  // namespace tavelo
