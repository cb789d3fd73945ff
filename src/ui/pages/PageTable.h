#pragma once
// What a processing page is made of, as data: its band columns, its equaliser section
// (set id, switch bit, bypass and reset buttons, default frequencies), its parameter
// sliders with their readouts and the image field, code and argument each one posts,
// its lists and its choice groups. A page is a table plus a few page-specific hooks.
#include <span>

#include "params/EqBand.h"
#include "params/ParamImage.h"
#include "ui/pages/Readout.h"

namespace tavelo {

inline constexpr int kNoControl = 0;

// Band column of equaliser band k: the controls listed under it on the page.
struct BandColumnIds {
  int gainSlider = kNoControl;
  int gainEdit = kNoControl;
  int qEdit = kNoControl;
  int freqEdit = kNoControl;
  int typeButtons[3] = {kNoControl, kNoControl, kNoControl};  // "P ", "LS", "HS"
  int qSpin = kNoControl;                                     // not on every page
};

// Where a control's value is kept in the image.
enum class FieldKind { kNone, kByte, kWord };
struct Field {
  FieldKind kind = FieldKind::kNone;
  int index = 0;
};

// What else a value drives besides its image field.
enum class Link {
  kNone,
  kPassFrequency,  // frequency of pass-filter band `band` of the page's band array
  kPassSlope,      // slope of pass-filter band `band`
  kToneGain,       // gain (position - 240) of tone band `band`
  kToneFrequency,  // frequency of tone band `band`
};

// How Return in a slider's readout edit is committed; kNone = a read-only display.
enum class EditRule { kNone, kFrequency, kToneGain };

// One parameter slider and its readout.
struct SliderRow {
  int id = kNoControl;
  int readoutId = kNoControl;
  int min = 0;
  int max = 0;
  bool logarithmic = false;
  ReadoutFormat format;
  Field field;
  int code = 0;
  int arg = 0;
  Link link = Link::kNone;
  int band = 0;
  EditRule editRule = EditRule::kNone;
  bool vrLocked = false;  // ignored while the processor has the VR adjustment
};

// A drop-down list whose index is stored as is (slope lists).
struct ListRow {
  int id = kNoControl;
  Field field;
  int code = 0;
  int arg = 0;
  Link link = Link::kNone;
  int band = 0;
};

// A group of buttons of which exactly one is pressed; the index is the stored value.
struct ChoiceGroup {
  std::span<const int> buttons;
  Field field;
  int code = 0;
  int arg = 0;
};

// The page's equaliser: which set it edits and how it is bypassed and reset.
struct EqSection {
  int setId = 0;         // low byte of the code-3 and code-4 arguments
  EqSet set = kEqMusic;  // the band array in the image
  // Pages whose shown set follows the application mode (the output pages) name it here;
  // null = always `set`.
  EqSet (*chooseSet)(const ParamImage& image) = nullptr;
  int eqBands = 0;    // bands with a column (the rest are pass filters)
  int bandCount = 0;  // all bands drawn on the graph
  std::span<const BandColumnIds> columns;
  std::span<const int> defaultFrequencies;            // per equaliser band, for reset
  int passFocusSlider[2] = {kNoControl, kNoControl};  // slider focused by a click on band
                                                      // eqBands, eqBands + 1
  int passType[2] = {kBandLowPass, kBandHighPass};    // types of bands eqBands, eqBands + 1
  int bypassButton = kNoControl;
  int switchBit = 0;
  int resetButton = kNoControl;
};

// Tone bands drawn on the graph besides the equaliser (not clickable).
struct ToneSection {
  int group = -1;  // index into ParamImage::toneGroups; -1 = none
  int firstBand = 1;
  int count = 0;
};

struct PageDefinition {
  EqSection eq;
  ToneSection tone;
  std::span<const SliderRow> sliders;
  std::span<const ListRow> lists;
  std::span<const ChoiceGroup> choices;
};

// Block codes the pages post (the main window encodes them).
namespace code {
inline constexpr int kMusicBlock = 2;
inline constexpr int kEqBand = 3;
inline constexpr int kEqReset = 4;
inline constexpr int kTone = 12;
inline constexpr int kSwitchWord = 15;
inline constexpr int kPassFilter = 17;
}  // namespace code

}  // namespace tavelo
