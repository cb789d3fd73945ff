#include "ui/pages/PageModel.h"

#include <algorithm>

namespace tavelo {

PageModel::PageModel(const PageDefinition& def, ParamImage& image, BlockPoster post)
    : def_(def), image_(image), post_(std::move(post)) {
  const auto& eq = def_.eq;
  for (int k = 0; k < static_cast<int>(eq.columns.size()); ++k) {
    const auto& c = eq.columns[static_cast<std::size_t>(k)];
    Index(c.gainSlider, Role::kGainSlider, k);
    Index(c.gainEdit, Role::kGainEdit, k);
    Index(c.qEdit, Role::kQEdit, k);
    Index(c.freqEdit, Role::kFreqEdit, k);
    for (int t = 0; t < 3; ++t) Index(c.typeButtons[t], Role::kType, k, t);
    Index(c.qSpin, Role::kQSpin, k);
  }
  for (int r = 0; r < static_cast<int>(def_.sliders.size()); ++r) {
    const auto& row = def_.sliders[static_cast<std::size_t>(r)];
    Index(row.id, Role::kSlider, r);
    if (row.editRule != EditRule::kNone) Index(row.readoutId, Role::kSlider, r, 1);
  }
  for (int r = 0; r < static_cast<int>(def_.lists.size()); ++r)
    Index(def_.lists[static_cast<std::size_t>(r)].id, Role::kList, r);
  for (int g = 0; g < static_cast<int>(def_.choices.size()); ++g) {
    const auto& buttons = def_.choices[static_cast<std::size_t>(g)].buttons;
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
      Index(buttons[static_cast<std::size_t>(i)], Role::kChoice, g, i);
  }
  Index(eq.bypassButton, Role::kBypass, 0);
  Index(eq.resetButton, Role::kReset, 0);

  gainCache_.assign(static_cast<std::size_t>(eq.bandCount), kGainSliderCentre);
  chosenType_.assign(static_cast<std::size_t>(eq.bandCount), 0);
  rowCache_.assign(def_.sliders.size(), 0);
  bypassed_ = eq.bypassButton != kNoControl && !(image_.switchWord >> eq.switchBit & 1u);
  SyncPassFilters();
  UpdateToneView();
}

void PageModel::Index(int id, Role role, int index, int sub) {
  if (id != kNoControl) ids_[id] = Entry{role, index, sub};
}

const PageModel::Entry* PageModel::Find(int id) const {
  const auto it = ids_.find(id);
  return it == ids_.end() ? nullptr : &it->second;
}

void PageModel::Post(int code, int arg) {
  if (post_) post_(code, BlockArg::Value(arg));
}

void PageModel::PostBand(int band) {
  Post(code::kEqBand, band * 256 + def_.eq.setId);
}

void PageModel::Redraw() {
  SyncPassFilters();
  UpdateToneView();
  if (onGraphChanged) onGraphChanged();
}

// ---- refresh ---------------------------------------------------------------------------

void PageModel::Refresh() {
  dataState_ = kData;
  for (int k = 0; k < def_.eq.eqBands; ++k) RefreshBand(k);
  for (int r = 0; r < static_cast<int>(def_.sliders.size()); ++r) {
    const auto& row = def_.sliders[static_cast<std::size_t>(r)];
    const int value = std::clamp(RowValue(row), row.min, row.max);
    rowCache_[static_cast<std::size_t>(r)] = value;
    ShowRow(r, value);
  }
  for (const auto& list : def_.lists) controls_.SetIndex(list.id, ReadField(list.field));
  ShowChoices();
  ShowBypass();
  Redraw();
}

void PageModel::ShowChoices() {
  for (int g = 0; g < static_cast<int>(def_.choices.size()); ++g)
    ShowChoice(g, ReadField(def_.choices[static_cast<std::size_t>(g)].field));
}

void PageModel::RefreshBand(int band) {
  const auto& c = def_.eq.columns[static_cast<std::size_t>(band)];
  const EqBand& b = Bands()[band];
  gainCache_[static_cast<std::size_t>(band)] = GainToSlider(b.gain);
  chosenType_[static_cast<std::size_t>(band)] = b.type;
  controls_.SetPosition(c.gainSlider, GainToSlider(b.gain));
  controls_.SetText(c.gainEdit, FormatTenths(b.gain));
  controls_.SetText(c.qEdit, FormatTenths(b.q));
  controls_.SetText(c.freqEdit, FormatInt(b.freq));
  for (int t = 0; t < 3; ++t) controls_.SetLit(c.typeButtons[t], b.type == t);
}

void PageModel::ShowRow(int r, int position) {
  const auto& row = def_.sliders[static_cast<std::size_t>(r)];
  controls_.SetPosition(row.id, position);
  if (row.readoutId == kNoControl) return;
  std::string text;
  if (row.editRule == EditRule::kFrequency)
    text = FormatInt(position);
  else if (row.editRule == EditRule::kToneGain)
    text = FormatTenths(position - kGainSliderCentre);
  else
    text = FormatReadout(row.format, position);
  controls_.SetText(row.readoutId, std::move(text));
}

void PageModel::ShowChoice(int group, int index) {
  const auto& buttons = def_.choices[static_cast<std::size_t>(group)].buttons;
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
    controls_.SetLit(buttons[static_cast<std::size_t>(i)], i == index);
}

void PageModel::ShowBypass() {
  if (def_.eq.bypassButton == kNoControl) return;
  bypassed_ = !(image_.switchWord >> def_.eq.switchBit & 1u);
  controls_.SetLit(def_.eq.bypassButton, bypassed_);
}

// The pass filters are memory-only bands: their type is fixed by position and their
// frequency and slope live in the image's words and bytes, so they are derived from there.
void PageModel::SyncPassFilters() {
  const auto& eq = def_.eq;
  for (const auto& row : def_.sliders) {
    if (row.link != Link::kPassFrequency) continue;
    EqBand& band = Bands()[row.band];
    const int pass = row.band - eq.eqBands;
    if (pass == 0 || pass == 1) band.type = static_cast<std::int8_t>(eq.passType[pass]);
    band.freq = static_cast<std::int16_t>(std::clamp(ReadField(row.field), row.min, row.max));
  }
  for (const auto& list : def_.lists)
    if (list.link == Link::kPassSlope)
      Bands()[list.band].slope =
          static_cast<std::int8_t>(std::clamp(ReadField(list.field), 0, kSlopeCount - 1));
}

void PageModel::UpdateToneView() {
  if (def_.tone.group < 0) return;
  const auto& group = image_.toneGroups[static_cast<std::size_t>(def_.tone.group)];
  for (int i = 0; i < def_.tone.count && i < 3; ++i)
    toneView_[static_cast<std::size_t>(i)] =
        group[static_cast<std::size_t>(def_.tone.firstBand + i)];
  if (vrPresent_ && vrPresent_()) return;
  // Without the front-panel controls the page's own tone values are the truth: draw them.
  for (const auto& row : def_.sliders) {
    if (row.field.kind != FieldKind::kWord) continue;
    auto& band = toneView_[static_cast<std::size_t>(std::clamp(row.band, 0, 2))];
    if (row.link == Link::kToneGain)
      band.gain = static_cast<std::int16_t>(ReadField(row.field) - kGainSliderCentre);
    if (row.link == Link::kToneFrequency)
      band.freq = static_cast<std::int16_t>(ReadField(row.field));
  }
}

// ---- dispatch --------------------------------------------------------------------------

void PageModel::SliderMoved(int id, int position) {
  const Entry* e = Find(id);
  if (!e) return;
  if (e->role == Role::kGainSlider) {
    ApplyGain(e->index, SliderToGain(std::clamp(position, 0, 2 * kBandGainLimit)));
    return;
  }
  if (e->role != Role::kSlider || e->sub != 0) return;
  const int r = e->index;
  const auto& row = def_.sliders[static_cast<std::size_t>(r)];
  auto& cache = rowCache_[static_cast<std::size_t>(r)];
  if (RowLocked(row)) {
    // The processor's knob owns this value: the thumb the user moved goes back.
    controls_.SetPosition(row.id, cache);
    controls_.Resend(row.id);
    return;
  }
  position = std::clamp(position, row.min, row.max);
  if (row.link == Link::kPassFrequency) SelectBand(row.band);
  if (position == cache) return;
  cache = position;
  ShowRow(r, position);
  StoreRow(row, position);
}

void PageModel::StoreRow(const SliderRow& row, int value) {
  if (ReadField(row.field) == value) return;
  WriteField(row.field, value);
  ApplyLink(row.link, row.band, value);
  Post(row.code, row.arg);
  if (row.link != Link::kNone) Redraw();
}

void PageModel::EditReturn(int id, const std::string& text) {
  const Entry* e = Find(id);
  if (!e) return;
  controls_.SetText(id, text);
  switch (e->role) {
    case Role::kGainEdit:
      CommitGainEdit(e->index, text);
      break;
    case Role::kQEdit:
      CommitQ(e->index, QCommit::kTyped);
      break;
    case Role::kFreqEdit:
      CommitFrequency(e->index, text);
      break;
    case Role::kSlider:
      if (e->sub == 1) CommitRowEdit(e->index, text);
      break;
    default:
      break;
  }
}

void PageModel::EditFocusLost(int id, const std::string& text) {
  const Entry* e = Find(id);
  if (e && e->role == Role::kFreqEdit) EditReturn(id, text);
}

void PageModel::EditWheel(int id, const std::string& text, bool up) {
  const Entry* e = Find(id);
  if (!e) return;
  const int band = e->index;
  controls_.SetText(id, text);
  switch (e->role) {
    case Role::kFreqEdit: {
      const auto next = StepFrequency(Bands()[band].freq, up);
      if (!next) return;
      controls_.SetText(id, FormatInt(*next));
      CommitFrequency(band, FormatInt(*next));
      break;
    }
    case Role::kQEdit:
      CommitQ(band, up ? QCommit::kRaise : QCommit::kLower);
      break;
    case Role::kGainEdit: {
      const auto next = StepGain(Bands()[band].gain, up);
      if (!next) return;
      controls_.SetText(id, FormatTenths(*next));
      controls_.SetPosition(def_.eq.columns[static_cast<std::size_t>(band)].gainSlider,
                            GainToSlider(*next));
      ApplyGain(band, *next);
      break;
    }
    default:
      break;
  }
}

void PageModel::ButtonClicked(int id) {
  const Entry* e = Find(id);
  if (!e) return;
  switch (e->role) {
    case Role::kType:
      ChooseType(e->index, e->sub);
      break;
    case Role::kBypass:
      ToggleBypass();
      break;
    case Role::kReset:
      Reset();
      break;
    case Role::kChoice: {
      const auto& group = def_.choices[static_cast<std::size_t>(e->index)];
      ShowChoice(e->index, e->sub);
      if (ReadField(group.field) == e->sub) return;
      WriteField(group.field, e->sub);
      Post(group.code, group.arg);
      break;
    }
    default:
      break;
  }
}

void PageModel::ListChanged(int id, int index) {
  const Entry* e = Find(id);
  if (!e || e->role != Role::kList) return;
  const auto& list = def_.lists[static_cast<std::size_t>(e->index)];
  index = std::clamp(index, 0, kSlopeCount - 1);
  controls_.SetIndex(id, index);
  if (ReadField(list.field) == index) return;
  WriteField(list.field, index);
  ApplyLink(list.link, list.band, index);
  Post(list.code, list.arg);
  Redraw();
}

void PageModel::FocusGained(int id) {
  const int band = BandOfControl(id);
  if (band >= 0) SelectBand(band);
}

void PageModel::QSpin(int band, int delta) {
  if (band < 0 || band >= def_.eq.eqBands || delta == 0) return;
  SelectBand(band);
  CommitQ(band, delta > 0 ? QCommit::kLower : QCommit::kRaise);
}

// ---- band column rules -----------------------------------------------------------------

void PageModel::ApplyGain(int band, int gain) {
  const auto& c = def_.eq.columns[static_cast<std::size_t>(band)];
  const int position = GainToSlider(gain);
  auto& cache = gainCache_[static_cast<std::size_t>(band)];
  if (position == cache) return;
  cache = position;
  // The slider may have moved itself (drag, wheel): record it, or the next change of its
  // highlight would put the thumb back where it was.
  controls_.SetPosition(c.gainSlider, position);
  controls_.SetText(c.gainEdit, FormatTenths(gain));
  EqBand& b = Bands()[band];
  if (b.gain == gain) return;
  b.gain = static_cast<std::int16_t>(gain);
  PostBand(band);
  SelectBand(band);
  Redraw();
}

void PageModel::CommitGainEdit(int band, const std::string& text) {
  const auto gain = ParseTypedGain(text);
  if (!gain) return;  // the text stays as typed
  const auto& c = def_.eq.columns[static_cast<std::size_t>(band)];
  controls_.SetText(c.gainEdit, FormatTenths(*gain));
  controls_.SetPosition(c.gainSlider, GainToSlider(*gain));
  ApplyGain(band, *gain);
}

void PageModel::CommitQ(int band, QCommit how) {
  const auto& c = def_.eq.columns[static_cast<std::size_t>(band)];
  const int type = chosenType_[static_cast<std::size_t>(band)];
  const int q = tavelo::CommitQ(controls_.Text(c.qEdit), type, how);
  controls_.SetText(c.qEdit, FormatTenths(q));
  EqBand& b = Bands()[band];
  if (b.q == q && b.type == type) return;
  b.q = static_cast<std::int16_t>(q);
  b.type = static_cast<std::int8_t>(type);
  PostBand(band);
  SelectBand(band);
  Redraw();
}

void PageModel::CommitFrequency(int band, const std::string& text) {
  const auto& c = def_.eq.columns[static_cast<std::size_t>(band)];
  EqBand& b = Bands()[band];
  const auto freq = ParseTypedFrequency(text);
  if (!freq) {
    controls_.SetText(c.freqEdit, FormatInt(b.freq));
    return;
  }
  if (*freq == b.freq) return;
  b.freq = static_cast<std::int16_t>(*freq);
  PostBand(band);
  SelectBand(band);
  Redraw();
}

void PageModel::ChooseType(int band, int type) {
  auto& chosen = chosenType_[static_cast<std::size_t>(band)];
  if (chosen == type) return;
  chosen = type;
  const auto& c = def_.eq.columns[static_cast<std::size_t>(band)];
  for (int t = 0; t < 3; ++t) controls_.SetLit(c.typeButtons[t], t == type);
  CommitQ(band, QCommit::kTyped);
}

void PageModel::SelectBand(int band) {
  if (band == selected_ || band < -1 || band >= def_.eq.bandCount) return;
  const auto highlight = [this](int k, bool on) {
    if (k >= 0 && k < def_.eq.eqBands)
      controls_.SetHighlight(def_.eq.columns[static_cast<std::size_t>(k)].gainSlider, on);
  };
  highlight(selected_, false);
  selected_ = band;
  highlight(selected_, true);
  Redraw();
}

int PageModel::FocusSliderOfBand(int band) const {
  if (band >= 0 && band < def_.eq.eqBands)
    return def_.eq.columns[static_cast<std::size_t>(band)].gainSlider;
  const int pass = band - def_.eq.eqBands;
  if (pass == 0 || pass == 1) return def_.eq.passFocusSlider[pass];
  return kNoControl;
}

int PageModel::BandOfControl(int id) const {
  const Entry* e = Find(id);
  if (!e) return -1;
  switch (e->role) {
    case Role::kGainSlider:
    case Role::kGainEdit:
    case Role::kQEdit:
    case Role::kFreqEdit:
    case Role::kType:
    case Role::kQSpin:
      return e->index;
    case Role::kSlider: {
      const auto& row = def_.sliders[static_cast<std::size_t>(e->index)];
      return row.link == Link::kPassFrequency ? row.band : -1;
    }
    default:
      return -1;
  }
}

// ---- graph -----------------------------------------------------------------------------

void PageModel::DragPoint(int band, int freq, int gain) {
  if (band < 0 || band >= def_.eq.eqBands) return;
  const auto& c = def_.eq.columns[static_cast<std::size_t>(band)];
  EqBand& b = Bands()[band];
  gain = std::clamp(gain, -kBandGainLimit, kBandGainLimit);
  freq = std::clamp(freq, kBandMinFrequency, kBandMaxFrequency);
  bool changed = false;
  if (gain != b.gain) {
    controls_.SetText(c.gainEdit, FormatTenths(gain));
    controls_.SetPosition(c.gainSlider, GainToSlider(gain));
    gainCache_[static_cast<std::size_t>(band)] = GainToSlider(gain);
    b.gain = static_cast<std::int16_t>(gain);
    changed = true;
  }
  if (freq != b.freq) {
    controls_.SetText(c.freqEdit, FormatInt(freq));
    b.freq = static_cast<std::int16_t>(freq);
    changed = true;
  }
  if (!changed) return;
  PostBand(band);
  Redraw();
}

void PageModel::DragPassFilter(int band, int freq) {
  for (const auto& row : def_.sliders) {
    if (row.link != Link::kPassFrequency || row.band != band) continue;
    freq = std::clamp(freq, row.min, row.max);
    controls_.SetPosition(row.id, freq);
    SliderMoved(row.id, freq);
    return;
  }
}

void PageModel::DragQ(int band, int q) {
  if (band < 0 || band >= def_.eq.eqBands) return;
  EqBand& b = Bands()[band];
  q = std::clamp(q, kBandMinQ, MaxQForType(b.type));
  if (q == b.q) return;
  controls_.SetText(def_.eq.columns[static_cast<std::size_t>(band)].qEdit, FormatTenths(q));
  b.q = static_cast<std::int16_t>(q);
  PostBand(band);
  Redraw();
}

// ---- bypass and reset ------------------------------------------------------------------

void PageModel::ToggleBypass() {
  const bool goActive = bypassed_;
  bypassed_ = !bypassed_;
  controls_.SetLit(def_.eq.bypassButton, bypassed_);
  const std::uint32_t bit = 1u << def_.eq.switchBit;
  const bool isActive = (image_.switchWord & bit) != 0;
  if (isActive == goActive) return;
  if (goActive)
    image_.switchWord |= bit;
  else
    image_.switchWord &= ~bit;
  Redraw();
  Post(code::kSwitchWord, 0);
}

void PageModel::Reset() {
  const auto& eq = def_.eq;
  for (int k = 0; k < eq.eqBands; ++k) {
    EqBand& b = Bands()[k];
    b.type = kBandPeak;
    b.freq = static_cast<std::int16_t>(eq.defaultFrequencies[static_cast<std::size_t>(k)]);
    b.q = 10;
    b.gain = 0;
    RefreshBand(k);
  }
  Redraw();
  Post(code::kEqReset, eq.setId);
}

// ---- parameter rows --------------------------------------------------------------------

int PageModel::ReadField(const Field& field) const {
  switch (field.kind) {
    case FieldKind::kByte:
      return image_.byte(field.index);
    case FieldKind::kWord:
      return image_.word(field.index);
    case FieldKind::kNone:
      break;
  }
  return 0;
}

void PageModel::WriteField(const Field& field, int value) {
  switch (field.kind) {
    case FieldKind::kByte:
      image_.byte(field.index) = static_cast<std::uint8_t>(value);
      break;
    case FieldKind::kWord:
      image_.word(field.index) = static_cast<std::uint16_t>(value);
      break;
    case FieldKind::kNone:
      break;
  }
}

bool PageModel::RowLocked(const SliderRow& row) const {
  return row.vrLocked && vrPresent_ && vrPresent_();
}

int PageModel::RowValue(const SliderRow& row) const {
  if (RowLocked(row) && def_.tone.group >= 0) {
    // The processor's knobs own the tone values: show what the status poll reported.
    const auto& group = image_.toneGroups[static_cast<std::size_t>(def_.tone.group)];
    const EqBand& band = group[static_cast<std::size_t>(def_.tone.firstBand + row.band)];
    if (row.link == Link::kToneGain) return band.gain + kGainSliderCentre;
    if (row.link == Link::kToneFrequency) return band.freq;
  }
  return ReadField(row.field);
}

void PageModel::ApplyLink(Link link, int band, int value) {
  switch (link) {
    case Link::kPassFrequency:
      Bands()[band].freq = static_cast<std::int16_t>(value);
      break;
    case Link::kPassSlope:
      Bands()[band].slope = static_cast<std::int8_t>(value);
      break;
    case Link::kToneGain:
    case Link::kToneFrequency: {
      if (def_.tone.group < 0) break;
      auto& group = image_.toneGroups[static_cast<std::size_t>(def_.tone.group)];
      EqBand& b = group[static_cast<std::size_t>(def_.tone.firstBand + band)];
      if (link == Link::kToneGain)
        b.gain = static_cast<std::int16_t>(value - kGainSliderCentre);
      else
        b.freq = static_cast<std::int16_t>(value);
      break;
    }
    case Link::kNone:
      break;
  }
}

void PageModel::CommitRowEdit(int r, const std::string& text) {
  const auto& row = def_.sliders[static_cast<std::size_t>(r)];
  auto& cache = rowCache_[static_cast<std::size_t>(r)];
  if (RowLocked(row)) {
    ShowRow(r, cache);
    return;
  }
  int value = 0;
  if (row.editRule == EditRule::kFrequency) {
    const auto freq = ParseTypedFrequency(text);
    if (!freq) {
      ShowRow(r, ReadField(row.field));  // the stored value comes back
      return;
    }
    value = std::clamp(*freq, row.min, row.max);
  } else {
    const auto gain = ParseTypedGain(text);
    if (!gain) return;
    value = *gain + kGainSliderCentre;
  }
  cache = value;
  ShowRow(r, value);
  if (row.link == Link::kPassFrequency) SelectBand(row.band);
  StoreRow(row, value);
}

}  // namespace tavelo
