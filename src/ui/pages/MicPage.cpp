#include "ui/pages/MicPage.h"

#include <QFont>
#include <QFrame>
#include <QLabel>

#include "core/text/Texts.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/pages/BandColumns.h"
#include "ui/pages/MicPageTable.h"

namespace tavelo::ui {
namespace {

// Placement below the graph: the ten band columns on the left with the microphone, link,
// bypass and reset buttons under them; filters, feedback, gate and volumes in the middle;
// compressor and tone controls on the right.
constexpr int kTop = kPageGraphHeight + 6;
constexpr int kColumnX = 66, kColumnPitch = 52, kColumnWidth = 51, kSpinWidth = 13;
constexpr int kSliderY = kTop + 18, kGainEditY = kSliderY + kEqTrackHeight + 4,
              kQEditY = kGainEditY + 24, kFreqEditY = kQEditY + 24, kTypeY = kFreqEditY + 24,
              kEqButtonsY = kTypeY + 28;
constexpr int kRowPitch = 31, kRowHeight = 24;
constexpr int kMiddleX = 600, kRightX = 890;
constexpr int kSwatchHeight = 4;

}  // namespace

MicPage::MicPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent)
    : EqPage(mic::Definition(), image, post, size, kGraphSlots, parent),
      post_(std::move(post)),
      link_(image) {
  setObjectName("MicPage");
  Model().onButton = [this](int id) { PageButton(id); };
  Model().BandSide().onBandEvent = [this](tavelo::BandEvent event, int band) {
    BandEvent(event, band);
  };
  Build();
}

void MicPage::Build() {
  PageBinder& b = Binder();
  const auto caption = [this, &b](QRect rect, Label label) {
    QLabel* l = b.Caption(rect, {});
    extraCaptions_.push_back({l, label});
    return l;
  };

  // Band columns.
  caption(QRect(8, kTop - 2, 200, 18), Label::kMicEq);
  caption(QRect(4, kSliderY + 50, 60, 20), Label::kGainDb);
  caption(QRect(4, kQEditY, 60, 20), Label::kQ);
  caption(QRect(4, kFreqEditY, 60, 20), Label::kFreqHz);
  caption(QRect(4, kTypeY, 60, 20), Label::kType);
  // Ten columns share the width with the parameter rows: the type captions get a smaller
  // face so that "LS" and "HS" fit their buttons.
  QFont typeFont = font();
  typeFont.setPixelSize(10);
  ui::PlaceBandColumns(b, Model().Definition().eq.columns,
                       {.x = kColumnX,
                        .pitch = kColumnPitch,
                        .width = kColumnWidth,
                        .sliderY = kSliderY,
                        .gainEditY = kGainEditY,
                        .qEditY = kQEditY,
                        .freqEditY = kFreqEditY,
                        .typeY = kTypeY,
                        .qEditTrim = kSpinWidth + 1,
                        .spinWidth = kSpinWidth,
                        .typeWidth = 17},
                       &typeFont);

  // Which microphone is shown, each button over a strip in its curve colour.
  static const char* const kMicCaptions[2] = {"MIC1", "MIC2"};
  for (int m = 0; m < 2; ++m) {
    const QRect rect(kColumnX + m * 62, kEqButtonsY, 58, 24);
    b.Button(mic::kMicButtons[m], rect, kMicCaptions[m]);
    auto* swatch = new QFrame(this);
    swatch->setGeometry(rect.x(), rect.bottom() + 2, rect.width(), kSwatchHeight);
    swatch->setStyleSheet(
        QString("background-color: #%1;").arg(mic::kCurveColour[m], 6, 16, QLatin1Char('0')));
  }
  b.Button(mic::kLinkButton, QRect(kColumnX + 128, kEqButtonsY, 128, 24), {});
  b.Button(mic::kBypassButton, QRect(kColumnX + 264, kEqButtonsY, 112, 24), {},
           ButtonLook::kBypass);
  b.Button(mic::kResetButton, QRect(kColumnX + 384, kEqButtonsY, 112, 24), {});
  Model().Controls().SetLit(mic::kMicButtons[0], true);

  // Parameter rows: caption, slider, readout (or edit) in two columns.
  enum Shows { kEdit, kText };
  const auto rowY = [](int row) { return kTop + row * kRowPitch; };
  const auto sliderRow = [&](int x, int row, int slider, int readout, Shows shows) {
    const int y = rowY(row);
    b.Caption(QRect(x, y, 92, kRowHeight), {}, slider);
    b.Slider(slider, QRect(x + 94, y, 108, kRowHeight), false);
    if (shows == kEdit)
      b.Edit(readout, QRect(x + 206, y + 1, 52, 22));
    else
      b.Readout(readout, QRect(x + 208, y, 52, kRowHeight));
  };
  const auto listRow = [&](int x, int row, int list) {
    b.Caption(QRect(x, rowY(row), 92, kRowHeight), {}, list);
    b.SlopeList(list, QRect(x + 94, rowY(row), 164, 22));
  };
  sliderRow(kMiddleX, 0, mic::kHpfSlider, mic::kHpfEdit, kEdit);
  listRow(kMiddleX, 1, mic::kHpfList);
  sliderRow(kMiddleX, 2, mic::kLpfSlider, mic::kLpfEdit, kEdit);
  listRow(kMiddleX, 3, mic::kLpfList);
  sliderRow(kMiddleX, 4, mic::kFbxSlider, mic::kFbxText, kText);
  sliderRow(kMiddleX, 5, mic::kGateSlider, mic::kGateText, kText);
  sliderRow(kMiddleX, 6, mic::kMicAVolSlider, mic::kMicAVolText, kText);
  sliderRow(kMiddleX, 7, mic::kMicBVolSlider, mic::kMicBVolText, kText);
  // The microphones' on/off buttons sit at the end of their volume rows.
  b.Button(mic::kMicAVolOn, QRect(kMiddleX + 246, rowY(6) + 1, 36, 22), "ON");
  b.Button(mic::kMicBVolOn, QRect(kMiddleX + 246, rowY(7) + 1, 36, 22), "ON");

  sliderRow(kRightX, 0, mic::kCompThSlider, mic::kCompThText, kText);
  sliderRow(kRightX, 1, mic::kCompRatioSlider, mic::kCompRatioText, kText);
  sliderRow(kRightX, 2, mic::kCompAttackSlider, mic::kCompAttackText, kText);
  sliderRow(kRightX, 3, mic::kCompReleaseSlider, mic::kCompReleaseText, kText);
  b.Button(mic::kCompBypass, QRect(kRightX + 94, rowY(4), 130, 24), {}, ButtonLook::kBypass);
  sliderRow(kRightX, 5, mic::kBassSlider, mic::kBassEdit, kEdit);
  sliderRow(kRightX, 6, mic::kMidSlider, mic::kMidEdit, kEdit);
  sliderRow(kRightX, 7, mic::kMidFreqSlider, mic::kMidFreqEdit, kEdit);
  sliderRow(kRightX, 8, mic::kTrebleSlider, mic::kTrebleEdit, kEdit);
  ApplyLanguage(Lang::kEnglish);
}

