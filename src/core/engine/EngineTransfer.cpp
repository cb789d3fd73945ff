// Whole-set transfers (download after connecting and after a recall, preset upload) and
// what the panel does with the processor's notices.
#include <algorithm>
#include <utility>

#include "core/engine/Engine.h"
#include "core/link/CommandCode.h"
#include "core/params/Catalogue.h"
#include "core/params/UploadSlotByte.h"
#include "core/presets/PresetFolder.h"

namespace tavelo {

using C = CommandCode;

namespace {

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
  transfer_.Abort();
  link_.NoteFailure("reading the parameter set: " + why);
  ProtocolFailed(TextId::kStatusOpenFailed1);
}

bool Engine::ProbeSet() {
  if (!Quiet()) return false;
  probing_ = true;
  link_.SetAwaitedCode(CodeNumber(C::kReadStart));
  if (!link_.Send(CodeNumber(C::kReadStart), nullptr, 0, LinkSession::Idle::kKeep)) {
    probing_ = false;
    LinkDown();
    return false;
  }
  return true;
}

void Engine::OnStartReply(const Reply& reply) {
  const bool probe = std::exchange(probing_, false);
  std::string why;
  if (!transfer_.StartDownload(reply, why)) {
    DownloadFailed(why);
    return;
  }
  if (probe && paramSetRead_ && SameSetAnnounced(transfer_.Header(), header_)) {
    // The read stops here; the processor serves every chunk request on its own, so an
    // abandoned read leaves nothing behind on its side.
    transfer_.Abort();
    return;
  }
  Post(msg::Block{C::kReadChunk, {}});
}

void Engine::OnChunkReply(const Reply& reply) {
  switch (transfer_.TakeChunk(reply)) {
    case SetTransfer::Chunk::kIgnored:
      return;
    case SetTransfer::Chunk::kShort:
      DownloadFailed("the chunk at byte " + std::to_string(transfer_.Offset()) + " is short");
      return;
    case SetTransfer::Chunk::kMore:
      Post(msg::Block{C::kReadChunk, {}});
      return;
    case SetTransfer::Chunk::kComplete:
      FinishDownload();
      return;
  }
}

void Engine::FinishDownload() {
  if (!transfer_.FinishDownload()) {
    DownloadFailed(
        "the checksum does not match: the set changed during the download (another client?) "
        "or was damaged on the way");
    return;
  }
  header_ = transfer_.Header();
  currentPreset_ = header_.currentPreset;
  useInitVol_ = header_.useInitVol;
  lockCurrent_ = lockPrevious_ = header_.lockEngaged;
  adminCurrent_ = adminPrevious_ = header_.adminMode;
  image_.powerMode = 0;  // the processor does not report it
  DecodeDownloadBody(transfer_.Body(), kDownloadBodySize, image_);

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
  if ((slot & kSlotByteMask) > kLastPresetSlot) return;
  // The name comes from the mode-name edit, except during a mass upload, which carries
  // each file's own name.
  if (!mass_.Running()) image_.name = SanitisePresetName(modeNameText_);
  if (!(mass_.Running() && mass_.Factory())) {
    image_.presetNames[static_cast<std::size_t>(slot & kSlotByteMask)] = image_.name;
    observer_.OnPresetNames();
  }
  if (mass_.Running()) SetMassSlot(slot & kSlotByteMask, MassSlotState::kInProgress);
  SendPayload(transfer_.StartUpload(image_, slot), /*encoderPath=*/false);
}

void Engine::SendUploadFinish() {
  if (!transfer_.Uploading()) return;
  const int slot = transfer_.UploadSlot();
  int slotByte = slot;
  if (mass_.Running() && mass_.Factory()) {
    slotByte = (slot & kSlotByteMask) + kFactorySlotBase;
  } else {
    currentPreset_ = slot & kSlotByteMask;
  }
  SendPayload(UploadFinishPayload(static_cast<std::uint8_t>(slotByte), image_.powerMode),
              /*encoderPath=*/false);
}

void Engine::UploadFinished() {
  if (!mass_.Running()) {
    auto& b = image_.bytes;
    if (useInitVol_) {
      b[img::kMusicVolume] = b[img::kMusicInitVolume];
      b[img::kMicVolume] = b[img::kMicInitVolume];
      b[img::kEffectVolume] = b[img::kEffectInitLevel];
    }
    b[img::kMusicVolume] = std::min(b[img::kMusicVolume], b[img::kMusicMaxVolume]);
    b[img::kMicVolume] = std::min(b[img::kMicVolume], b[img::kMicMaxVolume]);
    TopBar();
    if (transfer_.TakeLoadOk()) Say(TextId::kMsgLoadOk, CaptionKind::kEmpty);
    return;
  }
  SetMassSlot(transfer_.UploadSlot() & kSlotByteMask, MassSlotState::kWritten);
  if (const auto next = mass_.NextFile()) {
    MassUploadFile(*next);
    return;
  }
  const bool factory = mass_.Factory();
  mass_.End();
  if (factory) {
    Post(msg::CloseWait{});
    Say(TextId::kMsgSavedOk, CaptionKind::kSpace);
    return;
  }
  Post(msg::Block{C::kRecallPreset, 0});
}

// --- notices --------------------------------------------------------------------------------

void Engine::OnNotice(int code) {
  const int result = code & 0xFF;
  switch (code >> 8) {
    case 0x21:  // recall done: read the recalled preset
      mass_.SetRunning(false);
      Post(msg::Block{C::kReadStart, {}});
      return;
    case 0x32:  // reset all done: recall the current preset, which reads everything again
      mass_.SetRunning(true);
      Post(msg::Block{C::kRecallPreset, currentPreset_});
      Say(TextId::kMsgResetAllOk, CaptionKind::kSpace);
      return;
    case 0x20:
      UploadFinished();
      return;
    case 0x33:
      Say(TextId::kMsgSetLogoOk, CaptionKind::kSpace);
      return;
    case 0x08:
      OnLockNotice(result);
      return;
    case 0x09:
      Say(result == 1 ? TextId::kMsgModifyLockKeyPasswordOk : TextId::kMsgPasswordError,
          CaptionKind::kSpace);
      return;
    case 0x0A:
      OnAdminNotice(result);
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
      Post(msg::Block{C::kRecallPreset, 0});
      Say(TextId::kMsgRestoreFactoryOk, CaptionKind::kSpace);
      return;
    default:
      return;
  }
}

// The lock key was changed (1) or refused: refused rolls the lock state back.
void Engine::OnLockNotice(int result) {
  if (result == 1) {
    lockPrevious_ = lockCurrent_;
    Say(TextId::kMsgModifyLockKeyOk, CaptionKind::kSpace);
    return;
  }
  lockCurrent_ = lockPrevious_;
  observer_.OnLockAdmin(lockCurrent_, adminCurrent_);
  Say(TextId::kMsgPasswordError, CaptionKind::kSpace);
}

// The admin mode was changed (1) or refused: refused rolls it back.
void Engine::OnAdminNotice(int result) {
  if (result == 1) {
    adminPrevious_ = adminCurrent_;
    observer_.OnLockAdmin(lockCurrent_, adminCurrent_);
    Say(TextId::kMsgModifyAdminModeOk, CaptionKind::kSpace);
    return;
  }
  adminCurrent_ = adminPrevious_;
  observer_.OnLockAdmin(lockCurrent_, adminCurrent_);
  Say(TextId::kMsgPasswordError, CaptionKind::kSpace);
}

}  // namespace tavelo
