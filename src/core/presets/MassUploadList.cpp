#include "core/presets/MassUploadList.h"

#include <algorithm>

#include "core/presets/PresetFolder.h"

namespace tavelo {

void MassUploadList::LoadCandidates(const std::filesystem::path& folder) {
  candidates_ = ListPresetFolder(folder);
}

bool MassUploadList::Add(int index) {
  if (rows_.size() >= kMassUploadMaxRows || index < 0 ||
      index >= static_cast<int>(candidates_.size())) {
    return false;
  }
  rows_.push_back(candidates_[static_cast<std::size_t>(index)]);
  return true;
}

void MassUploadList::AddAll() {
  const std::size_t count = std::min(candidates_.size(), kMassUploadMaxRows);
  rows_.assign(candidates_.begin(), candidates_.begin() + static_cast<std::ptrdiff_t>(count));
}

bool MassUploadList::Delete(int row) {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return false;
  rows_.erase(rows_.begin() + row);
  return true;
}

}  // namespace tavelo
