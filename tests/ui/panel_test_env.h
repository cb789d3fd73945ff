#pragma once
// Shared set-up of the panel tests: one QApplication, the user's settings redirected into
// a temporary folder (nothing is ever written to the real ones), a main window driven by
// hand (no tick timer), the demo link, and a reader of the request frames that reached the
// virtual processor.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QTemporaryDir>
#include <functional>
#include <memory>
#include <vector>

#include "support/event_loop.h"
#include "support/qt_app.h"
#include "ui/app/MainWindow.h"

namespace tavelo::test {

inline const QTemporaryDir& PanelSettingsDir() {
  static QTemporaryDir* dir = [] {
    QtApp();
    auto* d = new QTemporaryDir;
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, d->path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, d->path());
    return d;
  }();
  return *dir;
}

struct WireFrame {
  int code = 0;
  std::vector<std::uint8_t> data;  // the bytes after the code in the first report
};

// The request frames written to the demo link so far, in order.
inline std::vector<WireFrame> WireFrames(ui::MainWindow& window) {
  std::vector<WireFrame> frames;
  ui::DemoTransport* live = window.Demo().Live();
  if (!live) return frames;
  const auto& reports = live->Inner().ReportsWritten();
  for (std::size_t i = 0; i < reports.size(); ++i) {
    const auto& r = reports[i];
    if (r.size() < 5 || r[1] != 0xAA) continue;
    const int n = r[2] | r[3] << 8;
    WireFrame f;
    f.code = r[4];
    for (int k = 0; k < n - 1 && 5 + k < static_cast<int>(r.size()); ++k)
      f.data.push_back(r[static_cast<std::size_t>(5 + k)]);
    frames.push_back(f);
    i += static_cast<std::size_t>((n + 4 + 63) / 64 - 1);  // continuation reports
  }
  return frames;
}

inline int CountCode(ui::MainWindow& window, int code) {
  int count = 0;
  for (const auto& f : WireFrames(window)) count += f.code == code;
  return count;
}

class PanelFixture {
 public:
  explicit PanelFixture(Lang lang = Lang::kEnglish) {
    PanelSettingsDir();
    ui::MainWindow::Options options;
    options.lang = lang;
    options.startTimer = false;
    options.paramDir = paramDir_.path().toStdString();
    window_ = std::make_unique<ui::MainWindow>(options);
  }

  ui::MainWindow& W() { return *window_; }
  Engine& E() { return window_->GetEngine(); }

  // Runs the event loop and the engine's tick by hand until `done` or a bounded number of
  // rounds; true when `done` came.
  bool Pump(const std::function<bool()>& done, int rounds = 3000) {
    for (int i = 0; i < rounds; ++i) {
      QCoreApplication::processEvents(QEventLoop::AllEvents);
      if (done()) return true;
      E().Tick();
    }
    return done();
  }
  // Runs the event loop without ticking until `done` or `timeoutMs` of real time; for
  // replies that fall due on the clock (a processor with latency), since manual ticks
  // would outrun it and time the request out.
  bool Wait(const std::function<bool()>& done, int timeoutMs = 3000) {
    return WaitFor(done, timeoutMs);
  }
  // Lets every reply that is due arrive, without ticking.
  void Settle(int rounds = 50) {
    for (int i = 0; i < rounds; ++i) QCoreApplication::processEvents(QEventLoop::AllEvents);
  }

  bool ConnectDemo() {
    W().ChooseLink(LinkChoice::kDemo);
    W().Connect();
    return Pump([this] { return W().Distributed() && !E().ReplyAwaited(); });
  }

 private:
  QTemporaryDir paramDir_;
  std::unique_ptr<ui::MainWindow> window_;
};

}  // namespace tavelo::test
