#pragma once
// The band half of the page framework: the band columns and the graph. Typed and stepped
// gain, Q and frequency, type buttons, Q spins, selection with its slider highlight,
// equaliser bypass and reset, graph drags, and the band array shown now (one of the
// section's views, chosen by the application set or by the page). Every change is
// written into the bands first and then announced as one block request.
//
// Extension points: onBandEvent runs after a band (or a reset, or a bypass) is stored and
// before it is posted — the microphone page copies linked bands there; ChooseView picks
// the band array on pages that choose it themselves.
#include <functional>
#include <string>
#include <vector>

#include "ui/pages/BandRules.h"
#include "ui/pages/ControlStore.h"
#include "ui/pages/PageTable.h"

namespace tavelo {

enum class BandEvent { kStored, kReset, kBypass };

class BandEditor {
 public:
  using Poster = std::function<void(const BlockRequest& request)>;

  BandEditor(const PageDefinition& def, ParamImage& image, ControlStore& controls, Poster post);

  std::function<void(BandEvent event, int band)> onBandEvent;
  std::function<void()> onRedraw;  // the graph must be drawn again

  bool HasBands() const { return !def_.eq.views.empty(); }
  const EqView& View() const;
  int ViewIndex() const;
  // Shows view `index` (pages that choose their band array themselves).
  void ChooseView(int index);
  // The bands live in the image, which the page edits in place.
  EqBand* Bands() const { return BandsOf(ViewIndex()); }
  EqBand* BandsOf(int view) const;
  int BandCount() const { return HasBands() ? View().bandCount : 0; }
  int EqBandCount() const { return HasBands() ? View().eqBands : 0; }
  int Selected() const { return selected_; }
  bool Bypassed() const { return bypassed_; }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  // Reloads the columns and the bypass state of the view shown now.
  void Refresh();
  // Shows again only what differs from the bands (skipping edits the user is typing in).
  void ReloadChanged();

  // By control id; false when the id is not a band control.
  bool SliderMoved(int id, int position);
  bool EditReturn(int id, const std::string& text);
  bool EditWheel(int id, bool up);
  bool ButtonClicked(int id);
  void QSpin(int band, int delta);  // delta +1 lowers, -1 raises
  bool SpinStep(int id, int delta);

  void SelectBand(int band);
  // The band a control belongs to (its column), or -1.
  int BandOfControl(int id) const;
  // The slider that takes the focus when band `band` is clicked on the graph.
  int FocusSliderOfBand(int band) const;

  // Graph drags (the mouse rules decide the values).
  void DragPoint(int band, int freq, int gain);
  void DragQ(int band, int q);

  // Bands taken from elsewhere (a filter file) into the columns of the view shown now:
  // each band that differs is stored and sent as an edit of it would be. False (nothing
  // changed) while the page edits no set.
  bool ImportBands(const std::vector<EqBand>& bands);
  // The readable name of the band array shown now ("music_eq", "boost.mic").
  std::string ViewName() const;

 private:
  struct Entry {
    int band;
    int role;  // 0 gain slider, 1 gain edit, 2 Q edit, 3 frequency edit, 4 type, 5 spin
    int sub;
  };
  const Entry* Find(int id) const;
  const BandColumnIds& Column(int band) const;
  bool HasColumn(int band) const;
  void ApplyGain(int band, int gain);
  void CommitGainEdit(int band, const std::string& text);
  void CommitQ(int band, QCommit how);
  void CommitFrequency(int band, const std::string& text);
  void ChooseType(int band, int type);
  void RefreshBand(int band, bool onlyChanged);
  void ShowText(int id, std::string text, bool onlyChanged);
  void ShowColumns();
  void ShowBypass();
  void ToggleBypass();
  void Reset();
  void Stored(int band);
  RowId BandRowOf(int band) const;
  void Send(const BlockRequest& request);
  bool EnableBit() const;
  void Redraw();

  PageDefinition def_;
  ParamImage& image_;
  ControlStore& controls_;
  Poster post_;
  std::vector<std::pair<int, Entry>> ids_;
  int chosenView_ = 0;
  int selected_ = -1;
  bool bypassed_ = false;
  bool enabled_ = true;
  std::vector<int> gainCache_;   // last gain slider position per band
  std::vector<int> chosenType_;  // type as chosen on the buttons per band
};

}  // namespace tavelo
