#pragma once
// The rules every page applies to typed and stepped band values. Plain functions over
// the text the user left in an edit and the band as stored, so each rule is reachable
// without a widget.
#include <optional>
#include <string_view>

#include "core/params/EqBand.h"

namespace tavelo {

inline constexpr int kTypedQFallback = 7;      // an out-of-range typed Q becomes 0.7
inline constexpr int kGainSliderCentre = 240;  // slider position of 0 dB

// Text to number the way the edits always have: a leading number, anything else reads 0.
double ReadNumber(std::string_view text);
int ReadInteger(std::string_view text);

// A typed gain in tenths, or nothing when the text must be ignored: more than 5
// characters, or outside +-24.0 dB after rounding to tenths (half away from zero), so
// that 24.04 is taken as 24.0 while 24.05 is refused.
std::optional<int> ParseTypedGain(std::string_view text);

// A wheel step on a gain edit: +-1 tenth, or nothing when it would leave +-24.0 dB.
std::optional<int> StepGain(int gain, bool up);

// The largest Q (tenths) of a band type: shelves 2.0, everything else 99.9.
int MaxQForType(int type);

enum class QCommit {
  kTyped,  // Return in the edit or a type change
  kLower,  // spin iDelta +1, wheel towards the user
  kRaise,  // spin iDelta -1, wheel away from the user
};

// The Q (tenths) that a commit of `text` yields for a band whose chosen type is `type`.
int CommitQ(std::string_view text, int type, QCommit how);

// A typed frequency, or nothing when it lies outside 20..20000 Hz (the edit then shows
// the stored frequency again).
std::optional<int> ParseTypedFrequency(std::string_view text);

// A wheel step on a frequency edit: +-1 Hz, or nothing outside 20..20000.
std::optional<int> StepFrequency(int freq, bool up);

// Gain slider position <-> gain in tenths (top +24.0 dB, middle 0.0 dB).
inline int GainToSlider(int gain) {
  return kGainSliderCentre - gain;
}
inline int SliderToGain(int position) {
  return kGainSliderCentre - position;
}

}  // namespace tavelo
