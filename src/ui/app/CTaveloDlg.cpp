#include "ui/app/CTaveloDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaObject>
#include <QPainter>
#include <QTimer>

#include "core/text/LabelBindings.h"
#include "core/text/Texts.h"
#include "ui/app/LanguageSetting.h"
#include "ui/app/LinkFactory.h"
#include "ui/app/TopBarRules.h"
#include "ui/controls/CMyBtn.h"
#include "ui/controls/CMySlider.h"
#include "ui/controls/CSkinComboBox.h"
#include "ui/pages/CDlgMusic.h"
#include "ui/pages/CPageSlot.h"
#include "ui/skin/SkinArt.h"

namespace tavelo::ui {
namespace {

constexpr int kTickMs = 50;
constexpr int kRow1 = 4, kRow2 = 32, kRowHeight = 24;
constexpr int kNavPitch = 76, kNavWidth = 72;
constexpr int kPageTop = 60;

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
}

}  // namespace

CTaveloDlg::CTaveloDlg(const Options& options, QWidget* parent)
    : QWidget(parent),
      options_(options),
      lang_(options.lang),
      engine_(*this),
      tick_(new QTimer(this)) {
  setObjectName("CTaveloDlg");
  setWindowTitle("Professional Audio System");
  setFixedSize(kClientWidth, kClientHeight);

  engine_.SetLanguage(lang_);
  if (!options_.paramDir.empty()) engine_.SetParamDir(options_.paramDir);
  engine_.SetTransportFactory([this] { return MakeTransport(); });

  BuildTopBar();
  BuildNavigation();
  BuildPages();
  ChooseLink(LinkChoice::kUsb);
  ShowTopBar({engine_.Image().byte(img::kMusicVolume), engine_.Image().byte(img::kMicVolume),
              engine_.Image().byte(img::kEffectVolume), engine_.Image().byte(img::kMasterLevel)});
  ShowInputSource();
  ApplyLabels();
  Navigate(0);

  connect(tick_, &QTimer::timeout, this, [this] { engine_.Tick(); });
  if (options_.startTimer) tick_->start(kTickMs);
  qApp->installEventFilter(this);
}

CTaveloDlg::~CTaveloDlg() {
  qApp->removeEventFilter(this);
  engine_.Shutdown();
  // The pages edit the engine's image in place: they go before the engine does.
  for (QWidget*& page : pages_) {
    delete page;
    page = nullptr;
  }
  music_ = nullptr;
}

// ---- building --------------------------------------------------------------------------

CMyBtn* CTaveloDlg::AddButton(int id, QRect rect, const QString& text) {
  auto* button = new CMyBtn(text, this);
  button->setObjectName(QString("c%1").arg(id));
  button->setGeometry(rect);
  button->SetImages(ButtonImages{ButtonFaces(rect.width(), rect.height(), ButtonLook::kGrey), {}});
  button->setFocusPolicy(Qt::NoFocus);
  controls_[id] = button;
  return button;
}

