#pragma once
// The application: reads the command line and the stored language, shows the main window
// and, for a screenshot run, connects (with --demo), waits for the parameter set to be
// shown, saves a picture of the window and ends.
#include <QElapsedTimer>
#include <QObject>
#include <memory>

#include "ui/app/CTaveloDlg.h"
#include "ui/app/CommandLine.h"

namespace tavelo::ui {

class CTaveloApp : public QObject {
  Q_OBJECT
 public:
  // `startup` runs from the start of the process (for the startup timing line).
  CTaveloApp(const CommandLine& line, QElapsedTimer startup);
  ~CTaveloApp() override;

  // Shows the window and starts the run; the exit code arrives through QApplication::exit.
  void Start();
  CTaveloDlg& Window() { return *window_; }
  // The run has ended (screenshot saved or failed); its exit code.
  bool Finished() const { return finished_; }
  int ExitCode() const { return exitCode_; }

  // The language the window starts in: --lang, else the stored choice, else Chinese.
  static Lang StartLanguage(const CommandLine& line);

 private:
  void ParameterSetShown();
  void StatusChanged(TextId status);
  void TakeScreenshot();
  void Finish(int code);

  CommandLine line_;
  QElapsedTimer startup_;
  std::unique_ptr<CTaveloDlg> window_;
  bool shownOnce_ = false;
  bool finished_ = false;
  int exitCode_ = 0;
};

}  // namespace tavelo::ui
