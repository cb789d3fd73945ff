// Whole-set transfers (download after connecting and after a recall, preset upload) and
// what the panel does with the processor's notices.
#include <algorithm>

#include "engine/Engine.h"
#include "link/CommandCode.h"
#include "params/Catalogue.h"
#include "presets/PresetFolder.h"

namespace tavelo {

using C = CommandCode;

namespace {

constexpr int kStartReplySize = 22;
constexpr int kHeaderSize = 17;
constexpr std::array<std::uint8_t, 4> kSignature = {23, 1, 2, 5};
constexpr int kDownloadChunk = 58;
constexpr int kUploadChunk = 60;
constexpr int kSlotMask = 0x1F;
constexpr int kMaxSlot = 9;
constexpr int kFactorySlotOffset = 10;
constexpr int kEchoReplySize = 17;  // image 114..122, then W26..W29
constexpr int kEchoBytes = 9;
constexpr int kEchoFirstWord = 26;
constexpr int kEchoWords = 4;

int Le16(const std::uint8_t* p) {
  return p[0] | p[1] << 8;
}

}  // namespace

// --- download -------------------------------------------------------------------------------

void Engine::DownloadFailed(const std::string& why) {
  downloadActive_ = false;
  NoteFailure("reading the parameter set: " + why);
  ProtocolFailed(TextId::kStatusOpenFailed1);
}

void Engine::OnStartReply(const Reply& reply) {
  const std::uint8_t* d = reply.data;
  if (reply.dataLength < kStartReplySize) {
    DownloadFailed("the start reply has " + std::to_string(reply.dataLength) + " bytes, not " +
                   std::to_string(kStartReplySize));
    return;
  }
  const int total = Le16(d + 17);
  const bool signatureOk = std::equal(kSignature.begin(), kSignature.end(), d + 1);
  // The body is read at fixed offsets: a total other than its size (an oversized one, or a
  // short one whose checksum matches the few bytes sent) would leave part of the set unread
  // and be stored as zeros. Either is refused like a bad signature, before anything is kept.
  if (!signatureOk || d[20] != 0 || d[21] != 0) {
    DownloadFailed("the start reply carries a wrong signature");
    return;
  }
  if (total != kDownloadBodySize) {
    DownloadFailed("the processor announces " + std::to_string(total) + " bytes, not the " +
                   std::to_string(kDownloadBodySize) + " of a parameter set");
    return;
  }
  std::copy(d, d + kHeaderSize, downloadHeader_.begin());
  downloadChecksum_ = d[19];
  transfer_.fill(0);
  downloadTotal_ = total;
  downloadOffset_ = 0;
  downloadActive_ = true;
  Post(msg::Block{CodeNumber(C::kReadChunk), {}});
}

void Engine::SendChunkRequest() {
  if (!downloadActive_) return;
  downloadCount_ = std::clamp(downloadTotal_ - downloadOffset_, 0, kDownloadChunk);
  SendPayload(ChunkRequestPayload(downloadOffset_, downloadCount_), /*encoderPath=*/true);
}

void Engine::OnChunkReply(const Reply& reply) {
  if (!downloadActive_) return;
  if (reply.dataLength < downloadCount_) {
    DownloadFailed("the chunk at byte " + std::to_string(downloadOffset_) + " is short");
    return;
  }
  std::copy(reply.data, reply.data + downloadCount_,
            transfer_.begin() + static_cast<std::ptrdiff_t>(downloadOffset_));
  downloadOffset_ += downloadCount_;
  if (downloadOffset_ < downloadTotal_) {
    Post(msg::Block{CodeNumber(C::kReadChunk), {}});
    return;
  }
  FinishDownload();
}

void Engine::FinishDownload() {
  downloadActive_ = false;
  std::uint8_t sum = downloadChecksum_;
  for (int i = 0; i < downloadTotal_; ++i)
    sum = static_cast<std::uint8_t>(sum + transfer_[static_cast<std::size_t>(i)]);
  if (sum != 0) {
    DownloadFailed(
        "the checksum does not match: the set changed during the download (another client?) "
        "or was damaged on the way");
    return;
  }
  header_.raw = downloadHeader_;
  const auto& raw = header_.raw;
  header_.currentPreset = raw[0];
  header_.lockEngaged = (raw[7] & 0x01) != 0;
  header_.useInitVol = (raw[7] & 0x04) != 0;
  header_.vrPresent = (raw[7] & 0x80) != 0;
  header_.adminMode = raw[8];
  header_.inputStatus = raw[15];
  currentPreset_ = header_.currentPreset;
  useInitVol_ = header_.useInitVol;
  lockCurrent_ = lockPrevious_ = header_.lockEngaged;
  adminCurrent_ = adminPrevious_ = header_.adminMode;
  image_.powerMode = 0;  // the processor does not report it
  DecodeDownloadBody(transfer_.data(), kDownloadBodySize, image_);

  if (!paramSetRead_ && header_.lockEngaged) {
    paramSetRead_ = true;
    paramSetShown_ = false;
    Post(msg::CloseWait{});
    Post(msg::ShowUnlock{});
    return;
  }
  paramSetRead_ = true;
  paramSetShown_ = true;
  observer_.OnLockAdmin(lockCurrent_, adminCurrent_);
  observer_.OnApplyAppMode(image_.byte(img::kAppMode));
  Post(msg::Distribute{});
  Post(msg::CloseWait{});
}

void Engine::OnEchoTypeReply(const Reply& reply) {
  if (reply.dataLength < kEchoReplySize) return;
  // The type decides which controls the echo page shows: a reply naming no echo type is
  // not taken over.
  const CatalogueRow& type = RowOf(row::kEchoType);
  if (reply.data[0] < type.min || reply.data[0] > type.max) return;
  std::copy(reply.data, reply.data + kEchoBytes, image_.bytes.begin() + img::kEchoType);
  for (int k = 0; k < kEchoWords; ++k) {
    image_.word(kEchoFirstWord + k) =
        static_cast<std::uint16_t>(Le16(reply.data + kEchoBytes + 2 * k));
  }
  Post(msg::Notice{NoticeWord(NoticeCode::kEchoTypeReloaded)});
}

void Engine::OnBoostReply(const Reply& reply) {
  int needed = 1;
  for (int count : kBoostBandCounts) needed += count * kWireBandSize;
  if (reply.dataLength < needed) return;
  const std::uint8_t* p = reply.data;
  image_.boost.switches = *p++;
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    for (int b = 0; b < kBoostBandCounts[static_cast<std::size_t>(ch)]; ++b) {
      image_.boost.bands[static_cast<std::size_t>(ch)][static_cast<std::size_t>(b)] =
          DecodeWireBand(p);
      p += kWireBandSize;
    }
  }
  Post(msg::Distribute{});
}

