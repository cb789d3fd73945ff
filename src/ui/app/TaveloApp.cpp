#include "ui/app/TaveloApp.h"

#include <QApplication>
#include <QEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/text/Texts.h"
#include "ui/app/LogCategories.h"
#include "ui/app/UserSettings.h"
#include "ui/app/WindowPlacement.h"

namespace tavelo::ui {

Lang TaveloApp::StartLanguage(const CommandLine& line) {
  return line.lang ? *line.lang : LoadLanguage();
}

TaveloApp::TaveloApp(const CommandLine& line, QElapsedTimer startup)
    : line_(line), startup_(startup) {
  if (line.trace) EnableTrace();
  StoredSettings stored = settings_.Load();
  if (!line.screenshot.empty()) {
    // A picture shows what its line asks for, whatever the last run left behind.
    stored = StoredSettings{stored.lang, {}, {}, 0, {}, {}, {}};
  } else {
    RememberLine(line, settings_);
  }
  start_ = ChooseStart(line, stored, LanguageOfLocale(QLocale::system()));
  MainWindow::Options options;
  options.lang = start_.lang;
  options.host = start_.host;
  options.port = start_.port;
  options.paramDir = start_.paramDir;
  window_ = std::make_unique<MainWindow>(options);
  if (line.screenshot.empty()) {
    connect(&window_->TopBarWidget(), &TopBar::LinkChosen, this, [this](LinkChoice choice) {
      if (choice != LinkChoice::kDemo) settings_.StoreLink(choice == LinkChoice::kWifi);
    });
    window_->installEventFilter(this);
    connect(qApp, &QCoreApplication::aboutToQuit, this, &TaveloApp::RememberWindow);
    rememberSoon_.setSingleShot(true);
    rememberSoon_.setInterval(kRememberDelayMs);
    connect(&rememberSoon_, &QTimer::timeout, this, &TaveloApp::RememberWindow);
    connect(window_.get(), &MainWindow::PageChosen, this, [this] { rememberSoon_.start(); });
  }
  connect(window_.get(), &MainWindow::ParameterSetShown, this, &TaveloApp::ParameterSetShown);
  connect(window_.get(), &MainWindow::StatusChanged, this, &TaveloApp::StatusChanged);
  connect(window_.get(), &MainWindow::FirstPaint, this, [this] {
    if (std::getenv("TAVELO_STARTUP_TIMING"))
      std::fprintf(stderr, "startup to first paint: %.1f ms\n", startup_.nsecsElapsed() / 1e6);
  });
}

TaveloApp::~TaveloApp() = default;

void TaveloApp::Start() {
  window_->Navigate(start_.page);
  // A position on a screen that is gone (an unplugged monitor), or one that leaves only a
  // corner in view, would hide the window: the title bar must stay within reach.
  if (start_.windowPos) {
    std::vector<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens())
      screens.push_back(screen->availableGeometry());
    if (const auto pos = ReachablePosition(*start_.windowPos, window_->size(), screens))
      window_->move(*pos);
  }
  if (start_.link != LinkChoice::kDemo) window_->ChooseLink(start_.link);
  window_->show();
  if (line_.demo) {
    window_->ChooseLink(LinkChoice::kDemo);
    window_->Connect();
  }
  if (line_.screenshot.empty()) return;
  if (!line_.demo) {
    QTimer::singleShot(0, this, &TaveloApp::TakeScreenshot);
    return;
  }
  QTimer::singleShot(line_.screenshotTimeoutMs, this, [this] {
    std::fprintf(stderr, "tavelo: no parameter set within %d ms\n", line_.screenshotTimeoutMs);
    Finish(1);
  });
}

void TaveloApp::ParameterSetShown() {
  if (shownOnce_) return;
  shownOnce_ = true;
  if (line_.mode) window_->ChooseAppMode(*line_.mode);
  // Applying the processor's mode shows the first page; the page asked for comes back.
  window_->Navigate(start_.page);
  if (!line_.screenshot.empty()) QTimer::singleShot(0, this, &TaveloApp::TakeScreenshot);
}

void TaveloApp::StatusChanged(TextId status) {
  if (line_.screenshot.empty() || finished_) return;
  if (status == TextId::kStatusOpenFailed || status == TextId::kStatusOpenFailed0 ||
      status == TextId::kStatusOpenFailed1) {
    std::fprintf(stderr, "tavelo: connection failed\n");
    Finish(1);
  }
}

void TaveloApp::RememberWindow() {
  settings_.StorePage(window_->CurrentPage());
  settings_.StoreWindowPos(window_->pos());
}

bool TaveloApp::eventFilter(QObject* watched, QEvent* event) {
  if (watched == window_.get() && event->type() == QEvent::Close) RememberWindow();
  if (watched == window_.get() && event->type() == QEvent::Move) rememberSoon_.start();
  return QObject::eventFilter(watched, event);
}

void TaveloApp::TakeScreenshot() {
  if (finished_) return;
  // grab() renders at the window's device pixel ratio (QT_SCALE_FACTOR included), so the
  // picture has 1.5 or 2 times the window's pixels on a scaled screen.
  const QPixmap picture = window_->grab();
  if (!picture.save(QString::fromStdString(line_.screenshot), "PNG")) {
    std::fprintf(stderr, "tavelo: cannot write %s\n", line_.screenshot.c_str());
    Finish(1);
    return;
  }
  if (std::getenv("TAVELO_STARTUP_TIMING"))
    std::fprintf(stderr, "screenshot saved after %.1f ms\n", startup_.nsecsElapsed() / 1e6);
  Finish(0);
}

void TaveloApp::Finish(int code) {
  if (finished_) return;
  finished_ = true;
  exitCode_ = code;
  QApplication::exit(code);
}

}  // namespace tavelo::ui
