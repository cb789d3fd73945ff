#pragma once
// The parameter half of the page framework: every value of a page that is not a band
// column. Sliders with their readouts (and the edits beside them), lists, choice groups
// and on/off toggles, each a row of the page table naming where its value lives and what
// it posts. Rows carry the per-set choice, the greyed-out state in AUTO, the VR rule and
// the adjustment lock, and the condition under which they are shown; the page adds none
// of that in code.
//
// Extension points: SetLockedValue supplies what a locked row shows instead of its field
// (the quick values of the echo and reverb pages); rows that share a control id with
// different ShowWhen conditions lay a page out by a value (the echo type).
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/pages/BandEditor.h"
#include "ui/pages/ControlStore.h"
#include "ui/pages/PageTable.h"

namespace tavelo {

// Flags of the main window that rows follow.
struct PageFlags {
  std::function<bool()> vrPresent;     // the processor has the VR adjustment
  std::function<bool()> adjustLocked;  // its front-panel controls own the quick values
};

class ParamRows {
 public:
  using Poster = std::function<void(const BlockRequest& request)>;

  ParamRows(const PageDefinition& def, ParamImage& image, ControlStore& controls, BandEditor& bands,
            Poster post);

  void SetFlags(PageFlags flags) { flags_ = std::move(flags); }
  // What a locked slider shows (its control id); nothing = its field as stored.
  void SetLockedValue(std::function<std::optional<int>(int id)> value) {
    lockedValue_ = std::move(value);
  }
  std::function<void()> onRedraw;

  // Loads every row from the image; with onlyChanged, only the controls whose value
  // differs from what they show, and never an edit the user is typing in.
  void Refresh(bool onlyChanged);
  // The choice groups show their stored values again.
  void ShowChoices();
  // Rows of per-set values are greyed out while the page edits no set (AUTO).
  void SetPerSetEnabled(bool enabled);

  // By control id; false when the id is not one of the rows'.
  bool SliderMoved(int id, int position);
  bool EditReturn(int id, const std::string& text);
  bool ButtonClicked(int id);
  bool ListChanged(int id, int index);
  // The pass-filter band a row's control drives, or -1.
  int BandOfControl(int id) const;
  // A pass filter's marker was dragged: as if its slider had moved.
  void DragPassFilter(int band, int freq);
  // The frequency range a pass filter's marker keeps to.
  std::pair<int, int> PassRange(int band) const;

  // The pass filters are memory-only bands: their type is fixed by position, their
  // frequency and slope live in the image, so they are derived from there: those of every
  // view, or (`shownOnly`, at a redraw) of the view on show. A view's frequency follows
  // its filter word only when the word changed since it was last followed, so a view whose
  // filter a typed frequency left alone keeps it until the word changes elsewhere or a
  // new parameter set arrives (ForgetPassFilters).
  void SyncPassFilters(bool shownOnly = false);
  void ForgetPassFilters();
  // The tone bands as drawn (three or none).
  int ToneCount() const { return def_.tone.group < 0 ? 0 : def_.tone.count; }
  const EqBand* ToneBands();

 private:
  enum class Kind { kSlider, kReadoutEdit, kList, kChoice, kToggle };
  struct Entry {
    Kind kind;
    int row;
    int sub;
  };

  const SliderRow* ActiveSlider(int id, int* index = nullptr) const;
  const Entry* Find(int id, Kind kind) const;
  bool Locked(LockRule lock) const;
  bool Disabled(SetRule set) const;
  int ValueOf(const SliderRow& row) const;  // what the slider shows on a refresh
  void ShowSlider(int r, int position, bool onlyChanged);
  // `typed`: the value came from the readout edit, not the slider.
  void StoreSlider(const SliderRow& row, int value, bool typed);
  void Send(const BlockRequest& request);
  void CommitReadoutEdit(int r, const std::string& text);
  void ApplyLink(Link link, int band, int value, SetRule set, bool typed = false);
  void ShowChoice(int group, int index);
  void Redraw();

  PageDefinition def_;
  ParamImage& image_;
  ControlStore& controls_;
  BandEditor& bands_;
  Poster post_;
  PageFlags flags_;
  std::function<std::optional<int>(int id)> lockedValue_;
  std::vector<std::pair<int, Entry>> ids_;
  std::vector<int> sliderCache_;  // last position per slider row
  // The filter word each view's pass-filter frequency last followed, per view and row.
  std::vector<int> passFollowed_;
  int& PassFollowed(int view, int r);
  int PassWord(const SliderRow& row, int view) const;
  bool perSetEnabled_ = true;
  std::array<EqBand, 3> toneView_{};
};

}  // namespace tavelo