// --- upload ---------------------------------------------------------------------------------

void Engine::StartUpload(int slot) {
  if ((slot & kSlotMask) > kMaxSlot) return;
  uploadSlot_ = slot;
  // The name comes from the mode-name edit, except during a mass upload, which carries
  // each file's own name.
  if (!massRunning_) image_.name = SanitisePresetName(modeNameText_);
  if (!(massRunning_ && massFactory_)) {
    image_.presetNames[static_cast<std::size_t>(slot & kSlotMask)] = image_.name;
    observer_.OnPresetNames();
  }
  if (massRunning_) SetMassSlot(slot & kSlotMask, MassSlotState::kInProgress);
  BuildUploadBody(image_, uploadBody_);
  uploadOffset_ = 0;
  uploadActive_ = true;
  SendPayload(
      UploadStartPayload(kUploadBodySize, BodyChecksum(uploadBody_.data(), uploadBody_.size())),
      /*encoderPath=*/false);
}

void Engine::SendUploadChunk() {
  if (!uploadActive_) return;
  const int count = std::clamp(kUploadBodySize - uploadOffset_, 0, kUploadChunk);
  const Payload payload =
      UploadChunkPayload(uploadOffset_, uploadBody_.data() + uploadOffset_, count);
  uploadOffset_ += count;
  SendPayload(payload, /*encoderPath=*/false);
}

