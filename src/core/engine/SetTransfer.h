#pragma once
// The whole-set transfer: reading the parameter set from the processor (download) and
// writing one preset into a slot (upload). One transfer runs at a time; its phase says
// which, and every step is refused unless the phase expects it.
//
// Contract:
//   Download:  StartDownload(start reply) -> kDownloading; NextChunkRequest() and
//              TakeChunk(reply) until TakeChunk says kComplete; then ChecksumOk(), Header()
//              and Body() hold the set. A refusal names its reason and leaves kIdle.
//   Upload:    StartUpload(image, slot) -> kUploading and the start request; after its
//              reply, NextUploadChunk() until BodySent(); then the finish request;
//              UploadConfirmed() when the processor confirms it -> kIdle.
//   Abort() forgets any transfer (the link went down). Nothing here sends or observes:
//   the caller puts the returned payloads on the wire.
#include <array>
#include <cstdint>
#include <string>

#include "core/link/ReplyParser.h"
#include "core/params/BlockEncoder.h"
#include "core/params/Bodies.h"

namespace tavelo {

// The 17 header bytes of a download's start reply, decoded.
struct DownloadHeader {
  std::array<std::uint8_t, 17> raw{};
  int currentPreset = 0;          // byte 0
  bool lockEngaged = false;       // flags bit 0
  bool useInitVol = false;        // flags bit 2
  bool vrPresent = false;         // flags bit 7
  int adminMode = 0;              // byte 8
  std::uint8_t inputStatus = 0;   // byte 15
  std::uint8_t bodyChecksum = 0;  // reply byte 19: the body's checksum
};

// Whether two start replies announce the same set: the same body checksum, current preset,
// flags and admin mode. The input status is left out: it follows the signals, not the set.
bool SameSetAnnounced(const DownloadHeader& a, const DownloadHeader& b);

class SetTransfer {
 public:
  enum class Phase { kIdle, kDownloading, kUploading };
  enum class Chunk { kIgnored, kShort, kMore, kComplete };

  Phase State() const { return phase_; }
  bool Downloading() const { return phase_ == Phase::kDownloading; }
  bool Uploading() const { return phase_ == Phase::kUploading; }
  void Abort();

  // --- download ------------------------------------------------------------------------
  // Checks the start reply (size, signature, announced total); on success the download
  // begins. `why` says what was wrong otherwise.
  bool StartDownload(const Reply& reply, std::string& why);
  Payload NextChunkRequest();
  Chunk TakeChunk(const Reply& reply);
  int Offset() const { return downloadOffset_; }
  // Ends the download; true when the body's checksum matches the start reply's.
  bool FinishDownload();
  DownloadHeader Header() const;
  const std::uint8_t* Body() const { return buffer_.data(); }

  // --- upload --------------------------------------------------------------------------
  // The body is built from the image now; returns the start request.
  Payload StartUpload(const ParamImage& image, int slot);
  // The processor accepted the start: the body goes out from its first byte.
  void RewindUpload() { uploadOffset_ = 0; }
  Payload NextUploadChunk();
  bool BodySent() const { return uploadOffset_ >= kUploadBodySize; }
  int UploadSlot() const { return uploadSlot_; }
  void UploadConfirmed() { phase_ = Phase::kIdle; }

  // --- Load From PC --------------------------------------------------------------------
  // The next confirmed upload is a loaded file's: "Load OK" is said when it is confirmed.
  void AnnounceLoadOk() { announceLoadOk_ = true; }
  // True once, when an announced upload was confirmed.
  bool TakeLoadOk();

 private:
  Phase phase_ = Phase::kIdle;
  std::array<std::uint8_t, kTransferBufferSize> buffer_{};
  std::array<std::uint8_t, 17> header_{};
  std::uint8_t checksum_ = 0;
  int downloadTotal_ = 0;
  int downloadOffset_ = 0;
  int downloadCount_ = 0;
  std::array<std::uint8_t, kUploadBodySize> uploadBody_{};
  int uploadOffset_ = 0;
  int uploadSlot_ = 0;
  bool announceLoadOk_ = false;
};

}  // namespace tavelo
