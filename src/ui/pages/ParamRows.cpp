#include "ui/pages/ParamRows.h"

#include <algorithm>
#include <limits>

#include "core/params/Readout.h"
#include "ui/pages/PageValues.h"

namespace tavelo {
namespace {

std::size_t At(int i) {
  return static_cast<std::size_t>(i);
}

}  // namespace

ParamRows::ParamRows(const PageDefinition& def, ParamImage& image, ControlStore& controls,
                     BandEditor& bands, Poster post)
    : def_(def), image_(image), controls_(controls), bands_(bands), post_(std::move(post)) {
  const auto index = [this](int id, Kind kind, int row, int sub = 0) {
    if (id != kNoControl) ids_.push_back({id, Entry{kind, row, sub}});
  };
  for (int r = 0; r < static_cast<int>(def_.sliders.size()); ++r) {
    const auto& row = def_.sliders[At(r)];
    index(row.id, Kind::kSlider, r);
    if (row.editRule != EditRule::kNone) index(row.readoutId, Kind::kReadoutEdit, r);
  }
  for (int r = 0; r < static_cast<int>(def_.lists.size()); ++r)
    index(def_.lists[At(r)].id, Kind::kList, r);
  for (int g = 0; g < static_cast<int>(def_.choices.size()); ++g) {
    const auto& buttons = def_.choices[At(g)].buttons;
    for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
      index(buttons[At(i)], Kind::kChoice, g, i);
  }
  for (int t = 0; t < static_cast<int>(def_.toggles.size()); ++t)
    index(def_.toggles[At(t)].id, Kind::kToggle, t);
  sliderCache_.assign(def_.sliders.size(), 0);
}

const ParamRows::Entry* ParamRows::Find(int id, Kind kind) const {
  for (const auto& [key, entry] : ids_)
    if (key == id && entry.kind == kind) return &entry;
  return nullptr;
}

// The row that drives a slider (or its readout edit) now: the first of the rows sharing
// the id whose condition holds.
const SliderRow* ParamRows::ActiveSlider(int id, int* index) const {
  for (const auto& [key, entry] : ids_) {
    if (key != id || (entry.kind != Kind::kSlider && entry.kind != Kind::kReadoutEdit)) continue;
    const auto& row = def_.sliders[At(entry.row)];
    if (!Shown(image_, row.show)) continue;
    if (index) *index = entry.row;
    return &row;
  }
  return nullptr;
}

bool ParamRows::Locked(LockRule lock) const {
  switch (lock) {
    case LockRule::kNone:
      return false;
    case LockRule::kVrPresent:
      return flags_.vrPresent && flags_.vrPresent();
    case LockRule::kAdjustLock:
      return flags_.adjustLocked && flags_.adjustLocked();
  }
  return false;
}

bool ParamRows::Disabled(SetRule set) const {
  return set != SetRule::kNone && !perSetEnabled_;
}

void ParamRows::Redraw() {
  if (onRedraw) onRedraw();
}

// ---- refresh ---------------------------------------------------------------------------

int ParamRows::ValueOf(const SliderRow& row) const {
  if (Locked(row.lock)) {
    if (def_.tone.group >= 0 && (row.link == Link::kToneGain || row.link == Link::kToneFrequency)) {
      // The processor's knobs own the tone values: show what the status poll reported.
      const auto& group = image_.toneGroups[At(def_.tone.group)];
      const EqBand& band = group[At(def_.tone.firstBand + row.band)];
      return row.link == Link::kToneGain ? band.gain + kGainSliderCentre : band.freq;
    }
    if (lockedValue_)
      if (const auto value = lockedValue_(row.id)) return *value;
  }
  return ReadValue(image_,
                   RowFor(image_, row.param, row.set == SetRule::kNone ? 0 : LoadSetIndex(image_)));
}

void ParamRows::Refresh(bool onlyChanged) {
  for (int r = 0; r < static_cast<int>(def_.sliders.size()); ++r) {
    const auto& row = def_.sliders[At(r)];
    int active = -1;
    const bool shown = ActiveSlider(row.id, &active) != nullptr;
    if (shown && active != r) continue;  // another row drives this control now
    for (int id : {row.id, row.readoutId})
      if (id != kNoControl) {
        controls_.SetVisible(id, shown);
        controls_.SetEnabled(id, !Disabled(row.set));
      }
    if (!shown) continue;
    const CatalogueRow& param = RowOf(row.param);
    controls_.SetRange(row.id, param.min, param.max, row.logarithmic);
    const int value = std::clamp(ValueOf(row), param.min, param.max);
    sliderCache_[At(r)] = value;
    ShowSlider(r, value, onlyChanged);
    if (row.link == Link::kPassFrequency && row.set != SetRule::kNone) {
      // A pass filter's slider stands under the marker it drives, in the set the graph
      // shows; in AUTO on the output pages that is not the set the edit beside it shows.
      const CatalogueRow& shownSet = RowFor(image_, row.param, SetIndexOf(row.set, image_));
      controls_.SetPosition(row.id, std::clamp(ReadValue(image_, shownSet), param.min, param.max));
    }
  }
  for (const auto& list : def_.lists) {
    const int set = list.set == SetRule::kNone ? 0 : LoadSetIndex(image_);
    controls_.SetIndex(list.id, ReadValue(image_, RowFor(image_, list.param, set)));
    controls_.SetEnabled(list.id, !Disabled(list.set));
  }
  for (const auto& toggle : def_.toggles) {
    const int set = toggle.set == SetRule::kNone ? 0 : LoadSetIndex(image_);
    const bool bit = ReadValue(image_, RowFor(image_, toggle.param, set, def_.altSwitchWord)) != 0;
    controls_.SetLit(toggle.id, bit != toggle.litWhenClear);
    controls_.SetVisible(toggle.id, Shown(image_, toggle.show));
    controls_.SetEnabled(toggle.id, !Disabled(toggle.set));
  }
  ShowChoices();
  // A full refresh shows the image as it stands; a reload after an edit elsewhere (or a
  // knob) leaves a view's filter that a typed frequency moved alone.
  if (!onlyChanged) ForgetPassFilters();
  SyncPassFilters();
}

void ParamRows::SetPerSetEnabled(bool enabled) {
  if (enabled == perSetEnabled_) return;
  perSetEnabled_ = enabled;
  Refresh(true);
}

void ParamRows::ShowChoices() {
  for (int g = 0; g < static_cast<int>(def_.choices.size()); ++g)
    ShowChoice(g, ReadValue(image_, RowOf(def_.choices[At(g)].param)));
}

void ParamRows::ShowChoice(int group, int index) {
  const auto& buttons = def_.choices[At(group)].buttons;
  for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
    controls_.SetLit(buttons[At(i)], i == index);
}

void ParamRows::ShowSlider(int r, int position, bool onlyChanged) {
  const auto& row = def_.sliders[At(r)];
  controls_.SetPosition(row.id, position);
  if (row.readoutId == kNoControl) return;
  if (onlyChanged && controls_.Typing(row.readoutId)) return;
  std::string text;
  if (row.editRule == EditRule::kFrequency)
    text = FormatInt(position);
  else if (row.editRule == EditRule::kToneGain)
    text = FormatTenths(position - kGainSliderCentre);
  else
    text = FormatReadout(RowOf(row.param).readout, position);
  controls_.SetText(row.readoutId, std::move(text));
}

void ParamRows::SyncPassFilters(bool shownOnly) {
  const auto& eq = def_.eq;
  for (int v = 0; v < static_cast<int>(eq.views.size()); ++v) {
    if (shownOnly && v != bands_.ViewIndex()) continue;
    EqBand* bands = bands_.BandsOf(v);
    const int eqBands = eq.views[At(v)].eqBands;
    for (int r = 0; r < static_cast<int>(def_.sliders.size()); ++r) {
      const auto& row = def_.sliders[At(r)];
      if (row.link != Link::kPassFrequency || !Shown(image_, row.show)) continue;
      EqBand& band = bands[row.band];
      const int pass = row.band - eqBands;
      if (pass == 0 || pass == 1) band.type = static_cast<std::int8_t>(eq.passType[pass]);
      const int word = PassWord(row, v);
      int& followed = PassFollowed(v, r);
      if (word == followed) continue;
      band.freq = static_cast<std::int16_t>(word);
      followed = word;
    }
    for (const auto& list : def_.lists)
      if (list.link == Link::kPassSlope) {
        const int value =
            ReadValue(image_, RowFor(image_, list.param, list.set == SetRule::kNone ? 0 : v));
        bands[list.band].slope = static_cast<std::int8_t>(std::clamp(value, 0, kSlopeCount - 1));
      }
  }
}

void ParamRows::ForgetPassFilters() {
  passFollowed_.clear();
}

int& ParamRows::PassFollowed(int view, int r) {
  const std::size_t rows = def_.sliders.size();
  if (passFollowed_.empty())
    passFollowed_.assign(def_.eq.views.size() * rows, std::numeric_limits<int>::min());
  return passFollowed_[At(view) * rows + At(r)];
}

int ParamRows::PassWord(const SliderRow& row, int view) const {
  const CatalogueRow& param = RowFor(image_, row.param, row.set == SetRule::kNone ? 0 : view);
  return std::clamp(ReadValue(image_, param), param.min, param.max);
}

const EqBand* ParamRows::ToneBands() {
  if (def_.tone.group < 0) return toneView_.data();
  const auto& group = image_.toneGroups[At(def_.tone.group)];
  for (int i = 0; i < def_.tone.count && i < 3; ++i)
    toneView_[At(i)] = group[At(def_.tone.firstBand + i)];
  for (const auto& row : def_.sliders) {
    // Without the front-panel controls the page's own tone values are the truth.
    if (Locked(row.lock)) continue;
    auto& band = toneView_[At(std::clamp(row.band, 0, 2))];
    if (row.link == Link::kToneGain)
      band.gain =
          static_cast<std::int16_t>(ReadValue(image_, RowOf(row.param)) - kGainSliderCentre);
    if (row.link == Link::kToneFrequency)
      band.freq = static_cast<std::int16_t>(ReadValue(image_, RowOf(row.param)));
  }
  return toneView_.data();
}

// ---- user actions ----------------------------------------------------------------------

bool ParamRows::SliderMoved(int id, int position) {
  if (!Find(id, Kind::kSlider)) return false;
  int r = -1;
  const SliderRow* row = ActiveSlider(id, &r);
  if (!row || Disabled(row->set)) return true;
  auto& cache = sliderCache_[At(r)];
  if (Locked(row->lock)) {
    // The processor's knob owns this value: the thumb the user moved goes back.
    controls_.SetPosition(row->id, cache);
    controls_.Resend(row->id);
    return true;
  }
  position = std::clamp(position, RowOf(row->param).min, RowOf(row->param).max);
  if (row->link == Link::kPassFrequency) bands_.SelectBand(row->band);
  if (position == cache) return true;
  cache = position;
  ShowSlider(r, position, false);
  StoreSlider(*row, position, false);
  return true;
}

void ParamRows::Send(const BlockRequest& request) {
  if (post_) post_(request);
}

void ParamRows::StoreSlider(const SliderRow& row, int value, bool typed) {
  const int set = SetIndexOf(row.set, image_);
  const CatalogueRow& param = RowFor(image_, row.param, set);
  if (ReadValue(image_, param) == value) return;
  WriteValue(image_, param, value);
  ApplyLink(row.link, row.band, value, row.set, typed);
  if (row.link == Link::kPassFrequency) {
    // What ApplyLink left in each view is what the user chose: the views follow the new
    // word from here on only when it changes again.
    const int r = static_cast<int>(&row - def_.sliders.data());
    for (int v = 0; v < static_cast<int>(def_.eq.views.size()); ++v)
      PassFollowed(v, r) = PassWord(row, v);
  }
  Send(RequestFor(image_, param));
  if (row.link != Link::kNone) Redraw();
}

bool ParamRows::EditReturn(int id, const std::string& text) {
  if (!Find(id, Kind::kReadoutEdit)) return false;
  int r = -1;
  if (ActiveSlider(id, &r)) CommitReadoutEdit(r, text);
  return true;
}

void ParamRows::CommitReadoutEdit(int r, const std::string& text) {
  const auto& row = def_.sliders[At(r)];
  auto& cache = sliderCache_[At(r)];
  if (Disabled(row.set)) return;
  if (Locked(row.lock)) {
    ShowSlider(r, cache, false);
    return;
  }
  int value = 0;
  if (row.editRule == EditRule::kFrequency) {
    const CatalogueRow& param = RowFor(image_, row.param, SetIndexOf(row.set, image_));
    const auto freq = ParseTypedFrequency(text);
    if (!freq || *freq < param.min || *freq > param.max) {
      // The stored value comes back.
      ShowSlider(r, ReadValue(image_, param), false);
      return;
    }
    value = *freq;
  } else {
    const auto gain = ParseTypedGain(text);
    if (!gain) return;
    value = *gain + kGainSliderCentre;
  }
  cache = value;
  ShowSlider(r, value, false);
  if (row.link == Link::kPassFrequency) bands_.SelectBand(row.band);
  StoreSlider(row, value, true);
}

bool ParamRows::ListChanged(int id, int index) {
  const Entry* e = Find(id, Kind::kList);
  if (!e) return false;
  const auto& list = def_.lists[At(e->row)];
  if (list.link == Link::kPassSlope) bands_.SelectBand(list.band);
  const CatalogueRow& param = RowFor(image_, list.param, SetIndexOf(list.set, image_));
  const int stored = ReadValue(image_, param);
  if (Disabled(list.set) || index < param.min || index > param.max) {
    // Only the list's own entries are values: anything else shows the stored one again.
    controls_.SetIndex(id, stored);
    controls_.Resend(id);
    return true;
  }
  controls_.SetIndex(id, index);
  if (stored == index) return true;
  WriteValue(image_, param, index);
  ApplyLink(list.link, list.band, index, list.set);
  Send(RequestFor(image_, param));
  Redraw();
  return true;
}

bool ParamRows::ButtonClicked(int id) {
  if (const Entry* e = Find(id, Kind::kChoice)) {
    const CatalogueRow& param = RowOf(def_.choices[At(e->row)].param);
    ShowChoice(e->row, e->sub);
    if (ReadValue(image_, param) == e->sub) return true;
    WriteValue(image_, param, e->sub);
    Send(RequestFor(image_, param));
    return true;
  }
  const Entry* e = Find(id, Kind::kToggle);
  if (!e) return false;
  const auto& toggle = def_.toggles[At(e->row)];
  if (Disabled(toggle.set)) return true;
  const bool lit = !controls_.Lit(id);
  controls_.SetLit(id, lit);
  const int want = lit != toggle.litWhenClear ? 1 : 0;
  const int set = SetIndexOf(toggle.set, image_);
  const CatalogueRow& param = RowFor(image_, toggle.param, set, def_.altSwitchWord);
  if (ReadValue(image_, param) == want) return true;
  WriteValue(image_, param, want);
  Send(RequestOf(image_, toggle.param, set));
  return true;
}

void ParamRows::ApplyLink(Link link, int band, int value, SetRule set, bool typed) {
  switch (link) {
    case Link::kPassFrequency:
    case Link::kPassSlope: {
      const auto& eq = def_.eq;
      const int views = static_cast<int>(eq.views.size());
      // Shared filters: the slider and the list write every view, a typed frequency only
      // the view on show.
      const bool shared = eq.passFiltersShared && !typed;
      for (int v = 0; v < views; ++v) {
        const bool target = shared                          ? true
                            : eq.viewRule != SetRule::kNone ? v == SetIndexOf(set, image_)
                                                            : v == bands_.ViewIndex();
        if (!target) continue;
        EqBand& b = bands_.BandsOf(v)[band];
        if (link == Link::kPassFrequency)
          b.freq = static_cast<std::int16_t>(value);
        else
          b.slope = static_cast<std::int8_t>(value);
      }
      // A pass filter is a band of the page too: its hook sees it stored before the
      // block goes out.
      if (bands_.onBandEvent) bands_.onBandEvent(BandEvent::kStored, band);
      break;
    }
    case Link::kToneGain:
    case Link::kToneFrequency: {
      if (def_.tone.group < 0) break;
      auto& group = image_.toneGroups[At(def_.tone.group)];
      EqBand& b = group[At(def_.tone.firstBand + band)];
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

int ParamRows::BandOfControl(int id) const {
  for (const auto& [key, entry] : ids_) {
    if (key != id) continue;
    if (entry.kind == Kind::kSlider || entry.kind == Kind::kReadoutEdit) {
      const auto& row = def_.sliders[At(entry.row)];
      if (row.link == Link::kPassFrequency) return row.band;
    } else if (entry.kind == Kind::kList) {
      const auto& list = def_.lists[At(entry.row)];
      if (list.link == Link::kPassSlope) return list.band;
    }
  }
  return -1;
}

void ParamRows::DragPassFilter(int band, int freq) {
  for (const auto& row : def_.sliders) {
    if (row.link != Link::kPassFrequency || row.band != band || !Shown(image_, row.show)) continue;
    freq = std::clamp(freq, RowOf(row.param).min, RowOf(row.param).max);
    controls_.SetPosition(row.id, freq);
    SliderMoved(row.id, freq);
    return;
  }
}

std::pair<int, int> ParamRows::PassRange(int band) const {
  for (const auto& row : def_.sliders)
    if (row.link == Link::kPassFrequency && row.band == band && Shown(image_, row.show))
      return {RowOf(row.param).min, RowOf(row.param).max};
  return {kBandMinFrequency, kBandMaxFrequency};
}

}  // namespace tavelo
