#include "ui/pages/OutputPage.h"

#include <QPainter>

#include "core/text/Texts.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/pages/BandColumns.h"
#include "ui/skin/GroupFrame.h"

namespace tavelo::ui {
namespace {

using namespace output;

// Placement below the graph: the "EQ" group on the left; "Output" over "Comp" and
// "Mixer" over "Xover" beside it.
constexpr int kTop = kPageGraphHeight + 4;
constexpr int kGroupGap = 4, kGroupHeader = 24;
constexpr int kColumnX = 72, kColumnPitch = 56, kColumnWidth = 54;
constexpr int kSliderY = kTop + kGroupHeader + 2, kGainEditY = kSliderY + kEqTrackHeight + 4,
              kQEditY = kGainEditY + 24, kFreqEditY = kQEditY + 24, kTypeY = kFreqEditY + 24,
              kEqButtonsY = kTypeY + 30;
constexpr int kGroupWidth = 340, kRowPitch = 25, kRowHeight = 22;
// Within a group row: caption, slider, readout (or edit), small switch.
constexpr int kCaptionX = 8, kCaptionWidth = 100, kSliderX = 110, kSliderWidth = 124,
              kReadoutX = 238, kReadoutWidth = 80, kSwitchX = 318, kSwitchSize = 16;

}  // namespace

OutputPage::OutputPage(const OutputPageSpec& table, ParamImage& image, BlockPoster post, QSize size,
                       QWidget* parent)
    : EqPage(Definition(table), image, std::move(post), size, kGraphSlots, parent),
      table_(table),
      image_(image),
      frame_(GroupFrameImage()) {
  setObjectName(table.className);
  const int eqWidth = kColumnX + table.eqBands * kColumnPitch + 4;
  const int left = 2 + eqWidth + kGroupGap;
  const int right = left + kGroupWidth + kGroupGap;
  const int outputBottom = BuildOutput(left, kTop);
  const int mixerBottom = BuildMixer(right, kTop);
  const int lower = std::max(outputBottom, mixerBottom) + kGroupGap;
  const int bottom = std::max(BuildComp(left, lower), BuildXover(right, lower));
  BuildEq(QRect(2, kTop, eqWidth, bottom - kTop));
  ApplyLanguage(Lang::kEnglish);
  ShowDelays();
}

QLabel* OutputPage::AddStatic(int id, QRect rect) {
  QLabel* label = Binder().Caption(rect, {});
  label->setObjectName(QString("static%1").arg(id));
  statics_[id] = label;
  return label;
}

QLabel* OutputPage::Static(int id) const {
  const auto it = statics_.find(id);
  return it == statics_.end() ? nullptr : it->second;
}

QRect OutputPage::FrameRect(int frameId) const {
  for (const auto& [id, rect] : frames_)
    if (id == frameId) return rect;
  return {};
}

void OutputPage::Group(const output::Group& group, QRect rect) {
  frames_.push_back({group.frame, rect});
  // The caption stands 16 pixels right of and 2 below the frame's top-left corner.
  QLabel* caption = AddStatic(group.caption, QRect(rect.topLeft() + QPoint(16, 2), QSize(200, 20)));
  QFont font = caption->font();
  font.setBold(true);
  caption->setFont(font);
}

void OutputPage::BuildEq(QRect frame) {
  PageBinder& b = Binder();
  Group(kEqGroup, frame);
  AddStatic(kGainColumnCaption, QRect(8, kSliderY + 50, 62, 20));
  AddStatic(kQColumnCaption, QRect(8, kQEditY, 62, 20));
  AddStatic(kFreqColumnCaption, QRect(8, kFreqEditY, 62, 20));
  AddStatic(kTypeColumnCaption, QRect(8, kTypeY, 62, 20));
  ui::PlaceBandColumns(b, Model().Definition().eq.columns,
                       {.x = kColumnX,
                        .pitch = kColumnPitch,
                        .width = kColumnWidth,
                        .sliderY = kSliderY,
                        .gainEditY = kGainEditY,
                        .qEditY = kQEditY,
                        .freqEditY = kFreqEditY,
                        .typeY = kTypeY,
                        .spinWidth = 14});  // the step arrows are kept hidden
  b.Button(kEqBypass, QRect(kColumnX, kEqButtonsY, 110, 26), {}, ButtonLook::kBypass);
  b.Button(kEqReset, QRect(kColumnX + 124, kEqButtonsY, 110, 26), {});
}

void OutputPage::SliderRow(int x, int y, int caption, int slider, int readout, int toggle) {
  PageBinder& b = Binder();
  AddStatic(caption, QRect(x + kCaptionX, y, kCaptionWidth, kRowHeight));
  b.Slider(slider, QRect(x + kSliderX, y, kSliderWidth, kRowHeight), false);
  b.Readout(readout, QRect(x + kReadoutX, y, kReadoutWidth, kRowHeight));
  if (toggle != kNoControl)
    b.Button(toggle,
             QRect(x + kSwitchX, y + (kRowHeight - kSwitchSize) / 2, kSwitchSize, kSwitchSize), {},
             ButtonLook::kBypass);
}

int OutputPage::BuildOutput(int x, int y) {
  const bool stereo = HasRightChannel(table_);
  int row = y + kGroupHeader;
  SliderRow(x, row, kLeftVolumeCaption, kLeftVolume, kLeftVolumeText, kLeftVolumeOn);
  row += kRowPitch;
  if (stereo) {
    SliderRow(x, row, kRightVolumeCaption, kRightVolume, kRightVolumeText, kRightVolumeOn);
    row += kRowPitch;
  }
  SliderRow(x, row, kLeftDelayCaption, kLeftDelay, kLeftDelayText, kNoControl);
  row += kRowPitch;
  if (stereo) {
    SliderRow(x, row, kRightDelayCaption, kRightDelay, kRightDelayText, kNoControl);
    row += kRowPitch;
  }
  Binder().Button(kLeftMute, QRect(x + kSliderX, row, 100, kRowHeight), {}, ButtonLook::kBypass);
  if (stereo)
    Binder().Button(kRightMute, QRect(x + kSliderX + 110, row, 100, kRowHeight), {},
                    ButtonLook::kBypass);
  row += kRowPitch + 4;
  Group(kOutputGroup, QRect(x, y, kGroupWidth, row - y));
  return row;
}

int OutputPage::BuildMixer(int x, int y) {
  int row = y + kGroupHeader;
  SliderRow(x, row, kMusicMixCaption, kMusicMix, kMusicMixText, kMusicMixOn);
  SliderRow(x, row += kRowPitch, kMicDirectMixCaption, kMicDirectMix, kMicDirectMixText,
            kMicDirectMixOn);
  SliderRow(x, row += kRowPitch, kReverbMixCaption, kReverbMix, kReverbMixText, kReverbMixOn);
  SliderRow(x, row += kRowPitch, kEchoMixCaption, kEchoMix, kEchoMixText, kEchoMixOn);
  row += kRowPitch + 4;
  Group(kMixerGroup, QRect(x, y, kGroupWidth, row - y));
  return row;
}

int OutputPage::BuildComp(int x, int y) {
  int row = y + kGroupHeader;
  SliderRow(x, row, kCompThresholdCaption, kCompThreshold, kCompThresholdText, kNoControl);
  SliderRow(x, row += kRowPitch, kCompRatioCaption, kCompRatio, kCompRatioText, kNoControl);
  SliderRow(x, row += kRowPitch, kCompAttackCaption, kCompAttack, kCompAttackText, kNoControl);
  SliderRow(x, row += kRowPitch, kCompReleaseCaption, kCompRelease, kCompReleaseText, kNoControl);
  row += kRowPitch;
  Binder().Button(kCompBypass, QRect(x + kSliderX, row, 110, kRowHeight), {}, ButtonLook::kBypass);
  row += kRowPitch + 4;
  Group(kCompGroup, QRect(x, y, kGroupWidth, row - y));
  return row;
}

int OutputPage::BuildXover(int x, int y) {
  PageBinder& b = Binder();
  int row = y + kGroupHeader;
  const auto crossover = [&](int caption, int slider, int edit, int listCaption, int list) {
    AddStatic(caption, QRect(x + kCaptionX, row, kCaptionWidth, kRowHeight));
    b.Slider(slider, QRect(x + kSliderX, row, kSliderWidth, kRowHeight), false);
    b.Edit(edit, QRect(x + kReadoutX + 4, row + 1, 62, kRowHeight - 2));
    row += kRowPitch;
    AddStatic(listCaption, QRect(x + kCaptionX, row, kCaptionWidth, kRowHeight));
    b.SlopeList(list, QRect(x + kSliderX, row, 160, kRowHeight));
    row += kRowPitch;
  };
  crossover(kLpfCaption, kLpfSlider, kLpfEdit, kLpTypeCaption, kLpfList);
  crossover(kHpfCaption, kHpfSlider, kHpfEdit, kHpTypeCaption, kHpfList);
  row += 4;
  Group(kXoverGroup, QRect(x, y, kGroupWidth, row - y));
  return row;
}

void OutputPage::Refresh() {
  EqPage::Refresh();
  ShowDelays();
}

void OutputPage::ReloadChanged() {
  EqPage::ReloadChanged();
  ShowDelays();
}

void OutputPage::AppModeChanged() {
  EqPage::AppModeChanged();
  ShowDelays();
}

void OutputPage::ShowDelays() {
  const int max = DelayMax(table_, image_);
  for (int id : {kLeftDelay, kRightDelay})
    if (Binder().Widget(id)) Model().Controls().SetRange(id, 0, max, false);
  const bool distances = ShowsDistances(image_);
  for (int id : {kLeftDelayCaption, kRightDelayCaption})
    if (QLabel* label = Static(id))
      if (const char* text = LabelFor(table_.labels, id, lang_, distances))
        label->setText(QString::fromUtf8(text));
}

void OutputPage::ApplyLanguage(Lang lang) {
  EqPage::ApplyLanguage(lang);
  lang_ = lang;
  Binder().ApplyLabels(table_.labels, lang);
  for (const auto& [id, label] : statics_)
    if (const char* text = LabelFor(table_.labels, id, lang, ShowsDistances(image_)))
      label->setText(QString::fromUtf8(text));
  Binder().ApplySlopeLanguage(lang);
}

void OutputPage::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  const QImage& picture = frame_.Image();
  for (const auto& [id, frame] : frames_)
    for (const FramePiece& piece : FramePieces(frame_.Size(), frame))
      painter.drawImage(QRectF(piece.target), picture, PixelSource(piece, frame_.Ratio()));
}

MainOutputPage::MainOutputPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent)
    : OutputPage(kMain, image, std::move(post), size, parent) {}
SurroundPage::SurroundPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent)
    : OutputPage(kSurround, image, std::move(post), size, parent) {}
CentrePage::CentrePage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent)
    : OutputPage(kCentre, image, std::move(post), size, parent) {}
SubwooferPage::SubwooferPage(ParamImage& image, BlockPoster post, QSize size, QWidget* parent)
    : OutputPage(kSub, image, std::move(post), size, parent) {}

}  // namespace tavelo::ui
