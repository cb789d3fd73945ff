#include "ui/app/TopBarRules.h"

#include <algorithm>
#include <array>

namespace tavelo::topbar {
namespace {

constexpr std::array<LevelInfo, 4> kLevels = {{
    {Level::kMusic, kMusicSlider, kMusicValue, row::kMusicVolume, row::kMusicMaxVolume},
    {Level::kMic, kMicSlider, kMicValue, row::kMicVolume, row::kMicMaxVolume},
    {Level::kEffect, kEffectSlider, kEffectValue, row::kEffectVolume, kNoMaximum},
    {Level::kMain, kMainSlider, kMainValue, row::kMasterLevel, kNoMaximum},
}};

std::optional<int> Store(ParamImage& image, const CatalogueRow& r, int value) {
  if (ReadValue(image, r) == value) return std::nullopt;
  WriteValue(image, r, value);
  return CodeNumber(RequestFor(image, r).code);
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

std::optional<int> SliderMoved(ParamImage& image, int sliderId, int position) {
  const LevelInfo* info = InfoOfSlider(sliderId);
  if (!info) return std::nullopt;
  const CatalogueRow& r = RowOf(info->value);
  return Store(image, r, std::clamp(position, r.min, r.max));
}

std::optional<int> HotkeyStep(ParamImage& image, Level level, bool up) {
  if (ReadValue(image, RowOf(row::kOutputDisplay)) != 0) return std::nullopt;
  const LevelInfo& info = InfoOf(level);
  const CatalogueRow& r = RowOf(info.value);
  int next = std::clamp(ReadValue(image, r) + (up ? 1 : -1), r.min, r.max);
  if (info.maximum != kNoMaximum) next = std::min(next, ReadValue(image, RowOf(info.maximum)));
  return Store(image, r, next);
}

}  // namespace tavelo::topbar
