#include "ui/app/TopBarRules.h"

#include <algorithm>
#include <array>

#include "params/LevelTable.h"

namespace tavelo::topbar {
namespace {

// The image byte, code and range of each level come from the core's level table.
LevelInfo Info(Level level, int slider, int valueLabel) {
  const VolumeLevel& v = VolumeLevelOf(static_cast<TopLevel>(level));
  const CatalogueRow& value = RowOf(v.value);
  return {level,
          slider,
          valueLabel,
          value.place.index,
          CodeNumber(value.carrier.code),
          value.max,
          v.maximum ? RowOf(*v.maximum).place.index : -1};
}

const std::array<LevelInfo, 3> kLevels = {{
    Info(Level::kMusic, kMusicSlider, kMusicValue),
    Info(Level::kMic, kMicSlider, kMicValue),
    Info(Level::kEffect, kEffectSlider, kEffectValue),
}};

}  // namespace

const LevelInfo& InfoOf(Level level) {
  return kLevels[static_cast<std::size_t>(level) - 1];
}

const LevelInfo* InfoOfSlider(int sliderId) {
  for (const auto& info : kLevels)
    if (info.slider == sliderId) return &info;
  return nullptr;
}

std::optional<int> SliderMoved(ParamImage& image, int sliderId, int position) {
  const LevelInfo* info = InfoOfSlider(sliderId);
  if (!info) return std::nullopt;
  position = std::clamp(position, 0, kSliderMax);
  if (image.byte(info->imageByte) == position) return std::nullopt;
  image.byte(info->imageByte) = static_cast<std::uint8_t>(position);
  return info->code;
}

std::optional<int> HotkeyStep(ParamImage& image, Level level, bool up) {
  if (image.byte(img::kOutputDisplay) != 0) return std::nullopt;
  const LevelInfo& info = InfoOf(level);
  const int current = image.byte(info.imageByte);
  int next = std::clamp(current + (up ? 1 : -1), 0, info.hotkeyMax);
  if (info.maxByte >= 0) next = std::min(next, static_cast<int>(image.byte(info.maxByte)));
  if (next == current) return std::nullopt;
  image.byte(info.imageByte) = static_cast<std::uint8_t>(next);
  return info.code;
}

}  // namespace tavelo::topbar
