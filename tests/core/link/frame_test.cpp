// Request framing and the cut into 65-byte HID output reports.
#include "core/link/Frame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace tavelo {
namespace {

std::vector<std::uint8_t> Report(const RequestFrame& frame, int k) {
  std::uint8_t report[kHidReportSize];
  CutHidReport(frame, k, report);
  return {report, report + kHidReportSize};
}

std::vector<std::uint8_t> Zeros(int count) {
  return std::vector<std::uint8_t>(count, 0);
}

TEST(Frame, StatusPollIsTheFiveKnownBytesAndOneZeroPaddedReport) {
  RequestFrame frame;
  ASSERT_EQ(BuildRequest(0x1C, nullptr, 0, frame), 5);
  EXPECT_EQ(std::vector<std::uint8_t>(frame.bytes.begin(), frame.bytes.begin() + 5),
            (std::vector<std::uint8_t>{0xAA, 0x01, 0x00, 0x1C, 0xE3}));
  ASSERT_EQ(HidReportCount(frame), 1);

  std::vector<std::uint8_t> expected{0x00, 0xAA, 0x01, 0x00, 0x1C, 0xE3};
  const auto padding = Zeros(59);
  expected.insert(expected.end(), padding.begin(), padding.end());
  EXPECT_EQ(Report(frame, 0), expected);
}

TEST(Frame, ReportCountFollowsTheSixtyFourByteBoundary) {
  std::vector<std::uint8_t> data(kMaxRequestPayload, 0x11);
  RequestFrame frame;

  // N = 60: a 64-byte frame fills exactly one report, checksum in its last byte.
  ASSERT_EQ(BuildRequest(0x41, data.data(), 59, frame), 64);
  EXPECT_EQ(HidReportCount(frame), 1);
  const auto single = Report(frame, 0);
  EXPECT_EQ(single[0], 0x00);
  EXPECT_EQ(single[64], frame.bytes[63]);

  // N = 61: the checksum spills into a second report followed by 63 zeros.
  ASSERT_EQ(BuildRequest(0x41, data.data(), 60, frame), 65);
  ASSERT_EQ(HidReportCount(frame), 2);
  std::vector<std::uint8_t> second{0x00, frame.bytes[64]};
  const auto padding = Zeros(63);
  second.insert(second.end(), padding.begin(), padding.end());
  EXPECT_EQ(Report(frame, 1), second);

  // The largest request the buffer holds still cuts into whole reports inside it.
  ASSERT_EQ(BuildRequest(0x41, data.data(), kMaxRequestPayload - 1, frame), kTxBufferSize);
  EXPECT_EQ(HidReportCount(frame), kTxBufferSize / kHidDataSize);
}

TEST(Frame, ChecksumMakesTheSumOfLengthCodeDataAndChecksumZero) {
  std::vector<std::uint8_t> data(300);
  std::iota(data.begin(), data.end(), std::uint8_t{7});
  RequestFrame frame;
  for (int length : {0, 1, 2, 76, 255, 256, 300}) {
    SCOPED_TRACE(length);
    const int size = BuildRequest(0x40, data.data(), length, frame);
    ASSERT_EQ(size, length + 5);
    EXPECT_EQ(frame.bytes[1] | (frame.bytes[2] << 8), length + 1);
    std::uint8_t sum = 0;
    for (int i = 1; i < size; ++i) sum = static_cast<std::uint8_t>(sum + frame.bytes[i]);
    EXPECT_EQ(sum, 0);
    EXPECT_TRUE(std::equal(data.begin(), data.begin() + length, frame.bytes.begin() + 4));
  }
}

TEST(Frame, ShorterRequestAfterLongerOneLeavesNoStaleBytes) {
  std::vector<std::uint8_t> data(200, 0xFF);
  RequestFrame frame;
  BuildRequest(0x40, data.data(), 200, frame);
  BuildRequest(0x1C, nullptr, 0, frame);
  EXPECT_TRUE(
      std::all_of(frame.bytes.begin() + 5, frame.bytes.end(), [](auto b) { return b == 0; }));
  EXPECT_EQ(Report(frame, 1), Zeros(kHidReportSize));
}

TEST(Frame, DataStagedInPlaceIsFramedIntact) {
  RequestFrame frame;
  for (int i = 0; i < 10; ++i) frame.bytes[4 + i] = static_cast<std::uint8_t>(0xA0 + i);
  ASSERT_EQ(BuildRequest(0x03, frame.bytes.data() + 4, 10, frame), 15);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(frame.bytes[4 + i], 0xA0 + i);
}

TEST(Frame, OversizedOrMalformedRequestsAreRefused) {
  std::vector<std::uint8_t> data(kTxBufferSize, 1);
  RequestFrame frame;
  EXPECT_EQ(BuildRequest(0x40, data.data(), kMaxRequestPayload, frame), 0);
  EXPECT_EQ(BuildRequest(0x40, data.data(), -1, frame), 0);
  EXPECT_EQ(BuildRequest(0x40, nullptr, 3, frame), 0);
  EXPECT_EQ(HidReportCount(frame), 0);
  // A report index outside the transmit buffer yields a harmless all-zero report.
  EXPECT_EQ(Report(frame, 8), Zeros(kHidReportSize));
  EXPECT_EQ(Report(frame, -1), Zeros(kHidReportSize));
}

}  // namespace
}  // namespace tavelo
