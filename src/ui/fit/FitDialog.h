#pragma once
// "Fit to measurement...": the EQ page's dialog that fits the band array on show to room
// measurements. It lists the files, takes the target and the settings, runs the fit on a
// worker thread, draws the measured, target and predicted curves with the fitted bands on
// the page's own graph, and on Apply sets all bands as one edit (one undo step), through
// the page's band editor like any other edit. Nothing is sent before Apply; Cancel leaves
// the page as it was.
#include <QDialog>
#include <memory>
#include <optional>

#include "core/text/Lang.h"
#include "ui/fit/MeasurementFit.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace tavelo::ui {

class EqPage;

class FitDialog : public QDialog {
  Q_OBJECT
 public:
  FitDialog(EqPage& page, Lang lang);
  ~FitDialog() override;

  // What the buttons do, reachable without a file dialog. Each returns the message it
  // showed ("" for none).
  QString AddMeasurement(const QString& path);
  QString ChooseTarget(const QString& path);  // "" path: flat
  QString StartFit();                         // the fit runs; Busy() until it is done
  QString ApplyFit();                         // sets the bands and closes the dialog

  bool Busy() const { return busy_; }
  bool HasResult() const { return outcome_.has_value(); }
  const FitOutcome* Outcome() const { return outcome_ ? &*outcome_ : nullptr; }
  QString Report() const;
  FitFields Fields() const;
  void SetFields(const FitFields& fields);

 signals:
  void fitFinished();

 protected:
  void done(int result) override;

 private:
  void Build();
  void ShowFiles();
  void Finished(FitOutcome outcome);
  void Forget();  // the shown fit no longer matches the inputs
  QString Say(const std::string& message);

  EqPage& page_;
  Lang lang_;
  MeasurementFit fit_;
  std::optional<FitOutcome> outcome_;
  bool busy_ = false;
  int generation_ = 0;  // a fit started before the inputs changed is not shown
  QListWidget* files_ = nullptr;
  QLabel* target_ = nullptr;
  QLineEdit *rangeLow_ = nullptr, *rangeHigh_ = nullptr, *alignLow_ = nullptr,
            *alignHigh_ = nullptr, *maxBoost_ = nullptr;
  QPushButton* run_ = nullptr;
  QPushButton* apply_ = nullptr;
  QPlainTextEdit* report_ = nullptr;
};

}  // namespace tavelo::ui
