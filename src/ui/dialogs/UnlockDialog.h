#pragma once
// Asks for the processor's lock-key password when it reports its settings locked. The
// processor checks the password: OK sends it (the dialog stays up for another try), Close
// abandons the connection. Window-modal and opened without a nested event loop.
#include <QDialog>

#include "core/params/BlockEncoder.h"
#include "core/text/Lang.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace tavelo::ui {

class UnlockDialog : public QDialog {
  Q_OBJECT
 public:
  static constexpr int kLabelId = 1944, kPasswordId = 1945, kOkId = 1545, kCloseId = 1832;

  UnlockDialog(Lang lang, QWidget* parent);

  // The engine accepted the password: close without abandoning.
  void CloseAccepted();

  QLineEdit* PasswordEdit() const { return password_; }
  QPushButton* OkButton() const { return ok_; }
  QPushButton* CloseButton() const { return close_; }

 signals:
  // The lock-key block to send (code 43).
  void Submitted(const tavelo::BlockArg& block);
  // Closed by the user without success.
  void Abandoned();

 protected:
  void done(int result) override;

 private:
  void Submit();

  QLabel* label_;
  QLineEdit* password_;
  QPushButton* ok_;
  QPushButton* close_;
  bool accepted_ = false;
};

}  // namespace tavelo::ui
