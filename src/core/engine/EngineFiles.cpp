// Parameter files on the PC: Save To PC, Load From PC, load into a slot, mass upload.
#include <algorithm>

#include "core/engine/Engine.h"
#include "core/link/CommandCode.h"
#include "core/params/UploadSlotByte.h"
#include "core/presets/PresetFolder.h"

namespace tavelo {

using C = CommandCode;

std::filesystem::path Engine::ResolvePcFile(int row, const std::string& path) const {
  if (!path.empty()) return path;  // a file chosen by path, as given
  if (row < 0 || row >= static_cast<int>(pcFiles_.size())) return {};
  return paramDir_ / pcFiles_[static_cast<std::size_t>(row)];
}

bool Engine::ReadPcFile(const std::filesystem::path& path, ParamFileData& out) const {
  if (path.empty()) return false;
  ParamFileResult result = ReadParamFile(path);
  if (!result.ok()) return false;
  out = result.data;
  return true;
}

void Engine::OnSaveToPc(const std::string& pcName) {
  if (pcFiles_.size() >= kMaxPresetFiles) return;
  switch (ValidatePcName(pcName)) {
    case PcNameCheck::kEmpty:
      Say(TextId::kMsgPcNameEmpty, CaptionKind::kEmpty);
      return;
    case PcNameCheck::kInvalidCharacter:
      Say(TextId::kMsgPcNameInvalid, CaptionKind::kEmpty);
      return;
    case PcNameCheck::kReservedName:
      Say(TextId::kMsgPcNameReserved, CaptionKind::kEmpty);
      return;
    case PcNameCheck::kOk:
      break;
  }
  image_.name = SanitisePresetName(modeNameText_);
  const FileResult saved = SaveParamFile(paramDir_, pcName, image_);
  // Only a file that exists gets a row: a failed save must not look like a saved preset.
  if (saved.ok && std::find(pcFiles_.begin(), pcFiles_.end(), pcName) == pcFiles_.end()) {
    pcFiles_.push_back(pcName);
    observer_.OnPcFiles();
  }
  if (saved.ok) {
    Say(TextId::kMsgSaveOk, CaptionKind::kAppTitle);
  } else {
    Say(TextId::kMsgSaveFailed, CaptionKind::kAppTitle, {}, saved.message);
  }
}

// Reads a PC file into the image and shows it on every page; a bad file is refused with the
// load-fail message and changes nothing.
bool Engine::LoadPcFileAndShow(int row, const std::string& givenPath) {
  const std::filesystem::path path = ResolvePcFile(row, givenPath);
  if (path.empty()) return false;
  ParamFileData data;
  if (!ReadPcFile(path, data)) {
    Say(TextId::kMsgLoadFail, CaptionKind::kAppTitle);
    return false;
  }
  ApplyLoadedFile(image_, data);
  Distribute();
  return true;
}

void Engine::OnLoadFromPc(const msg::LoadFromPc& m) {
  if (!LoadPcFileAndShow(m.row, m.path)) return;
  // The loaded preset replaces the processor's current one. "Load OK" waits for the
  // processor to confirm it; without a link the file was only loaded into the panel.
  Post(msg::Block{C::kWriteStart, currentPreset_ | kFromFileFlag});
  if (state_ == ConnState::kConnected) {
    transfer_.AnnounceLoadOk();
  } else {
    Say(TextId::kMsgLoadOk, CaptionKind::kEmpty);
  }
}

void Engine::OnLoadIntoSlot(const msg::LoadIntoSlot& m) {
  if (state_ != ConnState::kConnected || m.slot < 0 || m.slot > kLastPresetSlot) return;
  if (!LoadPcFileAndShow(m.row, m.path)) return;
  currentPreset_ = m.slot;
  Post(msg::Block{C::kWriteStart, m.slot});
}

void Engine::OnMassUpload(const msg::MassUpload& m) {
  if (mass_.Running() || m.files.empty() || state_ != ConnState::kConnected) return;
  const int first = mass_.Begin(m.files, m.factory);
  observer_.OnMassUploadProgress(mass_.Report());
  // The wait dialog opens first, so a bad first file can close it again.
  OpenWaitDialog(WaitKind::kSaving);
  MassUploadFile(first);
}

void Engine::MassUploadFile(int index) {
  const std::string* name = mass_.FileAt(index);
  if (!name || state_ != ConnState::kConnected) return;
  ParamFileData data;
  if (!ReadPcFile(paramDir_ / *name, data)) {
    // The slots after this one were written already: say so with the file's message.
    MassUploadStopped(TextId::kMsgFileLoadFail, std::filesystem::path(*name).filename().string());
    mass_.End();
    Post(msg::CloseWait{});
    return;
  }
  // The file's own name travels with it; the current volumes stay.
  ApplyLoadedFile(image_, data);
  Post(msg::Block{C::kWriteStart, index});
}

void Engine::SetMassSlot(int slot, MassSlotState state) {
  if (mass_.MarkSlot(slot, state)) observer_.OnMassUploadProgress(mass_.Report());
}

// The run ends before every slot was written: the message says which slots hold what.
void Engine::MassUploadStopped(TextId id, const std::string& fileName) {
  if (!mass_.StopReport()) return;
  observer_.OnMassUploadProgress(mass_.Report());
  Say(id, CaptionKind::kAppTitle, fileName, DescribeMassUpload(mass_.Report(), lang_));
}

}  // namespace tavelo
