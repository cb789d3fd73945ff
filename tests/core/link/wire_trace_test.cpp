// The trace lines every program writes for the wire.
#include <gtest/gtest.h>

#include "core/link/WireTrace.h"

namespace tavelo {
namespace {

TEST(WireTraceTest, LinesAreTheSameForEveryProgram) {
  const std::uint8_t frame[] = {0xAA, 0x01, 0x00, 0x1C, 0xE3};
  EXPECT_EQ(SentFrameLine(frame, sizeof frame), "> AA 01 00 1C E3");
  const std::uint8_t data[] = {0x00, 0xFF, 0x0a};
  EXPECT_EQ(ReplyLine(Reply{28, data, 3}), "< reply to 28: 00 FF 0A");
  EXPECT_EQ(ReplyLine(Reply{200, data, 0}), "< reply to 200: ");
  EXPECT_EQ(ReplyLine(Reply{1, data, -1}), "< reply to 1: ");  // never reads before data
}

}  // namespace
}  // namespace tavelo