void MicPage::ApplyLanguage(Lang lang) {
  EqPage::ApplyLanguage(lang);
  Binder().ApplyLabels(nav::PageKind::kMic, lang);
  for (const auto& c : extraCaptions_) c.label->setText(QString::fromUtf8(LabelText(c.text, lang)));
  Binder().ApplySlopeLanguage(lang);
}

int MicPage::ShownMicrophone() {
  return Model().BandSide().ViewIndex();
}

void MicPage::PageButton(int id) {
  if (id == mic::kMicButtons[0]) ShowMicrophone(0);
  if (id == mic::kMicButtons[1]) ShowMicrophone(1);
  if (id == mic::kLinkButton) ToggleLink();
}

// The view change reloads the columns, the bypass state and the graph in the
// microphone's colours; nothing is posted.
void MicPage::ShowMicrophone(int mic) {
  ControlStore& controls = Model().Controls();
  for (int m = 0; m < 2; ++m) controls.SetLit(mic::kMicButtons[m], m == mic);
  if (mic == ShownMicrophone()) return;
  Model().ChooseView(mic);
}

void MicPage::ToggleLink() {
  linkOn_ = !linkOn_;
  Model().Controls().SetLit(mic::kLinkButton, linkOn_);
  if (const auto request = link_.Switch(linkOn_, ShownMicrophone())) post_(*request);
}

void MicPage::BandEvent(tavelo::BandEvent event, int band) {
  switch (event) {
    case tavelo::BandEvent::kStored:
      link_.BandStored(ShownMicrophone(), band);
      break;
    case tavelo::BandEvent::kBypass:
      link_.BypassChanged(ShownMicrophone());
      break;
    case tavelo::BandEvent::kReset:
      link_.ResetDone(ShownMicrophone());
      break;
  }
}

}  // namespace tavelo::ui