void CTaveloDlg::BuildTopBar() {
  using namespace mainid;
  connect_ = AddButton(kConnect, QRect(6, kRow1, 84, kRowHeight), {});
  connect(connect_, &QPushButton::clicked, this, &CTaveloDlg::Connect);
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
    connect(b, &QPushButton::clicked, this, [this, choice = l.choice] { ChooseLink(choice); });
  }
  connect(AddButton(kMute, QRect(248, kRow1, 52, kRowHeight), {}), &QPushButton::clicked, this,
          &CTaveloDlg::ToggleMute);
  const struct {
    int id, arg;
    const char* text;
  } keys[3] = {{kKeyPrevious, 0, "<<"}, {kKeyPlay, 2, ">||"}, {kKeyNext, 1, ">>"}};
  for (int i = 0; i < 3; ++i) {
    auto* b = AddButton(keys[i].id, QRect(306 + i * 28, kRow1, 26, kRowHeight), keys[i].text);
    connect(b, &QPushButton::clicked, this,
            [this, arg = keys[i].arg] { engine_.PostBlock(6, arg); });
  }

  const struct {
    int caption, slider, value, x, captionWidth;
  } levels[] = {{kMusicCaption, topbar::kMusicSlider, topbar::kMusicValue, 396, 50},
                {kMicCaption, topbar::kMicSlider, topbar::kMicValue, 604, 40},
                {kEffectCaption, topbar::kEffectSlider, topbar::kEffectValue, 800, 50},
                {kMainCaption, topbar::kMainSlider, topbar::kMainValue, 800, 50}};
  for (const auto& l : levels) {
    auto* caption = new QLabel(this);
    caption->setGeometry(l.x, kRow1, l.captionWidth, kRowHeight);
    controls_[l.caption] = caption;
    auto* slider = new CMySlider(this, l.slider);
    slider->setObjectName(QString("c%1").arg(l.slider));
    slider->setGeometry(l.x + l.captionWidth, kRow1, 120, kRowHeight);
    slider->SetTrackImagesWithFill(HorizontalTrack(120, kRowHeight),
                                   HorizontalFill(120, kRowHeight),
                                   HorizontalThumb(kLevelThumbWidth, kRowHeight, false),
                                   HorizontalThumb(kLevelThumbWidth, kRowHeight, true));
    slider->SetRange(0, topbar::kSliderMax);
    controls_[l.slider] = slider;
    connect(slider, &CMySlider::Moved, this, &CTaveloDlg::LevelSliderMoved);
    auto* value = new QLabel(this);
    value->setGeometry(l.x + l.captionWidth + 124, kRow1, 30, kRowHeight);
    controls_[l.value] = value;
    if (l.slider == topbar::kMainSlider) {  // the master level is shown only in cinema use
      caption->hide();
      slider->hide();
      value->hide();
    }
  }

  auto* adj = new QLabel(this);
  adj->setGeometry(1000, kRow1, 82, kRowHeight);
  controls_[kAdjManner] = adj;
  connect(AddButton(kVr, QRect(1082, kRow1, 34, kRowHeight), "VR"), &QPushButton::clicked, this,
          [this] {
            engine_.Post(msg::SetAdjustManner{0});
            ShowAdjustManner();
          });
  connect(AddButton(kParam, QRect(1118, kRow1, 46, kRowHeight), "Param"), &QPushButton::clicked,
          this, [this] {
            engine_.Post(msg::SetAdjustManner{1});
            ShowAdjustManner();
          });
  for (int id : {kAdjManner, kVr, kParam})
    controls_[id]->hide();  // shown when the processor has VR

  const int modes[3] = {kAuto, kSing, kDance};
  for (int m = 0; m < 3; ++m) {
    auto* b = AddButton(modes[m], QRect(860 + m * 52, kRow2, 48, kRowHeight), {});
    connect(b, &QPushButton::clicked, this, [this, m] { ChooseAppMode(m); });
  }
  for (int id : kAppModeButtons) AddButton(id, QRect(0, 0, 48, kRowHeight), {})->hide();

  input_ = new CSkinComboBox(this);
  input_->setObjectName(QString("c%1").arg(kInputSource));
  input_->setGeometry(1020, kRow2, 144, kRowHeight);
  input_->SetUp();
  input_->SetReadOnly(true);
  controls_[kInputSource] = input_;
  connect(input_, &QComboBox::activated, this, [this](int index) {
    auto& image = engine_.Image();
    if (index < 0 || image.byte(img::kMusicInput) == index) return;
    image.byte(img::kMusicInput) = static_cast<std::uint8_t>(index);
    PostBlock(2, BlockArg::Value(0));
  });

  status_ = new QLabel(this);
  status_->setObjectName("c1002");
  status_->setGeometry(8, kClientHeight - 19, 500, 16);
  controls_[kStatus] = status_;
  auto* version = new QLabel(QString(kVersionText), this);
  version->setObjectName("c1005");
  version->setGeometry(kClientWidth - 60, kClientHeight - 19, 54, 16);
  version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  controls_[kVersion] = version;
  status_->setText(Utf8(Text(TextId::kStatusIdle, lang_)));
}

void CTaveloDlg::BuildNavigation() {
  for (const auto& entry : nav::kNavTable) {
    auto* b = new CMyBtn(entry.caption, this);
    b->setObjectName(QString("c%1").arg(entry.buttonId));
    b->resize(kNavWidth, kRowHeight);
    b->SetImages(ButtonImages{ButtonFaces(kNavWidth, kRowHeight, ButtonLook::kNavigation), {}});
    b->setFocusPolicy(Qt::NoFocus);
    b->setVisible(!entry.hiddenAtStart);
    connect(b, &QPushButton::clicked, this, [this, index = entry.index] { Navigate(index); });
    nav_[static_cast<std::size_t>(entry.index)] = b;
    controls_[entry.buttonId] = b;
  }
  LayoutNavigation();
}

void CTaveloDlg::LayoutNavigation() {
  int x = 6;
  for (CMyBtn* b : nav_) {
    if (b->isHidden()) continue;
    b->move(x, kRow2);
    x += kNavPitch;
  }
}

