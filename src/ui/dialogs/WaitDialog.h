#pragma once
// "Connecting / Loading / Saving" with a sweeping bar while a long transfer runs. It is
// window-modal and opened without a nested event loop, so the engine's ticks, replies and
// posted messages keep flowing underneath. It closes only when the work it waits for
// ends (Finish); Escape and the window's close request leave it up.
#include <QDialog>

#include "core/engine/EngineObserver.h"
#include "core/text/Lang.h"

class QLabel;
class QProgressBar;
class QTimer;

namespace tavelo::ui {

class WaitDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kTimerMs = 100;  // the bar moves every 100 ms
  static constexpr int kBarMax = 100;

  WaitDialog(WaitKind kind, Lang lang, QWidget* parent);

  // One step of the bar: +1, back to 0 after 100.
  void Step();
  int Position() const { return position_; }
  // A mass upload's progress: "Saving... file k/n".
  void SetProgress(int file, int count);
  WaitKind Kind() const { return kind_; }
  QString Text() const;
  // The work ended: the dialog closes.
  void Finish();
  void reject() override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  WaitKind kind_;
  Lang lang_;
  int position_ = 0;
  bool finishing_ = false;
  QLabel* text_;
  QProgressBar* bar_;
  QTimer* timer_;
};

}  // namespace tavelo::ui
