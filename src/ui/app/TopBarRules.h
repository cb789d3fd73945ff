#pragma once
// The top bar's level rules: the three level sliders and the volume hot keys. Plain
// functions over the image so they are reachable without the window. Where each level
// lives, its range and the code that carries it are its catalogue row's.
#include <optional>

#include "core/params/Catalogue.h"
#include "core/params/LevelTable.h"

namespace tavelo::topbar {

inline constexpr int kMusicSlider = 1003, kMicSlider = 1004, kEffectSlider = 1075;
inline constexpr int kMainSlider = 1006;
inline constexpr int kMusicValue = 1076, kMicValue = 1077, kEffectValue = 1078;
inline constexpr int kMainValue = 1079;

using Level = TopLevel;

struct LevelInfo {
  Level level;
  int slider;
  int valueLabel;
  RowId value;    // the level; its range is the slider's and the hot keys'
  RowId maximum;  // the stored maximum the hot keys also stop at; kNamedCount = none
};

inline constexpr RowId kNoMaximum = row::kNamedCount;

const LevelInfo& InfoOf(Level level);
const LevelInfo* InfoOfSlider(int sliderId);

// A level slider moved to `position`: stores it and returns the request to post, or nothing
// when the stored level already equals it.
std::optional<BlockRequest> SliderMoved(ParamImage& image, int sliderId, int position);

// A volume hot key (F1..F6): one step down or up, clamped to the level's range and stored
// maximum. Nothing happens while the output display selector is set, or when the level
// would not change. Returns the request to post.
std::optional<BlockRequest> HotkeyStep(ParamImage& image, Level level, bool up);

}  // namespace tavelo::topbar
