#include "ui/app/TopBarRules.h"

#include <algorithm>
#include <array>

namespace tavelo::topbar {
namespace {

constexpr std::array<LevelInfo, 3> kLevels = {{
    {Level::kMusic, kMusicSlider, kMusicValue, img::kMusicVolume, 2, 84, img::kMusicMaxVolume},
    {Level::kMic, kMicSlider, kMicValue, img::kMicVolume, 5, 80, img::kMicMaxVolume},
    {Level::kEffect, kEffectSlider, kEffectValue, img::kEffectVolume, 9, 99, -1},
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
