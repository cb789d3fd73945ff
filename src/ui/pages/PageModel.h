#pragma once
// The behaviour every processing page shares, over the page's table and the main
// window's parameter image: band columns with typed gain, Q and frequency, wheel steps,
// type buttons, selection and highlight, bypass, reset, parameter sliders with their
// readouts, lists, choice groups, and the refresh after a distribution. Each change is
// written into the image first and then announced as one block request (code, argument)
// through the poster; the main window encodes and sends it.
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "params/BlockEncoder.h"
#include "params/ParamImage.h"
#include "ui/pages/BandRules.h"
#include "ui/pages/ControlStore.h"
#include "ui/pages/PageTable.h"

namespace tavelo {

using BlockPoster = std::function<void(int code, const BlockArg& arg)>;

class PageModel {
 public:
  enum DataState { kNoData = 0, kData = 2 };

  PageModel(const PageDefinition& def, ParamImage& image, BlockPoster post);

  // Main-window flag: the processor has the VR adjustment (tone controls follow it).
  void SetVrPresent(std::function<bool()> vrPresent) { vrPresent_ = std::move(vrPresent); }

  ControlStore& Controls() { return controls_; }
  const ControlStore& Controls() const { return controls_; }
  const PageDefinition& Definition() const { return def_; }

  // Called whenever the graph has to be drawn again.
  std::function<void()> onGraphChanged;

  int State() const { return dataState_; }
  void SetState(int state) { dataState_ = state; }

  // Bands drawn on the graph.
  EqBand* Bands() { return image_.set(ShownSet()); }
  const EqBand* Bands() const { return image_.set(ShownSet()); }
  EqSet ShownSet() const { return def_.eq.chooseSet ? def_.eq.chooseSet(image_) : def_.eq.set; }
  int BandCount() const { return def_.eq.bandCount; }
  int EqBandCount() const { return def_.eq.eqBands; }
  // The tone bands as the page shows them (three or none).
  int ToneCount() const { return def_.tone.group < 0 ? 0 : def_.tone.count; }
  const EqBand* ToneBands() const { return toneView_.data(); }

  int Selected() const { return selected_; }
  bool Bypassed() const { return bypassed_; }

  // Reloads every control from the image (after a distribution or a status change);
  // the page then holds a downloaded set.
  void Refresh();
  // Shows the choice groups' stored values again (another window changed one).
  void ShowChoices();

  // User actions, by control id.
  void SliderMoved(int id, int position);
  void EditReturn(int id, const std::string& text);
  void EditFocusLost(int id, const std::string& text);
  void EditWheel(int id, const std::string& text, bool up);
  void ButtonClicked(int id);
  void ListChanged(int id, int index);
  void FocusGained(int id);
  void QSpin(int band, int delta);  // iDelta +1 lowers, -1 raises

  // Graph actions (the mouse rules decide the values).
  void SelectBand(int band);
  void DragPoint(int band, int freq, int gain);
  void DragPassFilter(int band, int freq);
  void DragQ(int band, int q);
  // The slider that takes the focus when band `band` is clicked on the graph.
  int FocusSliderOfBand(int band) const;
  // The band a control belongs to (its column, or a pass filter's slider), or -1.
  int BandOfControl(int id) const;

 private:
  enum class Role {
    kGainSlider,
    kGainEdit,
    kQEdit,
    kFreqEdit,
    kType,
    kQSpin,
    kSlider,
    kList,
    kChoice,
    kBypass,
    kReset
  };
  struct Entry {
    Role role;
    int index;  // band, row or group
    int sub;    // type index or choice index
  };

  void Index(int id, Role role, int index, int sub = 0);
  const Entry* Find(int id) const;

  // Band column rules.
  void ApplyGain(int band, int gain);
  void CommitGainEdit(int band, const std::string& text);
  void CommitQ(int band, QCommit how);
  void CommitFrequency(int band, const std::string& text);
  void ChooseType(int band, int type);
  void RefreshBand(int band);
  void PostBand(int band);

  // Parameter rows.
  int ReadField(const Field& field) const;
  void WriteField(const Field& field, int value);
  int RowValue(const SliderRow& row) const;  // what the slider shows now
  void ShowRow(int row, int position);
  void StoreRow(const SliderRow& row, int value);
  void CommitRowEdit(int row, const std::string& text);
  bool RowLocked(const SliderRow& row) const;
  void ApplyLink(Link link, int band, int value);
  void ShowChoice(int group, int index);

  void ToggleBypass();
  void ShowBypass();
  void Reset();
  void UpdateToneView();
  void SyncPassFilters();
  void Redraw();
  void Post(int code, int arg);

  PageDefinition def_;
  ParamImage& image_;
  BlockPoster post_;
  std::function<bool()> vrPresent_;
  ControlStore controls_;
  std::unordered_map<int, Entry> ids_;

  int dataState_ = kNoData;
  int selected_ = -1;
  bool bypassed_ = false;
  std::vector<int> gainCache_;   // last gain slider position per band
  std::vector<int> chosenType_;  // type as chosen on the buttons per band
  std::vector<int> rowCache_;    // last position per parameter slider
  std::array<EqBand, 3> toneView_{};
};

}  // namespace tavelo
