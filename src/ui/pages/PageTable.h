#pragma once
// What a processing page is made of, as data: its band columns and equaliser section, and
// its parameter rows (sliders with readouts, lists, choice groups, on/off toggles), each
// naming the catalogue row of its value. A page is such a table plus the placement of its
// widgets; the page model (PageModel: BandEditor + ParamRows) carries every rule.
//
// How to add a page
//  1. Table (<Name>PageTable.{h,cpp}): control ids; band columns; an EqSection with one
//     EqView per band array the page can show (or none: a page without a graph); rows.
//     Every row names its catalogue row (place, range, readout format, code and argument
//     are the catalogue's); a page row says only what is the page's own:
//       - SetRule: a value that exists once per application set (output pages) picks its
//         set per handler; PageDefinition::autoDisables greys those rows out in AUTO;
//       - LockRule: kVrPresent (music tone) or kAdjustLock (microphone tone, echo and
//         reverb quick values), with PageModel::SetLockedValue for what is shown instead;
//       - ShowWhen: a row shown only for some values of another field (echo type); rows
//         may share a control id, the first whose condition holds drives the control;
//       - ToggleRow: any bit (a level's on/off bit 7, a switch-word bit, a boost switch),
//         litWhenClear where the button means "bypassed".
//  2. Page class: derive from EqPage (graph + band columns) or Page (no graph) and place
//     widgets with Binder().Slider / Edit / Readout / Button / List / Spin by control id.
//     Ranges, positions, texts and lit states come from the table through the model.
//  3. Hooks for what a table cannot say: BandEditor::onBandEvent (after a band, a reset or
//     a bypass is stored, before it is posted: the microphone link copy),
//     PageModel::ChooseView (microphone channel buttons; EqView colours follow),
//     PageModel::SetLockedValue, Page::Refresh / ReloadChanged / ApplyLanguage /
//     AppModeChanged / Picked overrides (call the base first).
//  4. Register the page for its navigation entry in PageFactory.cpp.
#include <cstdint>
#include <span>

#include "core/params/Catalogue.h"
#include "core/params/EqBand.h"
#include "core/params/ParamImage.h"

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

// Which application set a per-set value of the output pages uses. A per-set row names the
// catalogue row of set 1; the row of set s is InSet(param, s).
enum class SetRule {
  kNone,     // one value for all sets
  kHandler,  // set 0 while image 135 is set or in Sing, else set 1 (sliders, edits, EQ)
  kMode,     // set 0 in Sing, else set 1 (slope lists, level switches)
};
// The set a handler of `rule` uses now.
int SetIndexOf(SetRule rule, const ParamImage& image);
// The set a refresh loads a per-set row from: set 1 only in Dance with image 135 clear,
// so that in AUTO the rows show set 0 while the band columns show set 1.
int LoadSetIndex(const ParamImage& image);

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

// Who owns a value while the processor's front-panel controls do.
enum class LockRule {
  kNone,
  kVrPresent,   // ignored while the processor has the VR adjustment (music tone)
  kAdjustLock,  // ignored while the main window's adjustment lock is set
};

inline constexpr RowId kNoRow = row::kNamedCount;

// A row shown only while the value of `selector` is one of those whose bit is set in
// `values`; kNoRow = always shown.
struct ShowWhen {
  RowId selector = kNoRow;
  std::uint32_t values = 0;
};

// One parameter slider and its readout: range, readout format, image place, code and
// argument are the catalogue row's.
struct SliderRow {
  int id = kNoControl;
  int readoutId = kNoControl;
  RowId param = kNoRow;
  bool logarithmic = false;
  Link link = Link::kNone;
  int band = 0;
  EditRule editRule = EditRule::kNone;
  LockRule lock = LockRule::kNone;
  SetRule set = SetRule::kNone;
  ShowWhen show{};
  bool commitOnLeave = false;  // the readout edit commits when it loses the focus too
};

// A drop-down list whose index is the value (slope lists, type lists); it takes only the
// catalogue row's range.
struct ListRow {
  int id = kNoControl;
  RowId param = kNoRow;
  Link link = Link::kNone;
  int band = 0;
  SetRule set = SetRule::kNone;
};

// A group of buttons of which exactly one is pressed; the index is the value.
struct ChoiceGroup {
  std::span<const int> buttons{};
  RowId param = kNoRow;
};

// A button that switches one bit (a level's on bit, a switch-word bit, a boost switch):
// lit = bit set, or lit = bit clear where the button means "bypassed".
struct ToggleRow {
  int id = kNoControl;
  RowId param = kNoRow;
  bool litWhenClear = false;
  SetRule set = SetRule::kNone;
  ShowWhen show{};
};

// Where a page's bands are kept.
enum class BandStore { kImage, kBoost };

// One band array the page can show: the music page has one, the microphone page one per
// microphone, the output pages one per set, the boost page one per channel.
// Codes and arguments of band changes come from the catalogue's band rows.
struct EqView {
  BandStore store = BandStore::kImage;
  int set = 0;                                    // EqSet (image) or boost channel
  int eqBands = 0;                                // bands with a column
  int bandCount = 0;                              // all bands on the graph: equaliser bands,
                                                  // then the pass filters
  RowId enable = kNoRow;                          // the equaliser's switch-word bit (bypass)
  std::uint32_t curveColour = 0, bandColour = 0;  // 0xRRGGBB; 0 = the graph's defaults
};

// The page's equaliser: its band arrays, columns, bypass and reset.
struct EqSection {
  std::span<const EqView> views;      // empty: the page has no graph
  SetRule viewRule = SetRule::kNone;  // output pages: the view is the set of this rule;
                                      // otherwise view 0 or the one the page chose
  bool passFiltersShared = false;     // a pass filter's slider and list write every view
  bool perSet = false;                // band columns are greyed out in AUTO
  bool spinsShown = true;             // the output pages keep their Q spins hidden
  std::span<const BandColumnIds> columns;
  int passFocusSlider[2] = {kNoControl, kNoControl};  // slider focused by a click on band
                                                      // eqBands, eqBands + 1
  int passType[2] = {kBandLowPass, kBandHighPass};    // types of bands eqBands, eqBands + 1
  int bypassButton = kNoControl;                      // lit = bypassed = enable bit clear
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
  std::span<const ToggleRow> toggles;
  bool autoDisables = false;   // per-set rows and band columns are greyed out in AUTO
  bool altSwitchWord = false;  // switch bits (bypass, toggles) use the second switch word
                               // while image 135 is set (the output pages)
};

}  // namespace tavelo
