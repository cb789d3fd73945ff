#include "ui/pages/PageModel.h"

namespace tavelo {

PageModel::PageModel(const PageDefinition& def, ParamImage& image, BlockPoster post)
    : def_(def),
      image_(image),
      post_(std::move(post)),
      bands_(def_, image_, controls_, [this](const BlockRequest& r) { Post(r); }),
      rows_(def_, image_, controls_, bands_, [this](const BlockRequest& r) { Post(r); }) {
  bands_.onRedraw = [this] { Redraw(); };
  rows_.onRedraw = [this] { Redraw(); };
  rows_.SyncPassFilters();
}

void PageModel::SetFlags(PageFlags flags) {
  flags_ = std::move(flags);
  rows_.SetFlags(flags_);
}

void PageModel::SetVrPresent(std::function<bool()> vrPresent) {
  flags_.vrPresent = std::move(vrPresent);
  rows_.SetFlags(flags_);
}

void PageModel::Post(const BlockRequest& request) {
  if (post_) post_(request);
}

void PageModel::Redraw() {
  rows_.SyncPassFilters(true);
  if (onGraphChanged) onGraphChanged();
}

void PageModel::Refresh() {
  ApplyAppMode();
  rows_.Refresh(false);
  bands_.Refresh();
  Redraw();
}

void PageModel::ReloadChanged() {
  rows_.Refresh(true);
  bands_.ReloadChanged();
  Redraw();
}

void PageModel::ApplyAppMode() {
  const bool enabled = !def_.autoDisables || ReadValue(image_, RowOf(row::kAppMode)) != kModeAuto;
  bands_.SetEnabled(enabled || !def_.eq.perSet);
  rows_.SetPerSetEnabled(enabled);
}

void PageModel::SliderMoved(int id, int position) {
  if (!bands_.SliderMoved(id, position)) rows_.SliderMoved(id, position);
}

void PageModel::EditReturn(int id, const std::string& text) {
  controls_.SetTyped(id, text);
  if (!bands_.EditReturn(id, text)) rows_.EditReturn(id, text);
}

void PageModel::EditFocusLost(int id, const std::string& text) {
  // A band's frequency is committed when its edit loses the focus as well, and so is the
  // value of a row that says so.
  for (const auto& c : def_.eq.columns)
    if (c.freqEdit == id) return EditReturn(id, text);
  for (const auto& row : def_.sliders)
    if (row.commitOnLeave && row.readoutId == id) return EditReturn(id, text);
}

void PageModel::EditWheel(int id, const std::string& text, bool up) {
  controls_.SetTyped(id, text);
  bands_.EditWheel(id, up);
}

bool PageModel::WheelEdit(int id) const {
  if (id == kNoControl) return false;
  for (const auto& c : def_.eq.columns)
    if (id == c.gainEdit || id == c.qEdit || id == c.freqEdit) return true;
  return false;
}

void PageModel::ButtonClicked(int id) {
  if (bands_.ButtonClicked(id) || rows_.ButtonClicked(id)) return;
  if (onButton) onButton(id);
}

void PageModel::ListChanged(int id, int index) {
  if (onListChosen && onListChosen(id, index)) return;
  rows_.ListChanged(id, index);
}

void PageModel::SpinStep(int id, int delta) {
  bands_.SpinStep(id, delta);
}

void PageModel::FocusGained(int id) {
  const int band = BandOfControl(id);
  if (band >= 0) bands_.SelectBand(band);
}

int PageModel::BandOfControl(int id) const {
  const int band = bands_.BandOfControl(id);
  return band >= 0 ? band : rows_.BandOfControl(id);
}

void PageModel::DragPassFilter(int band, int freq) {
  if (bands_.Enabled()) rows_.DragPassFilter(band, freq);
}

}  // namespace tavelo
