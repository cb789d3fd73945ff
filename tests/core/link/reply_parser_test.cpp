// Reply frames from the processor: reassembly across deliveries, resynchronisation, and
// the frames that must never reach the dispatcher.
#include <gtest/gtest.h>

#include <vector>

#include "core/link/Frame.h"
#include "core/link/ReplyParser.h"

namespace tavelo {
namespace {

struct Seen {
  std::uint8_t code;
  std::vector<std::uint8_t> data;
  bool operator==(const Seen&) const = default;
};

// A reply frame as the processor sends it: the answered code travels complemented.
std::vector<std::uint8_t> ReplyFrame(std::uint8_t answered, const std::vector<std::uint8_t>& data) {
  const int n = static_cast<int>(data.size()) + 1;
  std::vector<std::uint8_t> frame{kReplyStart, static_cast<std::uint8_t>(n & 0xFF),
                                  static_cast<std::uint8_t>(n >> 8),
                                  static_cast<std::uint8_t>(~answered)};
  frame.insert(frame.end(), data.begin(), data.end());
  frame.push_back(FrameChecksum(frame.data() + 1, frame.size() - 1));
  return frame;
}

std::vector<Seen> FeedAll(ReplyParser& parser, const std::vector<std::uint8_t>& bytes) {
  std::vector<Seen> seen;
  parser.Feed(bytes.data(), bytes.size(), [&](const Reply& r) {
    seen.push_back({r.code, {r.data, r.data + r.dataLength}});
    return true;
  });
  return seen;
}

std::vector<std::uint8_t> Concat(std::initializer_list<std::vector<std::uint8_t>> parts) {
  std::vector<std::uint8_t> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

TEST(ReplyParser, StatusReplyIsReportedWithTheCodeComplementedBack) {
  const std::vector<std::uint8_t> status{0, 3, 0, 0, 0x66, 0x66, 0x55, 0x66, 0x00, 0x0C, 0x55};
  ReplyParser parser;
  const auto seen = FeedAll(parser, ReplyFrame(0x1C, status));
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(seen[0], (Seen{0x1C, status}));
  EXPECT_EQ(parser.state(), ReplyParser::State::kHunting);

  // The read-start reply travels as 0xC0 and is handed on as 0x3F.
  const auto frame = ReplyFrame(0x3F, {1, 2});
  ASSERT_EQ(frame[3], 0xC0);
  EXPECT_EQ(FeedAll(parser, frame), (std::vector<Seen>{{0x3F, {1, 2}}}));
}

TEST(ReplyParser, ReplySplitAtEveryPositionReassemblesIdentically) {
  // The data holds 0x55 bytes too: they must not be mistaken for a start byte mid-frame.
  const std::vector<std::uint8_t> data{0x55, 0x00, 0x55, 0xAA, 0x01, 0xFE, 0x55};
  const auto frame = ReplyFrame(0x40, data);
  const std::vector<Seen> expected{{0x40, data}};
  for (std::size_t cut = 0; cut <= frame.size(); ++cut) {
    for (std::size_t cut2 = cut; cut2 <= frame.size(); ++cut2) {
      SCOPED_TRACE(testing::Message() << "cuts at " << cut << " and " << cut2);
      ReplyParser parser;
      std::vector<Seen> seen;
      auto add = [&](const Reply& r) {
        seen.push_back({r.code, {r.data, r.data + r.dataLength}});
        return true;
      };
      parser.Feed(frame.data(), cut, add);
      parser.Feed(frame.data() + cut, cut2 - cut, add);
      parser.Feed(frame.data() + cut2, frame.size() - cut2, add);
      EXPECT_EQ(seen, expected);
    }
  }
}

TEST(ReplyParser, ByteAtATimeDeliveryMatchesOneDelivery) {
  const auto stream = Concat({ReplyFrame(0x1C, {0, 3}), std::vector<std::uint8_t>(59, 0),
                              ReplyFrame(0x40, std::vector<std::uint8_t>(200, 0x55))});
  ReplyParser whole;
  const auto expected = FeedAll(whole, stream);
  ASSERT_EQ(expected.size(), 2u);
  ReplyParser single;
  std::vector<Seen> seen;
  for (std::uint8_t b : stream) {
    const auto part = FeedAll(single, {b});
    seen.insert(seen.end(), part.begin(), part.end());
  }
  EXPECT_EQ(seen, expected);
}

TEST(ReplyParser, GarbageAndPaddingBeforeTheStartByteAreSkipped) {
  ReplyParser parser;
  const auto stream = Concat({std::vector<std::uint8_t>(64, 0x00),
                              {0xAA, 0x01, 0xE3, 0xFF},
                              ReplyFrame(0x01, {}),
                              std::vector<std::uint8_t>(63, 0x00)});
  EXPECT_EQ(FeedAll(parser, stream), (std::vector<Seen>{{0x01, {}}}));
}

TEST(ReplyParser, LengthLimitsAreEnforcedAtTheLengthField) {
  ReplyParser parser;
  const std::vector<std::uint8_t> largest(kMaxReplyPayload - 1, 0x5A);
  const auto accepted = FeedAll(parser, ReplyFrame(0x40, largest));
  ASSERT_EQ(accepted.size(), 1u);
  EXPECT_EQ(accepted[0].data.size(), largest.size());

  // N = 1536 and N = 0 are dropped at once: the parser is hunting again right after the
  // length, so a valid reply right behind them is still found.
  for (std::vector<std::uint8_t> bad :
       {std::vector<std::uint8_t>{0x55, 0x00, 0x06}, std::vector<std::uint8_t>{0x55, 0x00, 0x00}}) {
    parser.Feed(bad.data(), bad.size(), [](const Reply&) { return true; });
    EXPECT_EQ(parser.state(), ReplyParser::State::kHunting);
    EXPECT_EQ(FeedAll(parser, ReplyFrame(0x1C, {0, 3})), (std::vector<Seen>{{0x1C, {0, 3}}}));
  }
}

TEST(ReplyParser, BadChecksumIsDroppedSilentlyAndTheNextReplyStillArrives) {
  for (int delta : {1, -1}) {
    auto bad = ReplyFrame(0x2B, {1});
    bad.back() = static_cast<std::uint8_t>(bad.back() + delta);
    ReplyParser parser;
    EXPECT_TRUE(FeedAll(parser, bad).empty());
    EXPECT_EQ(FeedAll(parser, ReplyFrame(0x2B, {1})), (std::vector<Seen>{{0x2B, {1}}}));
  }
}

TEST(ReplyParser, ResetDiscardsAHalfReceivedReply) {
  ReplyParser parser;
  const auto stale = ReplyFrame(0x40, {9, 9, 9, 9});
  FeedAll(parser, {stale.begin(), stale.begin() + 5});
  EXPECT_EQ(parser.state(), ReplyParser::State::kCollecting);
  parser.Reset();
  EXPECT_EQ(parser.state(), ReplyParser::State::kHunting);
  EXPECT_EQ(FeedAll(parser, ReplyFrame(0x1C, {0, 3})), (std::vector<Seen>{{0x1C, {0, 3}}}));
}

TEST(ReplyParser, StoppingLeavesTheRestOfTheDeliveryUnparsed) {
  const auto first = ReplyFrame(0x1C, {0, 2});
  const auto stream = Concat({first, ReplyFrame(0x3F, {1})});
  ReplyParser parser;
  int calls = 0;
  const auto consumed =
      parser.Feed(stream.data(), stream.size(), [&](const Reply&) { return ++calls > 1; });
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(consumed, first.size());
}

}  // namespace
}  // namespace tavelo
