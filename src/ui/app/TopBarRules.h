#pragma once
// The top bar's level rules: the three level sliders and the volume hot keys. Plain
// functions over the image so they are reachable without the window.
#include <optional>

#include "params/ParamImage.h"

namespace tavelo::topbar {

inline constexpr int kMusicSlider = 1003, kMicSlider = 1004, kEffectSlider = 1075;
inline constexpr int kMainSlider = 1006;
inline constexpr int kMusicValue = 1076, kMicValue = 1077, kEffectValue = 1078;
inline constexpr int kMainValue = 1079;
inline constexpr int kSliderMax = 84;

enum class Level { kMusic = 1, kMic = 2, kEffect = 3 };

struct LevelInfo {
  Level level;
  int slider;
  int valueLabel;
  int imageByte;
  int code;       // block code the level is sent with
  int hotkeyMax;  // hot keys stop here (and at the stored maximum where there is one)
  int maxByte;    // image byte of the stored maximum, -1 = none
};

const LevelInfo& InfoOf(Level level);
const LevelInfo* InfoOfSlider(int sliderId);

// A level slider moved to `position`: stores it and returns the code to post, or nothing
// when the stored level already equals it.
std::optional<int> SliderMoved(ParamImage& image, int sliderId, int position);

// A volume hot key (F1..F6): one step down or up, clamped to the level's range and stored
// maximum. Nothing happens while the output display selector (image 135) is set, or when
// the level would not change. Returns the code to post.
std::optional<int> HotkeyStep(ParamImage& image, Level level, bool up);

}  // namespace tavelo::topbar
