#include "ui/app/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMetaObject>
#include <QPainter>
#include <QTimer>

#include "core/link/WifiModule.h"
#include "core/text/Texts.h"
#include "ui/app/LinkFactory.h"
#include "ui/app/PageFactory.h"
#include "ui/app/QtTranslations.h"
#include "ui/app/TracingTransport.h"
#include "ui/app/UserSettings.h"
#include "ui/controls/SkinButton.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/PageLabels.h"
#include "ui/skin/SkinArt.h"
#include "ui/tools/EditTools.h"

namespace tavelo::ui {
namespace {

constexpr int kTickMs = 50;
constexpr int kNavRow = 32, kRowHeight = 24;
constexpr int kNavPitch = 76, kNavWidth = 72;
constexpr int kPageTop = 60;
constexpr int kEditButtonsLeft = 768;  // behind the navigation row, boost button included

QString Utf8(const char* text) {
  return QString::fromUtf8(text);
}

}  // namespace

MainWindow::MainWindow(const Options& options, QWidget* parent)
    : QWidget(parent),
      options_(options),
      lang_(options.lang),
      room_(*this, [this] { return MakeTransport(); }),
      tick_(new QTimer(this)) {
  setObjectName("MainWindow");
  setWindowTitle("Professional Audio System");
  setFixedSize(kClientWidth, kClientHeight);

  engine_.SetLanguage(lang_);
  ApplyQtTranslations(lang_);
  if (!options_.paramDir.empty()) engine_.SetParamDir(options_.paramDir);

  topBar_ = new TopBar(engine_, kClientWidth, this);
  connect(topBar_, &TopBar::ConnectClicked, this, &MainWindow::Connect);
  connect(topBar_, &TopBar::LinkChosen, this, &MainWindow::ChooseLink);
  connect(topBar_, &TopBar::AppModeChosen, this, &MainWindow::ChooseAppMode);
  connect(topBar_, &TopBar::ValuesChanged, this, [this] {
    if (edits_) edits_->Rebase();
    OthersReload(nullptr);
  });
  connect(topBar_, &TopBar::Edited, this, [this] {
    if (edits_) edits_->Recorded();
  });
  BuildNavigation();  // over the top bar's second row
  BuildPages();
  edits_ = new EditTools(
      engine_, this, QPoint(kEditButtonsLeft, kNavRow),
      {[this] {
         topBar_->ShowLevelsOfImage();
         OthersReload(nullptr);
       },
       [this](const QString& text) {
         ShowNotice(this, QString::fromUtf8(Text(TextId::kCaptionWarning, lang_)), text);
       }});

  status_ = new QLabel(this);
  status_->setObjectName("c1002");
  status_->setGeometry(8, kClientHeight - 19, 500, 16);
  status_->setText(Utf8(Text(TextId::kStatusIdle, lang_)));
  controls_[mainid::kStatus] = status_;
  auto* version = new QLabel(QString(kVersionText), this);
  version->setObjectName("c1005");
  version->setGeometry(kClientWidth - 60, kClientHeight - 19, 54, 16);
  version->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  controls_[mainid::kVersion] = version;

  ChooseLink(LinkChoice::kUsb);
  topBar_->ShowLevelsOfImage();
  ApplyLabels();
  // Every page shows the defaults before anything is connected; none holds data yet.
  for (const auto& entry : pages_) entry.page->Refresh();
  Navigate(0);

  connect(tick_, &QTimer::timeout, this, [this] { room_.Tick(); });
  if (options_.startTimer) tick_->start(kTickMs);
  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
  qApp->removeEventFilter(this);
  engine_.Shutdown();
  // The pages edit the engine's image in place: they go before the engine does.
  for (auto& entry : pages_) delete entry.page;
  pages_.clear();
}

// ---- building --------------------------------------------------------------------------

void MainWindow::BuildNavigation() {
  for (const auto& entry : nav::kNavTable) {
    auto* b = new SkinButton(entry.caption, this);
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

void MainWindow::LayoutNavigation() {
  int x = 6;
  for (SkinButton* b : nav_) {
    if (b->isHidden()) continue;
    b->move(x, kNavRow);
    x += kNavPitch;
  }
}

PageHost MainWindow::PageHostOf() {
  PageHost host;
  host.connected = [this] { return engine_.Connected(); };
  host.vrPresent = [this] { return engine_.VrPresent(); };
  host.frontPanel = [this] { return engine_.Panel(); };
  host.setAdjustManner = [this](int manner) {
    engine_.Post(msg::SetAdjustManner{manner});
    topBar_->ShowAdjustManner();
    OthersReload(nullptr);
  };
  return host;
}

void MainWindow::BuildPages() {
  const QSize size(kClientWidth - 6, kClientHeight - 80);
  // The Wi-Fi module sits beside the processor: an explicit host moves both.
  sysHooks_.engine = &engine_;
  sysHooks_.setLanguage = [this](Lang lang) { SetLanguage(lang, /*store=*/true); };
  sysHooks_.setBoost = [this](bool available) { SetBoostAvailable(available); };
  sysHooks_.imageSwitched = [this] {
    if (edits_) edits_->Reset();
    topBar_->ShowLevelsOfImage();
    topBar_->ShowInputSource();
    topBar_->ShowAppMode(ReadValue(engine_.Image(), RowOf(row::kAppMode)));
    // The mode may have changed with the preset: the pages choose their sets again.
    for (const auto& entry : pages_) entry.page->AppModeChanged();
  };
  sysHooks_.edited = [this] {
    if (edits_) edits_->Recorded();
  };
  sysHooks_.moduleEndpoint =
      options_.host.empty() ? kModuleEndpoint : NetEndpoint{options_.host, kModulePort};
  for (const auto& entry : nav::kNavTable) {
    if (entry.page == nav::PageKind::kNone) continue;
    // The poster names its page, so the others can look again after it changed a value.
    const std::size_t slot = pages_.size();
    const PageContext context{
        engine_.Image(),
        [this, slot](const BlockRequest& request) { PagePosted(pages_[slot].page, request); },
        size,
        this,
        PageHostOf(),
        &sysHooks_};
    Page* page = MakePage(entry, context);
    page->Model().SetFlags(
        {[this] { return engine_.VrPresent(); }, [this] { return engine_.AdjustLocked(); }});
    page->move(2, kPageTop);
    page->hide();
    pages_.push_back({entry.index, page});
  }
}

// ---- link and connect ------------------------------------------------------------------

void MainWindow::ChooseLink(LinkChoice choice) {
  link_ = choice;
  topBar_->ShowLink(choice);
}

void MainWindow::Connect() {
  engine_.Post(msg::Connect{});
}

std::unique_ptr<Transport> MainWindow::MakeTransport() {
  std::unique_ptr<Transport> transport;
  if (link_ == LinkChoice::kDemo)
    transport = demo_.MakeTransport();
  else
    transport = MakePlatformTransport(link_ == LinkChoice::kWifi, options_.host, options_.port);
  if (transport) transport = std::make_unique<TracingTransport>(std::move(transport));
  return transport;
}

void MainWindow::PagePosted(const Page* from, const BlockRequest& request) {
  if (edits_) edits_->Recorded();
  engine_.Post(request);
  topBar_->ShowInputSource();
  OthersReload(from);
}

void MainWindow::OthersReload(const Page* from) {
  for (const auto& entry : pages_)
    if (entry.page != from) entry.page->ReloadChanged();
}

// ---- navigation ------------------------------------------------------------------------

Page* MainWindow::PageWidget(int navIndex) const {
  for (const auto& entry : pages_)
    if (entry.navIndex == navIndex) return entry.page;
  return nullptr;
}

MusicPage* MainWindow::FindMusicPage() const {
  return qobject_cast<MusicPage*>(PageWidget(0));
}

void MainWindow::Navigate(int index) {
  if (index < 0 || index >= nav::kNavCount) return;
  currentPage_ = index;
  emit PageChosen(index);
  if (index == selectedPage_ && PageWidget(index) && PageWidget(index)->isVisible()) return;
  selectedPage_ = index;
  for (int k = 0; k < nav::kNavCount; ++k) nav_[static_cast<std::size_t>(k)]->SetLit(k == index);
  topBar_->HideAppModeButtons();
  for (const auto& entry : pages_) {
    const int k = entry.navIndex;
    const bool show = k == index && (k != nav::kBoost || boostAvailable_ || index == nav::kBoost);
    if (show) entry.page->Picked();
    entry.page->setVisible(show);
  }
}

SystemPage* MainWindow::FindSystemPage() const {
  for (const auto& entry : nav::kNavTable)
    if (entry.page == nav::PageKind::kSystem)
      return qobject_cast<SystemPage*>(PageWidget(entry.index));
  return nullptr;
}

void MainWindow::SetBoostAvailable(bool available) {
  boostAvailable_ = available;
  SkinButton* button = NavButton(nav::kBoost);
  button->setVisible(available);
  LayoutNavigation();
  if (available) {
    currentPage_ = selectedPage_ = -1;
    Navigate(nav::kBoost);
    if (Page* boost = PageWidget(nav::kBoost)) boost->Refresh();
  } else if (Page* boost = PageWidget(nav::kBoost)) {
    boost->hide();
    button->SetLit(false);
  }
}

// ---- language --------------------------------------------------------------------------

void MainWindow::SetLanguage(Lang lang, bool store) {
  lang_ = lang;
  if (store) StoreLanguage(lang);
  engine_.SetLanguage(lang);
  ApplyQtTranslations(lang);
  ApplyLabels();
}

void MainWindow::ApplyLabels() {
  topBar_->ApplyLanguage(lang_);
  if (edits_) edits_->ApplyLanguage(lang_);
  for (const auto& binding : TopBarLabels()) {
    const auto it = controls_.find(binding.controlId);
    if (it == controls_.end()) continue;
    const QString text = Utf8(LabelText(binding.label, lang_));
    if (auto* button = qobject_cast<QPushButton*>(it->second))
      button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(it->second))
      label->setText(text);
  }
  for (const auto& entry : pages_) entry.page->ApplyLanguage(lang_);
  update();
}

// ---- top bar ---------------------------------------------------------------------------

QWidget* MainWindow::Control(int id) const {
  if (QWidget* w = topBar_->Control(id)) return w;
  const auto it = controls_.find(id);
  return it == controls_.end() ? nullptr : it->second;
}

QString MainWindow::StatusText() const {
  return status_->text();
}

void MainWindow::ChooseAppMode(int mode) {
  const CatalogueRow& r = RowOf(row::kAppMode);
  auto& image = engine_.Image();
  if (ReadValue(image, r) != mode) {
    WriteValue(image, r, mode);
    const BlockRequest request = RequestFor(image, r);
    engine_.Post(request);
  }
  // The application mode is a choice of view as much as a value: not a step of undo.
  edits_->Rebase();
  OnApplyAppMode(mode);
  for (const auto& entry : pages_) entry.page->AppModeChanged();
}

void MainWindow::Hotkey(int which, bool up) {
  if (which == 4) {
    ToggleMute();
    return;
  }
  topBar_->Hotkey(which, up);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
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

void MainWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
  if (!painted_) {
    painted_ = true;
    QMetaObject::invokeMethod(
        this, [this] { emit FirstPaint(); }, Qt::QueuedConnection);
  }
}

void MainWindow::closeEvent(QCloseEvent* event) {
  engine_.Shutdown();
  QWidget::closeEvent(event);
}

}  // namespace tavelo::ui