void Engine::SendUploadFinish() {
  if (!uploadActive_) return;
  int slotByte = uploadSlot_;
  if (massRunning_ && massFactory_) {
    slotByte = (uploadSlot_ & kSlotMask) + kFactorySlotOffset;
  } else {
    currentPreset_ = uploadSlot_ & kSlotMask;
  }
  SendPayload(UploadFinishPayload(static_cast<std::uint8_t>(slotByte), image_.powerMode),
              /*encoderPath=*/false);
}

void Engine::UploadFinished() {
  if (!massRunning_) {
    auto& b = image_.bytes;
    if (useInitVol_) {
      b[img::kMusicVolume] = b[img::kMusicInitVolume];
      b[img::kMicVolume] = b[img::kMicInitVolume];
      b[img::kEffectVolume] = b[img::kEffectInitLevel];
    }
    b[img::kMusicVolume] = std::min(b[img::kMusicVolume], b[img::kMusicMaxVolume]);
    b[img::kMicVolume] = std::min(b[img::kMicVolume], b[img::kMicMaxVolume]);
    TopBar();
    if (loadOkPending_) {
      loadOkPending_ = false;
      Say(TextId::kMsgLoadOk, CaptionKind::kEmpty);
    }
    return;
  }
  SetMassSlot(uploadSlot_ & kSlotMask, MassSlotState::kWritten);
  if (massRemaining_ > 0) {
    --massRemaining_;
    MassUploadFile(massRemaining_);
    return;
  }
  massRunning_ = false;
  if (massFactory_) {
    massFactory_ = false;
    Post(msg::CloseWait{});
    Say(TextId::kMsgSavedOk, CaptionKind::kSpace);
    return;
  }
  Post(msg::Block{CodeNumber(C::kRecallPreset), BlockArg::Value(0)});
}

// --- notices --------------------------------------------------------------------------------

void Engine::OnNotice(int code) {
  const int result = code & 0xFF;
  switch (code >> 8) {
    case 0x21:  // recall done: read the recalled preset
      massRunning_ = false;
      Post(msg::Block{CodeNumber(C::kReadStart), {}});
      return;
    case 0x32:  // reset all done: recall the current preset, which reads everything again
      massRunning_ = true;
      Post(msg::Block{CodeNumber(C::kRecallPreset), BlockArg::Value(currentPreset_)});
      Say(TextId::kMsgResetAllOk, CaptionKind::kSpace);
      return;
    case 0x20:
      UploadFinished();
      return;
    case 0x33:
      Say(TextId::kMsgSetLogoOk, CaptionKind::kSpace);
      return;
    case 0x08:
      if (result == 1) {
        lockPrevious_ = lockCurrent_;
        Say(TextId::kMsgModifyLockKeyOk, CaptionKind::kSpace);
      } else {
        lockCurrent_ = lockPrevious_;
        observer_.OnLockAdmin(lockCurrent_, adminCurrent_);
        Say(TextId::kMsgPasswordError, CaptionKind::kSpace);
      }
      return;
    case 0x09:
      Say(result == 1 ? TextId::kMsgModifyLockKeyPasswordOk : TextId::kMsgPasswordError,
          CaptionKind::kSpace);
      return;
    case 0x0A:
      if (result == 1) {
        adminPrevious_ = adminCurrent_;
        observer_.OnLockAdmin(lockCurrent_, adminCurrent_);
        Say(TextId::kMsgModifyAdminModeOk, CaptionKind::kSpace);
      } else {
        adminCurrent_ = adminPrevious_;
        observer_.OnLockAdmin(lockCurrent_, adminCurrent_);
        Say(TextId::kMsgPasswordError, CaptionKind::kSpace);
      }
      return;
    case 0x0B:
      Say(result == 1 ? TextId::kMsgModifyAdminPasswordOk : TextId::kMsgPasswordError,
          CaptionKind::kSpace);
      return;
    case 0x31:
      Say(TextId::kMsgSavedOk, CaptionKind::kSpace);
      return;
    case 0x34:
      observer_.OnEchoTypeReloaded();
      return;
    case 0x35:  // restored to factory: recall preset 0
      currentPreset_ = 0;
      Post(msg::Block{CodeNumber(C::kRecallPreset), BlockArg::Value(0)});
      Say(TextId::kMsgRestoreFactoryOk, CaptionKind::kSpace);
      return;
    default:
      return;
  }
}

}  // namespace tavelo
