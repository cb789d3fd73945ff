#include "ui/pages/BandEditor.h"

#include <algorithm>

#include "core/params/Defaults.h"
#include "core/params/Readout.h"
#include "ui/pages/PageValues.h"

namespace tavelo {
namespace {

enum Role { kGainSlider, kGainEdit, kQEdit, kFreqEdit, kType, kSpin };

std::size_t At(int i) {
  return static_cast<std::size_t>(i);
}

}  // namespace

BandEditor::BandEditor(const PageDefinition& def, ParamImage& image, ControlStore& controls,
                       Poster post)
    : def_(def), image_(image), controls_(controls), post_(std::move(post)) {
  const auto& eq = def_.eq;
  const auto index = [this](int id, int band, int role, int sub = 0) {
    if (id != kNoControl) ids_.push_back({id, Entry{band, role, sub}});
  };
  for (int k = 0; k < static_cast<int>(eq.columns.size()); ++k) {
    const auto& c = eq.columns[At(k)];
    index(c.gainSlider, k, kGainSlider);
    index(c.gainEdit, k, kGainEdit);
    index(c.qEdit, k, kQEdit);
    index(c.freqEdit, k, kFreqEdit);
    for (int t = 0; t < 3; ++t) index(c.typeButtons[t], k, kType, t);
    index(c.qSpin, k, kSpin);
    controls_.SetRange(c.gainSlider, 0, 2 * kBandGainLimit, false);
  }
  int most = 0;
  for (const auto& view : eq.views) most = std::max(most, view.bandCount);
  gainCache_.assign(At(most), kGainSliderCentre);
  chosenType_.assign(At(most), 0);
  if (HasBands()) bypassed_ = View().enable != kNoRow && !EnableBit();
}

const BandEditor::Entry* BandEditor::Find(int id) const {
  for (const auto& [key, entry] : ids_)
    if (key == id) return &entry;
  return nullptr;
}

// ---- views -----------------------------------------------------------------------------

int BandEditor::ViewIndex() const {
  const int count = static_cast<int>(def_.eq.views.size());
  const int index =
      def_.eq.viewRule != SetRule::kNone ? SetIndexOf(def_.eq.viewRule, image_) : chosenView_;
  return std::clamp(index, 0, std::max(count - 1, 0));
}

const EqView& BandEditor::View() const {
  return def_.eq.views[At(ViewIndex())];
}

EqBand* BandEditor::BandsOf(int view) const {
  const EqView& v = def_.eq.views[At(view)];
  if (v.store == BandStore::kBoost) return image_.boost.bands[At(v.set)].data();
  return image_.set(static_cast<EqSet>(v.set));
}

void BandEditor::ChooseView(int index) {
  if (!HasBands() || index == chosenView_ || index < 0 ||
      index >= static_cast<int>(def_.eq.views.size()))
    return;
  chosenView_ = index;
  if (selected_ >= BandCount()) selected_ = -1;
  Refresh();
}

void BandEditor::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  ShowColumns();
}

// ---- refresh ---------------------------------------------------------------------------

const BandColumnIds& BandEditor::Column(int band) const {
  return def_.eq.columns[At(band)];
}

bool BandEditor::HasColumn(int band) const {
  return band >= 0 && band < static_cast<int>(def_.eq.columns.size()) && band < EqBandCount();
}

void BandEditor::ShowColumns() {
  for (int k = 0; k < static_cast<int>(def_.eq.columns.size()); ++k) {
    const auto& c = Column(k);
    const bool shown = k < EqBandCount();
    for (int id : {c.gainSlider, c.gainEdit, c.qEdit, c.freqEdit, c.qSpin, c.typeButtons[0],
                   c.typeButtons[1], c.typeButtons[2]}) {
      if (id == kNoControl) continue;
      controls_.SetVisible(id, shown && (id != c.qSpin || def_.eq.spinsShown));
      controls_.SetEnabled(id, enabled_);
    }
  }
  for (int id : {def_.eq.bypassButton, def_.eq.resetButton})
    if (id != kNoControl) controls_.SetEnabled(id, enabled_);
}

