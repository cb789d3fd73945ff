#include "ui/app/TopBar.h"

#include <QLabel>

#include "core/params/Catalogue.h"
#include "core/text/Texts.h"
#include "ui/app/TopBarRules.h"
#include "ui/controls/GreyButton.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/controls/SkinSlider.h"
#include "ui/pages/PageLabels.h"
#include "ui/skin/SkinArt.h"

namespace tavelo::ui {
namespace {

constexpr int kRow1 = 4, kRow2 = 32, kRowHeight = 24;
constexpr int kLevelTrack = 120;

// Which bit of the start reply's input-status byte belongs to an input source; -1 none.
int InputStatusBit(int source) {
  return source == 3 ? 1 : source == 2 ? 2 : -1;
}

int Value(const Engine& engine, RowId id) {
  return ReadValue(engine.Image(), RowOf(id));
}

}  // namespace

TopBar::TopBar(Engine& engine, int width, QWidget* parent) : QWidget(parent), engine_(engine) {
  using namespace mainid;
  setObjectName("topBar");
  setGeometry(0, 0, width, kTopBarHeight);
  BuildLinkAndKeyButtons();
  BuildLevels();
  BuildAdjustAndModes();
  BuildInputSource();
}

void TopBar::BuildLinkAndKeyButtons() {
  using namespace mainid;
  connect_ = AddButton(kConnect, QRect(6, kRow1, 84, kRowHeight), {});
  connect(connect_, &QPushButton::clicked, this, &TopBar::ConnectClicked);
  const struct {
    int id;
    const char* text;
    LinkChoice choice;
    int x;
  } links[] = {{kUsb, "USB", LinkChoice::kUsb, 96},
               {kWifi, "WIFI", LinkChoice::kWifi, 142},
               {kDemo, "DEMO", LinkChoice::kDemo, 188}};
  for (const auto& l : links) {
    auto* b = AddButton(l.id, QRect(l.x, kRow1, l.id == kDemo ? 50 : 44, kRowHeight), l.text);
    connect(b, &QPushButton::clicked, this, [this, choice = l.choice] { emit LinkChosen(choice); });
  }
  connect(AddButton(kMute, QRect(248, kRow1, 52, kRowHeight), {}), &QPushButton::clicked, this,
          &TopBar::ToggleMute);
  const struct {
    int id, arg;
    const char* text;
  } keys[3] = {{kKeyPrevious, 0, "<<"}, {kKeyPlay, 2, ">||"}, {kKeyNext, 1, ">>"}};
  for (int i = 0; i < 3; ++i) {
    auto* b = AddButton(keys[i].id, QRect(306 + i * 28, kRow1, 26, kRowHeight), keys[i].text);
    connect(b, &QPushButton::clicked, this, [this, arg = keys[i].arg] {
      engine_.Post(msg::Block{CommandCode::kKeyButton, arg});
    });
  }
}

void TopBar::BuildLevels() {
  using namespace mainid;
  const struct {
    int caption;
    topbar::Level level;
    int x, captionWidth;
  } levels[] = {{kMusicCaption, topbar::Level::kMusic, 396, 50},
                {kMicCaption, topbar::Level::kMic, 604, 40},
                {kEffectCaption, topbar::Level::kEffect, 800, 50},
                {kMainCaption, topbar::Level::kMain, 800, 50}};
  for (const auto& l : levels) {
    const topbar::LevelInfo& info = topbar::InfoOf(l.level);
    auto* caption = new QLabel(this);
    caption->setGeometry(l.x, kRow1, l.captionWidth, kRowHeight);
    controls_[l.caption] = caption;
    auto* slider = new SkinSlider(this, info.slider);
    slider->setObjectName(QString("c%1").arg(info.slider));
    slider->setGeometry(l.x + l.captionWidth, kRow1, kLevelTrack, kRowHeight);
    slider->SetTrackImagesWithFill(HorizontalTrack(kLevelTrack, kRowHeight),
                                   HorizontalFill(kLevelTrack, kRowHeight),
                                   HorizontalThumb(kLevelThumbWidth, kRowHeight, false),
                                   HorizontalThumb(kLevelThumbWidth, kRowHeight, true));
    const CatalogueRow& r = RowOf(info.value);
    slider->SetRange(r.min, r.max);  // the slider runs over the whole value
    controls_[info.slider] = slider;
    connect(slider, &SkinSlider::Moved, this, &TopBar::LevelSliderMoved);
    auto* value = new QLabel(this);
    value->setGeometry(l.x + l.captionWidth + kLevelTrack + 4, kRow1, 30, kRowHeight);
    controls_[info.valueLabel] = value;
    if (l.level == topbar::Level::kMain) {  // the master level is shown only in cinema use
      caption->hide();
      slider->hide();
      value->hide();
    }
  }
}

void TopBar::BuildAdjustAndModes() {
  using namespace mainid;
  auto* adj = new QLabel(this);
  adj->setGeometry(1000, kRow1, 82, kRowHeight);
  controls_[kAdjManner] = adj;
  for (int manner : {0, 1}) {
    auto* b = manner == 0 ? AddButton(kVr, QRect(1082, kRow1, 34, kRowHeight), "VR")
                          : AddButton(kParam, QRect(1118, kRow1, 46, kRowHeight), "Param");
    connect(b, &QPushButton::clicked, this, [this, manner] {
      engine_.Post(msg::SetAdjustManner{manner});
      ShowAdjustManner();
      emit ValuesChanged();
    });
  }
  for (int id : {kAdjManner, kVr, kParam})
    controls_[id]->hide();  // shown when the
                            // processor has VR
  const int modes[3] = {kAuto, kSing, kDance};
  for (int m = 0; m < 3; ++m) {
    auto* b = AddButton(modes[m], QRect(860 + m * 52, kRow2, 48, kRowHeight), {});
    connect(b, &QPushButton::clicked, this, [this, m] { emit AppModeChosen(m); });
  }
  for (int id : kAppModeButtons) AddButton(id, QRect(0, 0, 48, kRowHeight), {})->hide();
}

void TopBar::BuildInputSource() {
  using namespace mainid;
  input_ = new SkinComboBox(this);
  input_->setObjectName(QString("c%1").arg(kInputSource));
  input_->setGeometry(1020, kRow2, 130, kRowHeight);
  input_->SetUp();
  input_->SetReadOnly(true);
  controls_[kInputSource] = input_;
  connect(input_, &QComboBox::activated, this, [this](int index) {
    const CatalogueRow& r = RowOf(row::kMusicInput);
    auto& image = engine_.Image();
    if (index < r.min || index > r.max || ReadValue(image, r) == index) return;
    WriteValue(image, r, index);
    emit Edited();
    const BlockRequest request = RequestFor(image, r);
    engine_.Post(request);
    ShowInputSource();
    emit ValuesChanged();
  });
  // A lamp beside the input source: the processor reports a signal on it.
  inputStatus_ = new QLabel(this);
  inputStatus_->setObjectName("inputStatus");
  inputStatus_->setGeometry(1154, kRow2 + 6, 12, 12);
  inputStatus_->setStyleSheet("background: #20c020; border-radius: 6px;");
  inputStatus_->hide();
}

SkinButton* TopBar::AddButton(int id, QRect rect, const QString& text) {
  SkinButton* button = MakeGreyButton(this, rect, QString("c%1").arg(id), text);
  controls_[id] = button;
  return button;
}

QWidget* TopBar::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

void TopBar::ShowLink(LinkChoice choice) {
  static_cast<SkinButton*>(Control(mainid::kUsb))->SetLit(choice == LinkChoice::kUsb);
  static_cast<SkinButton*>(Control(mainid::kWifi))->SetLit(choice == LinkChoice::kWifi);
  static_cast<SkinButton*>(Control(mainid::kDemo))->SetLit(choice == LinkChoice::kDemo);
}

void TopBar::SetLinkEnabled(bool enabled) {
  for (int id : {mainid::kUsb, mainid::kWifi, mainid::kDemo}) Control(id)->setEnabled(enabled);
}

void TopBar::ShowLevel(int slider, int value) {
  const topbar::LevelInfo* info = topbar::InfoOfSlider(slider);
  if (!info) return;
  static_cast<SkinSlider*>(Control(info->slider))->SetPos(value);
  static_cast<QLabel*>(Control(info->valueLabel))
      ->setText(QString::fromStdString(FormatReadout(RowOf(info->value).readout, value)));
}

void TopBar::ShowLevels(const TopBarValues& values) {
  ShowLevel(topbar::kMusicSlider, values.music);
  ShowLevel(topbar::kMicSlider, values.mic);
  ShowLevel(topbar::kEffectSlider, values.effect);
  ShowLevel(topbar::kMainSlider, values.master);
}

void TopBar::ShowLevelsOfImage() {
  for (auto level :
       {topbar::Level::kMusic, topbar::Level::kMic, topbar::Level::kEffect, topbar::Level::kMain}) {
    const topbar::LevelInfo& info = topbar::InfoOf(level);
    ShowLevel(info.slider, Value(engine_, info.value));
  }
}

void TopBar::LevelSliderMoved(int id, int position) {
  const topbar::LevelInfo* info = topbar::InfoOfSlider(id);
  if (!info) return;
  static_cast<QLabel*>(Control(info->valueLabel))
      ->setText(QString::fromStdString(FormatReadout(RowOf(info->value).readout, position)));
  if (const auto request = topbar::SliderMoved(engine_.Image(), id, position)) {
    emit Edited();
    engine_.Post(*request);
  }
}

void TopBar::Hotkey(int which, bool up) {
  if (which < 1 || which > 3) return;
  const auto level = static_cast<topbar::Level>(which);
  const auto code = topbar::HotkeyStep(engine_.Image(), level, up);
  if (!code) return;
  const topbar::LevelInfo& info = topbar::InfoOf(level);
  ShowLevel(info.slider, Value(engine_, info.value));
  emit Edited();
  engine_.Post(*code);
}

void TopBar::ToggleMute() {
  muted_ = !muted_;
  static_cast<SkinButton*>(Control(mainid::kMute))->SetLit(muted_);
  engine_.Post(msg::Block{CommandCode::kMute, muted_ ? 1 : 0});
}

void TopBar::ShowInputSource() {
  {
    const QSignalBlocker block(input_);
    input_->setCurrentIndex(Value(engine_, row::kMusicInput));
  }
  ShowKeyButtons();
  const int bit = InputStatusBit(Value(engine_, row::kMusicInput));
  inputStatus_->setVisible(bit >= 0 && ((engine_.Header().inputStatus >> bit) & 1));
}

void TopBar::ShowIndicator(std::uint8_t indicator) {
  indicator_ = indicator;
  ShowKeyButtons();
}

void TopBar::ShowKeyButtons() {
  const int source = Value(engine_, row::kMusicInput);
  const bool media = source == 2 || source == 3;
  for (int id : {mainid::kKeyPrevious, mainid::kKeyPlay, mainid::kKeyNext})
    Control(id)->setVisible(media);
  const int bit = source == 3 ? 1 : 2;
  static_cast<SkinButton*>(Control(mainid::kKeyPlay))->SetLit((indicator_ >> bit) & 1);
}

void TopBar::ShowAdjustManner() {
  const bool vr = engine_.VrPresent();
  for (int id : {mainid::kAdjManner, mainid::kVr, mainid::kParam}) Control(id)->setVisible(vr);
  const int manner = Value(engine_, row::kAdjustManner);
  static_cast<SkinButton*>(Control(mainid::kVr))->SetLit(manner == 0);
  static_cast<SkinButton*>(Control(mainid::kParam))->SetLit(manner != 0);
}

void TopBar::ShowAppMode(int mode) {
  static const int modes[3] = {mainid::kAuto, mainid::kSing, mainid::kDance};
  for (int m = 0; m < 3; ++m) static_cast<SkinButton*>(Control(modes[m]))->SetLit(mode == m);
}

void TopBar::HideAppModeButtons() {
  for (int id : mainid::kAppModeButtons) Control(id)->hide();
}

void TopBar::ApplyLanguage(Lang lang) {
  for (const auto& binding : TopBarLabels()) {
    QWidget* w = Control(binding.controlId);
    const QString text = QString::fromUtf8(LabelText(binding.label, lang));
    if (auto* button = qobject_cast<QPushButton*>(w))
      button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(w))
      label->setText(text);
  }
  static_cast<SkinButton*>(Control(mainid::kVr))
      ->setText(QString::fromUtf8(LabelText(Label::kVr, lang)));
  {
    const QSignalBlocker block(input_);
    input_->clear();
    for (TextId id : InputSourceTexts()) input_->addItem(QString::fromUtf8(Text(id, lang)));
  }
  ShowInputSource();
}

}  // namespace tavelo::ui