void CTaveloDlg::BuildPages() {
  const QSize size(kClientWidth - 6, kClientHeight - 80);
  auto post = [this](int code, const BlockArg& arg) { PostBlock(code, arg); };
  for (const auto& entry : nav::kNavTable) {
    QWidget* page = nullptr;
    if (entry.page == nav::PageKind::kMusic) {
      music_ = new CDlgMusic(engine_.Image(), post, size, this);
      music_->Model().SetVrPresent([this] { return engine_.VrPresent(); });
      page = music_;
    } else if (entry.page != nav::PageKind::kNone) {
      page = new CPageSlot(QString("page_%1").arg(entry.cliName), size, this);
    }
    if (!page) continue;
    page->move(2, kPageTop);
    page->hide();
    pages_[static_cast<std::size_t>(entry.index)] = page;
  }
}

// ---- link and connect ------------------------------------------------------------------

void CTaveloDlg::ChooseLink(LinkChoice choice) {
  link_ = choice;
  static_cast<CMyBtn*>(controls_[mainid::kUsb])->SetLit(choice == LinkChoice::kUsb);
  static_cast<CMyBtn*>(controls_[mainid::kWifi])->SetLit(choice == LinkChoice::kWifi);
  static_cast<CMyBtn*>(controls_[mainid::kDemo])->SetLit(choice == LinkChoice::kDemo);
}

void CTaveloDlg::Connect() {
  engine_.Post(msg::Connect{});
}

std::unique_ptr<Transport> CTaveloDlg::MakeTransport() {
  std::unique_ptr<Transport> transport;
  if (link_ == LinkChoice::kDemo)
    transport = demo_.MakeTransport();
  else
    transport = MakePlatformTransport(link_ == LinkChoice::kWifi, options_.host, options_.port);
  if (transport) {
    // Replies may be announced from a reader thread: always hop to this window's thread.
    transport->SetWakeup([this] {
      QMetaObject::invokeMethod(
          this, [this] { engine_.BytesArrived(); }, Qt::QueuedConnection);
    });
  }
  return transport;
}

void CTaveloDlg::PostBlock(int code, const BlockArg& arg) {
  engine_.Post(msg::Block{code, arg});
  if (code == 2) {  // the music block carries the input source: both of its choosers follow
    ShowInputSource();
    if (music_) music_->Model().ShowChoices();
  }
}

// ---- navigation ------------------------------------------------------------------------

QWidget* CTaveloDlg::PageWidget(int navIndex) const {
  return navIndex >= 0 && navIndex < nav::kNavCount ? pages_[static_cast<std::size_t>(navIndex)]
                                                    : nullptr;
}

void CTaveloDlg::Navigate(int index) {
  if (index < 0 || index >= nav::kNavCount) return;
  currentPage_ = index;
  if (index == selectedPage_ && PageWidget(index) && PageWidget(index)->isVisible()) return;
  selectedPage_ = index;
  for (int k = 0; k < nav::kNavCount; ++k) nav_[static_cast<std::size_t>(k)]->SetLit(k == index);
  for (int id : mainid::kAppModeButtons) controls_[id]->hide();
  for (int k = 0; k < nav::kNavCount; ++k) {
    QWidget* page = pages_[static_cast<std::size_t>(k)];
    if (!page) continue;
    const bool show = k == index && (k != nav::kBoost || boostAvailable_ || index == nav::kBoost);
    page->setVisible(show);
  }
}

// ---- language --------------------------------------------------------------------------

void CTaveloDlg::SetLanguage(Lang lang, bool store) {
  lang_ = lang;
  if (store) StoreLanguage(lang);
  engine_.SetLanguage(lang);
  ApplyLabels();
}

void CTaveloDlg::ApplyLabels() {
  for (const auto& binding : LabelBindings(LabelWindow::kMain)) {
    QWidget* w = Control(binding.controlId);
    const QString text = Utf8(LabelText(binding.label, lang_));
    if (auto* button = qobject_cast<QPushButton*>(w))
      button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(w))
      label->setText(text);
  }
  static_cast<CMyBtn*>(controls_[mainid::kVr])->setText(Utf8(LabelText(Label::kVr, lang_)));
  {
    const QSignalBlocker block(input_);
    input_->clear();
    for (TextId id : InputSourceTexts()) input_->addItem(Utf8(Text(id, lang_)));
  }
  ShowInputSource();
  if (music_) music_->ApplyLanguage(lang_);
  update();
}

// ---- top bar ---------------------------------------------------------------------------

