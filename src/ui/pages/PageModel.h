#pragma once
// The behaviour every processing page shares, over the page's table and the main window's
// parameter image. Two halves: BandEditor (band columns and the graph) and ParamRows
// (every other value); this class routes user actions to them by control id, owns the
// control store both write into, and holds the page's data state.
//
// Each change is written into the image first and then announced as one block request
// (code, argument) through the poster; the main window encodes and sends it.
//
// Extension points for pages: BandSide().onBandEvent (after a band is stored, before it is
// posted), ChooseView (a band array the page picks itself), SetLockedValue (what a locked
// row shows), SetFlags (the main window's VR and adjustment-lock flags), ApplyAppMode
// (greys out per-set controls in AUTO).
#include <functional>
#include <string>

#include "core/params/BlockEncoder.h"
#include "core/params/ParamImage.h"
#include "ui/pages/BandEditor.h"
#include "ui/pages/ControlStore.h"
#include "ui/pages/PageTable.h"
#include "ui/pages/ParamRows.h"

namespace tavelo {

using BlockPoster = std::function<void(const BlockRequest& request)>;

class PageModel {
 public:
  // Data state: 0 until the first complete parameter set arrived (the graph shows its
  // empty grid and ignores the mouse meanwhile), then 2.
  enum DataState { kNoData = 0, kData = 2 };

  PageModel(const PageDefinition& def, ParamImage& image, BlockPoster post);

  // The main window's VR and adjustment-lock flags, which locked rows follow.
  void SetFlags(PageFlags flags);
  // Only the VR flag (the music page's tone controls follow it).
  void SetVrPresent(std::function<bool()> vrPresent);
  void SetLockedValue(std::function<std::optional<int>(int id)> value) {
    rows_.SetLockedValue(std::move(value));
  }

  ControlStore& Controls() { return controls_; }
  const ControlStore& Controls() const { return controls_; }
  const PageDefinition& Definition() const { return def_; }
  BandEditor& BandSide() { return bands_; }
  ParamRows& Rows() { return rows_; }

  // Called whenever the graph has to be drawn again.
  std::function<void()> onGraphChanged;
  // A click on one of the page's own buttons (none of its table's controls): the
  // microphone buttons, the boost channel buttons, ...
  std::function<void(int id)> onButton;
  // A page may take a list's choice itself (the echo type asks the processor for the
  // type's values); true = taken, the list's row does nothing.
  std::function<bool(int id, int index)> onListChosen;

  int State() const { return dataState_; }
  void SetState(int state) { dataState_ = state; }
  // A new parameter set: every view's pass filters follow its filter words again.
  void ForgetPassFilters() { rows_.ForgetPassFilters(); }

  // Bands drawn on the graph.
  EqBand* Bands() { return bands_.HasBands() ? bands_.Bands() : nullptr; }
  const EqBand* Bands() const { return bands_.HasBands() ? bands_.Bands() : nullptr; }
  int BandCount() const { return bands_.BandCount(); }
  int EqBandCount() const { return bands_.EqBandCount(); }
  void ChooseView(int index) { bands_.ChooseView(index); }
  int ToneCount() const { return rows_.ToneCount(); }
  const EqBand* ToneBands() { return rows_.ToneBands(); }

  int Selected() const { return bands_.Selected(); }
  bool Bypassed() const { return bands_.Bypassed(); }
  // False while the page edits no set (AUTO on the output pages): the graph and the
  // per-set controls then ignore the user.
  bool Enabled() const { return bands_.Enabled(); }

  // Reloads every control from the image (at start-up, after a distribution, after a
  // mode change). It does not change the data state.
  void Refresh();
  // Shows again only what differs from the image, leaving edits the user is typing in
  // (a front-panel change, another window's change of a shared value).
  void ReloadChanged();
  // Shows the choice groups' stored values again (another window changed one).
  void ShowChoices() { rows_.ShowChoices(); }
  // The application mode changed: per-set controls are greyed out in AUTO.
  void ApplyAppMode();

  // User actions, by control id.
  void SliderMoved(int id, int position);
  void EditReturn(int id, const std::string& text);
  void EditFocusLost(int id, const std::string& text);
  void EditWheel(int id, const std::string& text, bool up);
  void ButtonClicked(int id);
  void ListChanged(int id, int index);
  void FocusGained(int id);
  void QSpin(int band, int delta) { bands_.QSpin(band, delta); }  // +1 lowers, -1 raises
  void SpinStep(int id, int delta);

  // Graph actions (the mouse rules decide the values).
  void SelectBand(int band) { bands_.SelectBand(band); }
  void DragPoint(int band, int freq, int gain) { bands_.DragPoint(band, freq, gain); }
  void DragPassFilter(int band, int freq);
  void DragQ(int band, int q) { bands_.DragQ(band, q); }
  // The slider that takes the focus when band `band` is clicked on the graph.
  int FocusSliderOfBand(int band) const { return bands_.FocusSliderOfBand(band); }
  // The band a control belongs to (its column, or a pass filter's controls), or -1.
  int BandOfControl(int id) const;
  // Whether `id` is an edit whose value the mouse wheel steps.
  bool WheelEdit(int id) const;

 private:
  void Redraw();
  void Post(const BlockRequest& request);

  PageDefinition def_;
  ParamImage& image_;
  BlockPoster post_;
  ControlStore controls_;
  BandEditor bands_;
  ParamRows rows_;
  int dataState_ = kNoData;
  PageFlags flags_;
};

}  // namespace tavelo
