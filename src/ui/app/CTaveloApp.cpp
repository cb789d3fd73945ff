#include "ui/app/CTaveloApp.h"

#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <cstdlib>

#include "core/text/Texts.h"
#include "ui/app/LanguageSetting.h"

namespace tavelo::ui {

Lang CTaveloApp::StartLanguage(const CommandLine& line) {
  return line.lang ? *line.lang : LoadLanguage();
}

CTaveloApp::CTaveloApp(const CommandLine& line, QElapsedTimer startup)
    : line_(line), startup_(startup) {
  CTaveloDlg::Options options;
  options.lang = StartLanguage(line);
  options.host = line.host;
  options.port = line.port;
  options.paramDir = line.paramDir;
  window_ = std::make_unique<CTaveloDlg>(options);
  connect(window_.get(), &CTaveloDlg::ParameterSetShown, this, &CTaveloApp::ParameterSetShown);
  connect(window_.get(), &CTaveloDlg::StatusChanged, this, &CTaveloApp::StatusChanged);
  connect(window_.get(), &CTaveloDlg::FirstPaint, this, [this] {
    if (std::getenv("TAVELO_STARTUP_TIMING"))
      std::fprintf(stderr, "startup to first paint: %.1f ms\n", startup_.nsecsElapsed() / 1e6);
  });
}

CTaveloApp::~CTaveloApp() = default;

void CTaveloApp::Start() {
  window_->Navigate(line_.page);
  window_->show();
  if (line_.demo) {
    window_->ChooseLink(LinkChoice::kDemo);
    window_->Connect();
  }
  if (line_.screenshot.empty()) return;
  if (!line_.demo) {
    QTimer::singleShot(0, this, &CTaveloApp::TakeScreenshot);
    return;
  }
  QTimer::singleShot(line_.screenshotTimeoutMs, this, [this] {
    std::fprintf(stderr, "tavelo: no parameter set within %d ms\n", line_.screenshotTimeoutMs);
    Finish(1);
  });
}

void CTaveloApp::ParameterSetShown() {
  if (shownOnce_) return;
  shownOnce_ = true;
  if (line_.mode) window_->ChooseAppMode(*line_.mode);
  // Applying the processor's mode shows the first page; the page asked for comes back.
  window_->Navigate(line_.page);
  if (!line_.screenshot.empty()) QTimer::singleShot(0, this, &CTaveloApp::TakeScreenshot);
}

void CTaveloApp::StatusChanged(TextId status) {
  if (line_.screenshot.empty() || finished_) return;
  if (status == TextId::kStatusOpenFailed || status == TextId::kStatusOpenFailed0 ||
      status == TextId::kStatusOpenFailed1) {
    std::fprintf(stderr, "tavelo: connection failed\n");
    Finish(1);
  }
}

void CTaveloApp::TakeScreenshot() {
  if (finished_) return;
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

void CTaveloApp::Finish(int code) {
  if (finished_) return;
  finished_ = true;
  exitCode_ = code;
  QApplication::exit(code);
}

}  // namespace tavelo::ui