void BandEditor::Refresh() {
  if (!HasBands()) return;
  ShowColumns();
  for (int k = 0; k < EqBandCount() && k < static_cast<int>(def_.eq.columns.size()); ++k)
    RefreshBand(k, false);
  ShowBypass();
  Redraw();
}

void BandEditor::ReloadChanged() {
  if (!HasBands()) return;
  for (int k = 0; k < EqBandCount() && k < static_cast<int>(def_.eq.columns.size()); ++k)
    RefreshBand(k, true);
  ShowBypass();
  Redraw();
}

void BandEditor::ShowText(int id, std::string text, bool onlyChanged) {
  if (onlyChanged && (controls_.Typing(id) || controls_.Text(id) == text)) return;
  controls_.SetText(id, std::move(text));
}

void BandEditor::RefreshBand(int band, bool onlyChanged) {
  const auto& c = Column(band);
  const EqBand& b = Bands()[band];
  gainCache_[At(band)] = GainToSlider(b.gain);
  chosenType_[At(band)] = b.type;
  controls_.SetPosition(c.gainSlider, GainToSlider(b.gain));
  ShowText(c.gainEdit, FormatTenths(b.gain), onlyChanged);
  ShowText(c.qEdit, FormatTenths(b.q), onlyChanged);
  ShowText(c.freqEdit, FormatInt(b.freq), onlyChanged);
  for (int t = 0; t < 3; ++t) controls_.SetLit(c.typeButtons[t], b.type == t);
}

bool BandEditor::EnableBit() const {
  return ReadValue(image_, RowFor(image_, View().enable, 0, def_.altSwitchWord)) != 0;
}

void BandEditor::ShowBypass() {
  if (def_.eq.bypassButton == kNoControl || !HasBands() || View().enable == kNoRow) return;
  bypassed_ = !EnableBit();
  controls_.SetLit(def_.eq.bypassButton, bypassed_);
}

void BandEditor::Redraw() {
  if (onRedraw) onRedraw();
}

RowId BandEditor::BandRowOf(int band) const {
  const EqView& v = View();
  return v.store == BandStore::kBoost ? BoostBandRow(v.set, band)
                                      : BandRow(static_cast<EqSet>(v.set), band);
}

void BandEditor::Send(const BlockRequest& request) {
  if (post_) post_(request);
}

void BandEditor::Stored(int band) {
  if (onBandEvent) onBandEvent(BandEvent::kStored, band);
  Send(RequestFor(image_, RowOf(BandRowOf(band))));
}

// ---- dispatch --------------------------------------------------------------------------

bool BandEditor::SliderMoved(int id, int position) {
  const Entry* e = Find(id);
  if (!e || e->role != kGainSlider) return false;
  if (!enabled_ || !HasColumn(e->band)) return true;
  ApplyGain(e->band, SliderToGain(std::clamp(position, 0, 2 * kBandGainLimit)));
  return true;
}

bool BandEditor::EditReturn(int id, const std::string& text) {
  const Entry* e = Find(id);
  if (!e) return false;
  if (!enabled_ || !HasColumn(e->band)) return true;
  switch (e->role) {
    case kGainEdit:
      CommitGainEdit(e->band, text);
      break;
    case kQEdit:
      CommitQ(e->band, QCommit::kTyped);
      break;
    case kFreqEdit:
      CommitFrequency(e->band, text);
      break;
    default:
      return false;
  }
  return true;
}

bool BandEditor::EditWheel(int id, bool up) {
  const Entry* e = Find(id);
  if (!e) return false;
  if (!enabled_ || !HasColumn(e->band)) return true;
  const int band = e->band;
  switch (e->role) {
    case kFreqEdit: {
      const auto next = StepFrequency(Bands()[band].freq, up);
      if (next) CommitFrequency(band, FormatInt(*next));
      break;
    }
    case kQEdit:
      CommitQ(band, up ? QCommit::kRaise : QCommit::kLower);
      break;
    case kGainEdit: {
      const auto next = StepGain(Bands()[band].gain, up);
      if (!next) break;
      controls_.SetText(id, FormatTenths(*next));
      controls_.SetPosition(Column(band).gainSlider, GainToSlider(*next));
      ApplyGain(band, *next);
      break;
    }
    default:
      return false;
  }
  return true;
}

