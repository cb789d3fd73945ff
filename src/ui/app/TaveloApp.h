#pragma once
// The application: reads the command line and what the user's settings kept (the command
// line wins), shows the main window and keeps the user's choices for the next start; for a
// screenshot run, connects (with --demo), waits for the parameter set to be shown, saves a
// picture of the window at the screen's pixel ratio and ends, keeping nothing.
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <memory>

#include "ui/app/CommandLine.h"
#include "ui/app/MainWindow.h"
#include "ui/app/StartChoices.h"
#include "ui/app/UserSettings.h"

namespace tavelo::ui {

class TaveloApp : public QObject {
  Q_OBJECT
 public:
  static constexpr int kRememberDelayMs = 500;

  // `startup` runs from the start of the process (for the startup timing line).
  TaveloApp(const CommandLine& line, QElapsedTimer startup);
  ~TaveloApp() override;

  // Shows the window and starts the run; the exit code arrives through QApplication::exit.
  void Start();
  MainWindow& Window() { return *window_; }
  // The run has ended (screenshot saved or failed); its exit code.
  bool Finished() const { return finished_; }
  int ExitCode() const { return exitCode_; }

  // The language the window starts in: --lang, else the stored choice, else the desktop's.
  static Lang StartLanguage(const CommandLine& line);
  const StartChoices& Choices() const { return start_; }

 private:
  void ParameterSetShown();
  void StatusChanged(TextId status);
  void TakeScreenshot();
  void Finish(int code);
  // The page and the window position, kept soon after they change (a session the desktop
  // ends may never close the window) and when the window closes.
  void RememberWindow();
  bool eventFilter(QObject* watched, QEvent* event) override;

  CommandLine line_;
  UserSettings settings_;
  StartChoices start_;
  QElapsedTimer startup_;
  std::unique_ptr<MainWindow> window_;
  QTimer rememberSoon_;  // a drag moves the window many times: one write after it
  bool shownOnce_ = false;
  bool finished_ = false;
  int exitCode_ = 0;
};

}  // namespace tavelo::ui
