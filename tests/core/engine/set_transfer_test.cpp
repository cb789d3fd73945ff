// The set transfer's phases: one transfer at a time, every step refused unless the phase
// expects it, and a download that only finishes with a matching checksum.
#include <gtest/gtest.h>

#include <vector>

#include "core/engine/SetTransfer.h"

namespace tavelo {
namespace {

// A start reply announcing a whole set: header, signature, total, checksum of `body`.
std::vector<std::uint8_t> StartReply(const std::vector<std::uint8_t>& body) {
  std::vector<std::uint8_t> d(22, 0);
  d[0] = 4;  // current preset
  d[1] = 23, d[2] = 1, d[3] = 2, d[4] = 5;
  d[7] = 0x81;  // locked, VR present
  d[17] = kDownloadBodySize & 0xFF;
  d[18] = kDownloadBodySize >> 8;
  std::uint8_t sum = 0;
  for (std::uint8_t b : body) sum = static_cast<std::uint8_t>(sum + b);
  d[19] = static_cast<std::uint8_t>(-sum);
  return d;
}

Reply ReplyOf(const std::vector<std::uint8_t>& data) {
  return Reply{0, data.data(), static_cast<int>(data.size())};
}

// Answers every chunk request from `body`; the last chunk's result.
SetTransfer::Chunk ReadAll(SetTransfer& t, const std::vector<std::uint8_t>& body) {
  SetTransfer::Chunk last = SetTransfer::Chunk::kMore;
  while (last == SetTransfer::Chunk::kMore) {
    const Payload request = t.NextChunkRequest();
    const int offset = request.data[0] | request.data[1] << 8;
    const int count = request.data[2] | request.data[3] << 8;
    const std::vector<std::uint8_t> chunk(body.begin() + offset, body.begin() + offset + count);
    last = t.TakeChunk(ReplyOf(chunk));
  }
  return last;
}

TEST(SetTransfer, DownloadRunsToItsEndAndChecksItsSum) {
  std::vector<std::uint8_t> body(kDownloadBodySize);
  for (std::size_t i = 0; i < body.size(); ++i) body[i] = static_cast<std::uint8_t>(i * 7);
  SetTransfer t;
  std::string why;
  EXPECT_EQ(t.TakeChunk(ReplyOf(body)), SetTransfer::Chunk::kIgnored);  // nothing started
  ASSERT_TRUE(t.StartDownload(ReplyOf(StartReply(body)), why)) << why;
  EXPECT_EQ(t.State(), SetTransfer::Phase::kDownloading);
  EXPECT_EQ(ReadAll(t, body), SetTransfer::Chunk::kComplete);
  EXPECT_TRUE(t.FinishDownload());
  EXPECT_EQ(t.State(), SetTransfer::Phase::kIdle);
  EXPECT_TRUE(std::equal(body.begin(), body.end(), t.Body()));
  const DownloadHeader h = t.Header();
  EXPECT_EQ(h.currentPreset, 4);
  EXPECT_TRUE(h.lockEngaged);
  EXPECT_TRUE(h.vrPresent);
  EXPECT_FALSE(h.useInitVol);

  // The same start with a body that changed on the way fails its sum.
  ASSERT_TRUE(t.StartDownload(ReplyOf(StartReply(body)), why));
  body[100] ^= 1;
  ReadAll(t, body);
  EXPECT_FALSE(t.FinishDownload());
}

TEST(SetTransfer, ARefusedStartSaysWhyAndStartsNothing) {
  SetTransfer t;
  std::string why;
  std::vector<std::uint8_t> start = StartReply(std::vector<std::uint8_t>(kDownloadBodySize));
  start[2] = 9;
  EXPECT_FALSE(t.StartDownload(ReplyOf(start), why));
  EXPECT_EQ(why, "the start reply carries a wrong signature");
  start = StartReply(std::vector<std::uint8_t>(kDownloadBodySize));
  start[17] = 0;
  EXPECT_FALSE(t.StartDownload(ReplyOf(start), why));
  EXPECT_NE(why.find("bytes, not the 937"), std::string::npos);
  start.resize(21);
  EXPECT_FALSE(t.StartDownload(ReplyOf(start), why));
  EXPECT_EQ(t.State(), SetTransfer::Phase::kIdle);
}

TEST(SetTransfer, UploadSendsTheWholeBodyInChunksAndLoadOkIsSaidOnce) {
  SetTransfer t;
  ParamImage image{};
  t.AnnounceLoadOk();
  const Payload start = t.StartUpload(image, 3);
  EXPECT_EQ(start.code, 65);
  EXPECT_TRUE(t.Uploading());
  EXPECT_EQ(t.UploadSlot(), 3);
  int sent = 0;
  while (!t.BodySent()) {
    const Payload chunk = t.NextUploadChunk();
    sent += chunk.length - 8;
    ASSERT_LE(sent, kUploadBodySize);
  }
  EXPECT_EQ(sent, kUploadBodySize);
  t.UploadConfirmed();
  EXPECT_EQ(t.State(), SetTransfer::Phase::kIdle);
  EXPECT_TRUE(t.TakeLoadOk());
  EXPECT_FALSE(t.TakeLoadOk());

  // A link that goes down forgets the announcement with the transfer.
  t.AnnounceLoadOk();
  t.StartUpload(image, 0);
  t.Abort();
  EXPECT_EQ(t.State(), SetTransfer::Phase::kIdle);
  EXPECT_FALSE(t.TakeLoadOk());
}

}  // namespace
}  // namespace tavelo