bool BandEditor::ButtonClicked(int id) {
  if (id == kNoControl) return false;
  if (id == def_.eq.bypassButton) {
    if (enabled_) ToggleBypass();
    return true;
  }
  if (id == def_.eq.resetButton) {
    if (enabled_) Reset();
    return true;
  }
  const Entry* e = Find(id);
  if (!e || e->role != kType) return false;
  if (!enabled_ || !HasColumn(e->band)) return true;
  SelectBand(e->band);  // a click on a column's button is a use of that band
  ChooseType(e->band, e->sub);
  return true;
}

bool BandEditor::SpinStep(int id, int delta) {
  const Entry* e = Find(id);
  if (!e || e->role != kSpin) return false;
  QSpin(e->band, delta);
  return true;
}

void BandEditor::QSpin(int band, int delta) {
  if (!enabled_ || !HasColumn(band) || delta == 0) return;
  SelectBand(band);
  CommitQ(band, delta > 0 ? QCommit::kLower : QCommit::kRaise);
}

// ---- band column rules -----------------------------------------------------------------

void BandEditor::ApplyGain(int band, int gain) {
  const auto& c = Column(band);
  const int position = GainToSlider(gain);
  auto& cache = gainCache_[At(band)];
  if (position == cache) return;
  cache = position;
  // The slider may have moved itself (drag, wheel): record it, or the next change of its
  // highlight would put the thumb back where it was.
  controls_.SetPosition(c.gainSlider, position);
  controls_.SetText(c.gainEdit, FormatTenths(gain));
  EqBand& b = Bands()[band];
  if (b.gain == gain) return;
  b.gain = static_cast<std::int16_t>(gain);
  Stored(band);
  SelectBand(band);
  Redraw();
}

void BandEditor::CommitGainEdit(int band, const std::string& text) {
  const auto gain = ParseTypedGain(text);
  if (!gain) return;  // the text stays as typed
  const auto& c = Column(band);
  controls_.SetText(c.gainEdit, FormatTenths(*gain));
  controls_.SetPosition(c.gainSlider, GainToSlider(*gain));
  ApplyGain(band, *gain);
}

void BandEditor::CommitQ(int band, QCommit how) {
  const auto& c = Column(band);
  const int type = chosenType_[At(band)];
  const int q = tavelo::CommitQ(controls_.Text(c.qEdit), type, how);
  controls_.SetText(c.qEdit, FormatTenths(q));
  EqBand& b = Bands()[band];
  if (b.q == q && b.type == type) return;
  b.q = static_cast<std::int16_t>(q);
  b.type = static_cast<std::int8_t>(type);
  Stored(band);
  SelectBand(band);
  Redraw();
}

void BandEditor::CommitFrequency(int band, const std::string& text) {
  const auto& c = Column(band);
  EqBand& b = Bands()[band];
  const auto freq = ParseTypedFrequency(text);
  if (!freq) {
    controls_.SetText(c.freqEdit, FormatInt(b.freq));
    return;
  }
  controls_.SetText(c.freqEdit, FormatInt(*freq));
  if (*freq == b.freq) return;
  b.freq = static_cast<std::int16_t>(*freq);
  Stored(band);
  SelectBand(band);
  Redraw();
}

void BandEditor::ChooseType(int band, int type) {
  auto& chosen = chosenType_[At(band)];
  if (chosen == type) return;
  chosen = type;
  const auto& c = Column(band);
  for (int t = 0; t < 3; ++t) controls_.SetLit(c.typeButtons[t], t == type);
  CommitQ(band, QCommit::kTyped);
}

void BandEditor::SelectBand(int band) {
  if (band == selected_ || band < -1 || band >= BandCount()) return;
  const auto highlight = [this](int k, bool on) {
    if (HasColumn(k)) controls_.SetHighlight(Column(k).gainSlider, on);
  };
  highlight(selected_, false);
  selected_ = band;
  highlight(selected_, true);
  Redraw();
}

