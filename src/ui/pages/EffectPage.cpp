#include "ui/pages/EffectPage.h"

#include <QLabel>

#include "ui/controls/SkinButton.h"
#include "ui/pages/BandColumns.h"

namespace tavelo::ui {
namespace {

// Placement below the graph: band columns on the left, two columns of parameter rows on
// the right (caption, slider, readout, switch).
constexpr int kTop = kPageGraphHeight + 6;
constexpr int kColumnX = 80, kColumnPitch = 66, kColumnWidth = 58, kSpinWidth = 16;
constexpr int kSliderY = kTop + 18, kGainEditY = kSliderY + 126, kQEditY = kGainEditY + 24,
              kFreqEditY = kQEditY + 24, kTypeY = kFreqEditY + 24, kEqButtonsY = kTypeY + 30;
constexpr int kRowsX[2] = {428, 796};
constexpr int kRowsY = kTop + 22, kRowPitch = 30, kRowHeight = 24;
constexpr int kCaptionWidth = 152, kSliderWidth = 110, kReadoutWidth = 56, kSwitchWidth = 24;
constexpr int kSliderX = kCaptionWidth + 4;
constexpr int kReadoutX = kSliderX + kSliderWidth + 6;
constexpr int kSwitchX = kReadoutX + kReadoutWidth + 6;

}  // namespace

EffectPage::EffectPage(const PageDefinition& def, const EffectLayout& layout, ParamImage& image,
                       BlockPoster post, PageHost host, QSize size, QWidget* parent)
    : EqPage(def, image, std::move(post), size, kGraphSlots, parent),
      layout_(layout),
      host_(std::move(host)) {
  // While the front panel owns the quick values, their sliders show what it reported.
  Model().SetLockedValue([this](int id) -> std::optional<int> {
    for (const auto& q : layout_.quick)
      if (q.slider == id) return (host_.Panel().*layout_.quickValues)[q.quick];
    return std::nullopt;
  });
  PlaceBandColumns();
  PlaceRows();
}

QRect EffectPage::CaptionRect(int column, int row) {
  return {kRowsX[column], kRowsY + row * kRowPitch, kCaptionWidth, kRowHeight};
}

QRect EffectPage::ControlRect(int column, int row) {
  return {kRowsX[column] + kSliderX, kRowsY + row * kRowPitch, kSliderWidth, kRowHeight};
}

QLabel* EffectPage::OwnCaption(QRect rect, Label label) {
  QLabel* l = Binder().Caption(rect, {});
  captions_.push_back({l, label});
  return l;
}

void EffectPage::PlaceBandColumns() {
  PageBinder& b = Binder();
  OwnCaption(QRect(8, kTop - 2, 300, 18), layout_.eqCaption);
  OwnCaption(QRect(8, kSliderY + 50, 70, 20), Label::kGainDb);
  OwnCaption(QRect(8, kQEditY, 70, 20), Label::kQ);
  OwnCaption(QRect(8, kFreqEditY, 70, 20), Label::kFreqHz);
  OwnCaption(QRect(8, kTypeY, 70, 20), Label::kType);
  ui::PlaceBandColumns(b, Model().Definition().eq.columns,
                       {.x = kColumnX,
                        .pitch = kColumnPitch,
                        .width = kColumnWidth,
                        .sliderY = kSliderY,
                        .gainEditY = kGainEditY,
                        .qEditY = kQEditY,
                        .freqEditY = kFreqEditY,
                        .typeY = kTypeY,
                        .qEditTrim = kSpinWidth + 2,
                        .spinWidth = kSpinWidth,
                        .typeWidth = 19});
  b.Button(effect::kBypassButton, QRect(kColumnX, kEqButtonsY, 120, 26), {}, ButtonLook::kBypass);
  b.Button(effect::kResetButton, QRect(kColumnX + 132, kEqButtonsY, 120, 26), {});
}

void EffectPage::PlaceRows() {
  PageBinder& b = Binder();
  OwnCaption(QRect(kRowsX[0], kTop - 2, 300, 18), layout_.paramCaption);
  for (const auto& r : layout_.rows) {
    const QRect control = ControlRect(r.column, r.row);
    const int x = kRowsX[r.column], y = control.y();
    b.Caption(CaptionRect(r.column, r.row), {}, r.slider);
    b.Slider(r.slider, control, false);
    if (r.frequencyEdit)
      b.Edit(r.readout, QRect(x + kReadoutX, y + 1, kReadoutWidth, kRowHeight - 2));
    else
      b.Readout(r.readout, QRect(x + kReadoutX, y, kReadoutWidth, kRowHeight));
    if (r.onSwitch != kNoControl)
      b.Button(r.onSwitch, QRect(x + kSwitchX, y + 2, kSwitchWidth, kRowHeight - 4), {},
               ButtonLook::kType);
  }
  adjustCaption_ = OwnCaption(CaptionRect(1, layout_.adjustRow), Label::kAdjMannerColon);
  QRect offRect = ControlRect(1, layout_.adjustRow);
  offRect.setWidth(90);
  SkinButton* off = b.Button(effect::kVrOffButton, offRect, {});
  connect(off, &QAbstractButton::clicked, this, [this] { host_.SetAdjustManner(1); });
  ShowAdjustRow();
}

void EffectPage::ShowAdjustRow() {
  // The row only means something on a processor with front-panel knobs.
  const bool shown = host_.VrPresent();
  adjustCaption_->setVisible(shown);
  Model().Controls().SetVisible(effect::kVrOffButton, shown);
}

void EffectPage::Refresh() {
  EqPage::Refresh();
  ShowAdjustRow();
}

void EffectPage::ReloadChanged() {
  EqPage::ReloadChanged();
  ShowAdjustRow();
}

void EffectPage::ApplyLanguage(Lang lang) {
  EqPage::ApplyLanguage(lang);
  Binder().ApplyLabels(layout_.labels, lang);
  for (const auto& c : captions_) c.label->setText(QString::fromUtf8(LabelText(c.text, lang)));
  if (auto* off = qobject_cast<SkinButton*>(Binder().Widget(effect::kVrOffButton)))
    off->setText(QString::fromUtf8(LabelText(Label::kVrOff, lang)));
}

}  // namespace tavelo::ui