QWidget* CTaveloDlg::Control(int id) const {
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

QString CTaveloDlg::StatusText() const {
  return status_->text();
}

void CTaveloDlg::LevelSliderMoved(int id, int position) {
  const auto* info = topbar::InfoOfSlider(id);
  if (!info) return;
  static_cast<QLabel*>(controls_[info->valueLabel])->setText(QString::number(position));
  if (const auto code = topbar::SliderMoved(engine_.Image(), id, position))
    engine_.PostBlock(*code);
}

void CTaveloDlg::ShowTopBar(const TopBarValues& values) {
  const std::pair<int, int> levels[] = {{topbar::kMusicSlider, values.music},
                                        {topbar::kMicSlider, values.mic},
                                        {topbar::kEffectSlider, values.effect},
                                        {topbar::kMainSlider, values.master}};
  const int labels[] = {topbar::kMusicValue, topbar::kMicValue, topbar::kEffectValue,
                        topbar::kMainValue};
  for (int i = 0; i < 4; ++i) {
    static_cast<CMySlider*>(controls_[levels[i].first])->SetPos(levels[i].second);
    static_cast<QLabel*>(controls_[labels[i]])->setText(QString::number(levels[i].second));
  }
}

void CTaveloDlg::ShowInputSource() {
  const QSignalBlocker block(input_);
  input_->setCurrentIndex(engine_.Image().byte(img::kMusicInput));
  ShowKeyButtons();
}

void CTaveloDlg::ShowKeyButtons() {
  const int source = engine_.Image().byte(img::kMusicInput);
  const bool media = source == 2 || source == 3;
  for (int id : {mainid::kKeyPrevious, mainid::kKeyPlay, mainid::kKeyNext})
    controls_[id]->setVisible(media);
  const int bit = source == 3 ? 1 : 2;
  static_cast<CMyBtn*>(controls_[mainid::kKeyPlay])->SetLit((indicator_ >> bit) & 1);
}

void CTaveloDlg::ShowAdjustManner() {
  const bool vr = engine_.VrPresent();
  for (int id : {mainid::kAdjManner, mainid::kVr, mainid::kParam}) controls_[id]->setVisible(vr);
  const int manner = engine_.Image().byte(img::kAdjustManner);
  static_cast<CMyBtn*>(controls_[mainid::kVr])->SetLit(manner == 0);
  static_cast<CMyBtn*>(controls_[mainid::kParam])->SetLit(manner != 0);
}

void CTaveloDlg::ChooseAppMode(int mode) {
  auto& image = engine_.Image();
  if (image.byte(img::kAppMode) != mode) {
    image.byte(img::kAppMode) = static_cast<std::uint8_t>(mode);
    engine_.PostBlock(34);
  }
  OnApplyAppMode(mode);
}

void CTaveloDlg::ToggleMute() {
  muted_ = !muted_;
  static_cast<CMyBtn*>(controls_[mainid::kMute])->SetLit(muted_);
  engine_.PostBlock(21, muted_ ? 1 : 0);
}

void CTaveloDlg::Hotkey(int which, bool up) {
  if (which == 4) {
    ToggleMute();
    return;
  }
  if (which < 1 || which > 3) return;
  const auto level = static_cast<topbar::Level>(which);
  const auto code = topbar::HotkeyStep(engine_.Image(), level, up);
  if (!code) return;
  const auto& info = topbar::InfoOf(level);
  const int value = engine_.Image().byte(info.imageByte);
  static_cast<CMySlider*>(controls_[info.slider])->SetPos(value);
  static_cast<QLabel*>(controls_[info.valueLabel])->setText(QString::number(value));
  engine_.PostBlock(*code);
}

bool CTaveloDlg::eventFilter(QObject* watched, QEvent* event) {
  const auto type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->window() != this) return false;
  const auto* key = static_cast<QKeyEvent*>(event);
  if (type == QEvent::KeyPress) {
    switch (key->key()) {
      case Qt::Key_F1:
        Hotkey(1, false);
        return true;
      case Qt::Key_F2:
        Hotkey(1, true);
        return true;
      case Qt::Key_F3:
        Hotkey(2, false);
        return true;
      case Qt::Key_F4:
        Hotkey(2, true);
        return true;
      case Qt::Key_F5:
        Hotkey(3, false);
        return true;
      case Qt::Key_F6:
        Hotkey(3, true);
        return true;
      case Qt::Key_F7:
        return true;
      default:
        return false;
    }
  }
  if (key->key() == Qt::Key_F7 && !key->isAutoRepeat()) {
    Hotkey(4, false);
    return true;
  }
  return false;
}

void CTaveloDlg::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!painted_) {
    painted_ = true;
    QMetaObject::invokeMethod(
        this, [this] { emit FirstPaint(); }, Qt::QueuedConnection);
  }
}

void CTaveloDlg::closeEvent(QCloseEvent* event) {
  engine_.Shutdown();
  QWidget::closeEvent(event);
}

}  // namespace tavelo::ui
