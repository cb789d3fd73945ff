#include "core/engine/MassUploadRun.h"

#include <algorithm>

#include "core/params/ParamImage.h"

namespace tavelo {

// File i goes into slot i: a run never holds more files than the processor stores presets.
static_assert(kMassUploadMaxFiles == static_cast<std::size_t>(kStoredPresets));

int MassUploadRun::Begin(const std::vector<std::string>& files, bool factory) {
  const std::size_t count = std::min(files.size(), kMassUploadMaxFiles);
  files_.assign(files.begin(), files.begin() + static_cast<std::ptrdiff_t>(count));
  running_ = true;
  factory_ = factory;
  remaining_ = static_cast<int>(count) - 1;
  report_ = MassUploadReport{factory, true, false, {}};
  for (std::size_t i = 0; i < count; ++i) {
    report_.entries.push_back({static_cast<int>(i), files_[i], MassSlotState::kNotReached});
  }
  return remaining_;
}

std::optional<int> MassUploadRun::NextFile() {
  if (remaining_ <= 0) return std::nullopt;
  return --remaining_;
}

const std::string* MassUploadRun::FileAt(int index) const {
  if (index < 0 || index >= static_cast<int>(files_.size())) return nullptr;
  return &files_[static_cast<std::size_t>(index)];
}

bool MassUploadRun::MarkSlot(int slot, MassSlotState state) {
  if (!report_.running || slot < 0 || slot >= static_cast<int>(report_.entries.size())) {
    return false;
  }
  report_.entries[static_cast<std::size_t>(slot)].state = state;
  if (state == MassSlotState::kWritten &&
      report_.SlotsIn(MassSlotState::kWritten).size() == report_.entries.size()) {
    report_.running = false;
    report_.complete = true;
  }
  return true;
}

bool MassUploadRun::StopReport() {
  if (!report_.running) return false;
  report_.running = false;
  return true;
}

}  // namespace tavelo
