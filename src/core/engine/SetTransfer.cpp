#include "core/engine/SetTransfer.h"

#include <algorithm>

namespace tavelo {

namespace {

constexpr int kStartReplySize = 22;
constexpr int kHeaderSize = 17;
constexpr std::array<std::uint8_t, 4> kSignature = {23, 1, 2, 5};
constexpr int kDownloadChunk = 58;
constexpr int kUploadChunk = 60;

int Le16(const std::uint8_t* p) {
  return p[0] | p[1] << 8;
}

}  // namespace

void SetTransfer::Abort() {
  phase_ = Phase::kIdle;
  announceLoadOk_ = false;  // the upload was never confirmed
}

// --- download -------------------------------------------------------------------------------

bool SetTransfer::StartDownload(const Reply& reply, std::string& why) {
  const std::uint8_t* d = reply.data;
  if (reply.dataLength < kStartReplySize) {
    why = "the start reply has " + std::to_string(reply.dataLength) + " bytes, not " +
          std::to_string(kStartReplySize);
    return false;
  }
  const int total = Le16(d + 17);
  const bool signatureOk = std::equal(kSignature.begin(), kSignature.end(), d + 1);
  // The body is read at fixed offsets: a total other than its size (an oversized one, or a
  // short one whose checksum matches the few bytes sent) would leave part of the set unread
  // and be stored as zeros. Either is refused like a bad signature, before anything is kept.
  if (!signatureOk || d[20] != 0 || d[21] != 0) {
    why = "the start reply carries a wrong signature";
    return false;
  }
  if (total != kDownloadBodySize) {
    why = "the processor announces " + std::to_string(total) + " bytes, not the " +
          std::to_string(kDownloadBodySize) + " of a parameter set";
    return false;
  }
  std::copy(d, d + kHeaderSize, header_.begin());
  checksum_ = d[19];
  buffer_.fill(0);
  downloadTotal_ = total;
  downloadOffset_ = 0;
  phase_ = Phase::kDownloading;
  return true;
}

Payload SetTransfer::NextChunkRequest() {
  downloadCount_ = std::clamp(downloadTotal_ - downloadOffset_, 0, kDownloadChunk);
  return ChunkRequestPayload(downloadOffset_, downloadCount_);
}

SetTransfer::Chunk SetTransfer::TakeChunk(const Reply& reply) {
  if (!Downloading()) return Chunk::kIgnored;
  if (reply.dataLength < downloadCount_) return Chunk::kShort;
  std::copy(reply.data, reply.data + downloadCount_,
            buffer_.begin() + static_cast<std::ptrdiff_t>(downloadOffset_));
  downloadOffset_ += downloadCount_;
  return downloadOffset_ < downloadTotal_ ? Chunk::kMore : Chunk::kComplete;
}

bool SetTransfer::FinishDownload() {
  phase_ = Phase::kIdle;
  std::uint8_t sum = checksum_;
  for (int i = 0; i < downloadTotal_; ++i)
    sum = static_cast<std::uint8_t>(sum + buffer_[static_cast<std::size_t>(i)]);
  return sum == 0;
}

DownloadHeader SetTransfer::Header() const {
  DownloadHeader h;
  h.raw = header_;
  h.currentPreset = header_[0];
  h.lockEngaged = (header_[7] & 0x01) != 0;
  h.useInitVol = (header_[7] & 0x04) != 0;
  h.vrPresent = (header_[7] & 0x80) != 0;
  h.adminMode = header_[8];
  h.inputStatus = header_[15];
  h.bodyChecksum = checksum_;
  return h;
}

bool SameSetAnnounced(const DownloadHeader& a, const DownloadHeader& b) {
  constexpr int kFlags = 7;
  constexpr int kAdmin = 8;
  return a.bodyChecksum == b.bodyChecksum && a.raw[0] == b.raw[0] &&
         a.raw[kFlags] == b.raw[kFlags] && a.raw[kAdmin] == b.raw[kAdmin];
}

// --- upload ---------------------------------------------------------------------------------

Payload SetTransfer::StartUpload(const ParamImage& image, int slot) {
  uploadSlot_ = slot;
  BuildUploadBody(image, uploadBody_);
  uploadOffset_ = 0;
  phase_ = Phase::kUploading;
  return UploadStartPayload(kUploadBodySize, BodyChecksum(uploadBody_.data(), uploadBody_.size()));
}

Payload SetTransfer::NextUploadChunk() {
  const int count = std::clamp(kUploadBodySize - uploadOffset_, 0, kUploadChunk);
  const Payload payload =
      UploadChunkPayload(uploadOffset_, uploadBody_.data() + uploadOffset_, count);
  uploadOffset_ += count;
  return payload;
}

bool SetTransfer::TakeLoadOk() {
  const bool announce = announceLoadOk_;
  announceLoadOk_ = false;
  return announce;
}

}  // namespace tavelo