int BandEditor::FocusSliderOfBand(int band) const {
  if (HasColumn(band)) return Column(band).gainSlider;
  const int pass = band - EqBandCount();
  if (pass == 0 || pass == 1) return def_.eq.passFocusSlider[pass];
  return kNoControl;
}

int BandEditor::BandOfControl(int id) const {
  const Entry* e = Find(id);
  return e ? e->band : -1;
}

// ---- graph -----------------------------------------------------------------------------

void BandEditor::DragPoint(int band, int freq, int gain) {
  if (!enabled_ || !HasColumn(band)) return;
  const auto& c = Column(band);
  EqBand& b = Bands()[band];
  gain = std::clamp(gain, -kBandGainLimit, kBandGainLimit);
  freq = std::clamp(freq, kBandMinFrequency, kBandMaxFrequency);
  bool changed = false;
  if (gain != b.gain) {
    controls_.SetText(c.gainEdit, FormatTenths(gain));
    controls_.SetPosition(c.gainSlider, GainToSlider(gain));
    gainCache_[At(band)] = GainToSlider(gain);
    b.gain = static_cast<std::int16_t>(gain);
    changed = true;
  }
  if (freq != b.freq) {
    controls_.SetText(c.freqEdit, FormatInt(freq));
    b.freq = static_cast<std::int16_t>(freq);
    changed = true;
  }
  if (!changed) return;
  Stored(band);
  Redraw();
}

void BandEditor::DragQ(int band, int q) {
  if (!enabled_ || !HasColumn(band)) return;
  EqBand& b = Bands()[band];
  q = std::clamp(q, kBandMinQ, MaxQForType(b.type));
  if (q == b.q) return;
  controls_.SetText(Column(band).qEdit, FormatTenths(q));
  b.q = static_cast<std::int16_t>(q);
  Stored(band);
  Redraw();
}

bool BandEditor::ImportBands(const std::vector<EqBand>& bands) {
  if (!enabled_ || !HasBands()) return false;
  const int count = std::min(static_cast<int>(bands.size()), EqBandCount());
  for (int k = 0; k < count; ++k) {
    EqBand& b = Bands()[k];
    if (b == bands[At(k)]) continue;
    b = bands[At(k)];
    if (HasColumn(k)) RefreshBand(k, false);
    Stored(k);
  }
  Redraw();
  return true;
}

std::string BandEditor::ViewName() const {
  if (!HasBands()) return {};
  // A band row is named "<array>.band<k>".
  const std::string_view band0 = RowOf(BandRowOf(0)).name;
  return std::string(band0.substr(0, band0.rfind('.')));
}

// ---- bypass and reset ------------------------------------------------------------------

void BandEditor::ToggleBypass() {
  if (View().enable == kNoRow) return;
  const bool goActive = bypassed_;
  bypassed_ = !bypassed_;
  controls_.SetLit(def_.eq.bypassButton, bypassed_);
  if (EnableBit() == goActive) return;
  WriteValue(image_, RowFor(image_, View().enable, 0, def_.altSwitchWord), goActive ? 1 : 0);
  if (onBandEvent) onBandEvent(BandEvent::kBypass, -1);
  Redraw();
  Send(RequestOf(image_, View().enable));
}

void BandEditor::Reset() {
  if (View().store != BandStore::kImage) return;  // code 4 resets the image's sets only
  for (int k = 0; k < EqBandCount(); ++k) {
    EqBand& b = Bands()[k];
    b.type = kBandPeak;
    b.freq = static_cast<std::int16_t>(DefaultBandFrequency(static_cast<EqSet>(View().set), k));
    b.q = 10;
    b.gain = 0;
    if (HasColumn(k)) RefreshBand(k, false);
  }
  if (onBandEvent) onBandEvent(BandEvent::kReset, -1);
  Redraw();
  Send({CommandCode::kEqSetReset, EqSetIdOf(static_cast<EqSet>(View().set))});
}

}  // namespace tavelo
