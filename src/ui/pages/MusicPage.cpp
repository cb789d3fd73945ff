#include "ui/pages/MusicPage.h"

#include <QLabel>

#include "core/text/Texts.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/pages/BandColumns.h"
#include "ui/pages/MusicPageTable.h"

namespace tavelo::ui {
namespace {

// Placement below the graph: the band columns on the left, filters, key, gate and tone
// controls in the middle, the input choice and trims on the right.
constexpr int kTop = kPageGraphHeight + 6;
constexpr int kColumnX = 80, kColumnPitch = 60, kColumnWidth = 54;
constexpr int kSliderY = kTop + 18, kGainEditY = kSliderY + 126, kQEditY = kGainEditY + 24,
              kFreqEditY = kQEditY + 24, kTypeY = kFreqEditY + 24, kEqButtonsY = kTypeY + 30;
constexpr int kRowsX = 520, kRowPitch = 31, kRowHeight = 24;
constexpr int kInputX = 850;

}  // namespace

MusicPage::MusicPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent)
    : EqPage(music::Definition(), image, std::move(post), size, kGraphSlots, parent) {
  setObjectName("MusicPage");
  Build();
}

void MusicPage::Build() {
  PageBinder& b = Binder();
  const auto caption = [this, &b](QRect rect, Label label, int captionOf = kNoControl) {
    QLabel* l = b.Caption(rect, {}, captionOf);
    if (captionOf == kNoControl) extraCaptions_.push_back({l, label});
    return l;
  };

  // Band columns.
  caption(QRect(8, kTop - 2, 200, 18), Label::kMusicEq);
  caption(QRect(8, kSliderY + 50, 70, 20), Label::kGainDb);
  caption(QRect(8, kQEditY, 70, 20), Label::kQ);
  caption(QRect(8, kFreqEditY, 70, 20), Label::kFreqHz);
  caption(QRect(8, kTypeY, 70, 20), Label::kType);
  ui::PlaceBandColumns(b, Model().Definition().eq.columns,
                       {.x = kColumnX,
                        .pitch = kColumnPitch,
                        .width = kColumnWidth,
                        .sliderY = kSliderY,
                        .gainEditY = kGainEditY,
                        .qEditY = kQEditY,
                        .freqEditY = kFreqEditY,
                        .typeY = kTypeY});
  b.Button(music::kBypassButton, QRect(kColumnX, kEqButtonsY, 110, 26), {}, ButtonLook::kBypass);
  b.Button(music::kResetButton, QRect(kColumnX + 124, kEqButtonsY, 110, 26), {});

  // Filters, key, gate, tone controls: one row each.
  const auto rowY = [](int row) { return kTop + row * kRowPitch; };
  enum Shows { kEdit, kText };
  const auto sliderRow = [&](int row, int slider, int readout, Shows shows) {
    const int y = rowY(row);
    b.Caption(QRect(kRowsX, y, 100, kRowHeight), {}, slider);
    b.Slider(slider, QRect(kRowsX + 104, y, 135, kRowHeight), false);
    if (shows == kEdit)
      b.Edit(readout, QRect(kRowsX + 244, y + 1, 60, 22));
    else
      b.Readout(readout, QRect(kRowsX + 246, y, 60, kRowHeight));
  };
  sliderRow(0, music::kHpfSlider, music::kHpfEdit, kEdit);
  caption(QRect(kRowsX, rowY(1), 100, kRowHeight), Label::kHpType);
  b.SlopeList(music::kHpfList, QRect(kRowsX + 104, rowY(1), 160, 22));
  sliderRow(2, music::kLpfSlider, music::kLpfEdit, kEdit);
  b.Caption(QRect(kRowsX, rowY(3), 100, kRowHeight), {}, music::kLpfList);
  b.SlopeList(music::kLpfList, QRect(kRowsX + 104, rowY(3), 160, 22));
  sliderRow(4, music::kKeySlider, music::kKeyText, kText);
  sliderRow(5, music::kGateSlider, music::kGateText, kText);
  sliderRow(6, music::kBassSlider, music::kBassEdit, kEdit);
  sliderRow(7, music::kMidSlider, music::kMidEdit, kEdit);
  sliderRow(8, music::kMidFreqSlider, music::kMidFreqEdit, kEdit);
  sliderRow(9, music::kTrebleSlider, music::kTrebleEdit, kEdit);

  // Input choice and trims.
  caption(QRect(kInputX, kTop - 2, 200, 18), Label::kMusicInput);
  for (int i = 0; i < 5; ++i)
    b.Button(music::kInputButtons[i], QRect(kInputX + i * 62, kTop + 20, 58, 24), {});
  const int trims[5][2] = {{music::kInput1Gain, music::kInput1GainText},
                           {music::kInput2Gain, music::kInput2GainText},
                           {music::kBtGain, music::kBtGainText},
                           {music::kUdiskGain, music::kUdiskGainText},
                           {music::kOpticalGain, music::kOpticalGainText}};
  for (int i = 0; i < 5; ++i) {
    const int y = kTop + 60 + i * kRowPitch;
    b.Caption(QRect(kInputX, y, 104, kRowHeight), {}, trims[i][0]);
    b.Slider(trims[i][0], QRect(kInputX + 108, y, 135, kRowHeight), false);
    b.Edit(trims[i][1], QRect(kInputX + 248, y + 1, 44, 22), true);
  }
  ApplyLanguage(Lang::kEnglish);
}

void MusicPage::ApplyLanguage(Lang lang) {
  EqPage::ApplyLanguage(lang);
  Binder().ApplyLabels(nav::PageKind::kMusic, lang);
  for (const auto& c : extraCaptions_) c.label->setText(QString::fromUtf8(LabelText(c.text, lang)));
  Binder().ApplySlopeLanguage(lang);
}

}  // namespace tavelo::ui
