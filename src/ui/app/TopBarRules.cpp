#include "ui/app/TopBarRules.h"

#include <algorithm>
#include <array>

#include "core/params/LevelTable.h"

namespace tavelo::topbar {
namespace {

// The three volumes are the core's level table; the master level sits beside them.
LevelInfo Volume(Level level, int slider, int valueLabel) {
  const VolumeLevel& v = VolumeLevelOf(level);
  return {level, slider, valueLabel, v.value, v.maximum.value_or(kNoMaximum)};
}

const std::array<LevelInfo, 4> kLevels = {{
    Volume(Level::kMusic, kMusicSlider, kMusicValue),
    Volume(Level::kMic, kMicSlider, kMicValue),
    Volume(Level::kEffect, kEffectSlider, kEffectValue),
    {Level::kMain, kMainSlider, kMainValue, row::kMasterLevel, kNoMaximum},
}};

std::optional<BlockRequest> Store(ParamImage& image, const CatalogueRow& r, int value) {
  if (ReadValue(image, r) == value) return std::nullopt;
  WriteValue(image, r, value);
  return RequestFor(image, r);
}

}  // namespace

const LevelInfo& InfoOf(Level level) {
  return kLevels[static_cast<std::size_t>(level) - 1];
}

const LevelInfo* InfoOfSlider(int sliderId) {
  for (const auto& info : kLevels)
    if (info.slider == sliderId) return &info;
  return nullptr;
}

std::optional<BlockRequest> SliderMoved(ParamImage& image, int sliderId, int position) {
  const LevelInfo* info = InfoOfSlider(sliderId);
  if (!info) return std::nullopt;
  const CatalogueRow& r = RowOf(info->value);
  return Store(image, r, std::clamp(position, r.min, r.max));
}

std::optional<BlockRequest> HotkeyStep(ParamImage& image, Level level, bool up) {
  if (level == Level::kMain) return std::nullopt;  // the volume keys step the three volumes
  if (ReadValue(image, RowOf(row::kOutputDisplay)) != 0) return std::nullopt;
  const LevelInfo& info = InfoOf(level);
  const CatalogueRow& r = RowOf(info.value);
  int next = std::clamp(ReadValue(image, r) + (up ? 1 : -1), r.min, r.max);
  if (info.maximum != kNoMaximum) next = std::min(next, ReadValue(image, RowOf(info.maximum)));
  return Store(image, r, next);
}

}  // namespace tavelo::topbar
