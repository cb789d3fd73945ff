#include "ui/dialogs/UnlockDialog.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/params/LockKeyBlock.h"
#include "core/text/Texts.h"

namespace tavelo::ui {

UnlockDialog::UnlockDialog(Lang lang, QWidget* parent)
    : QDialog(parent),
      label_(new QLabel(QString::fromUtf8(Text(TextId::kUnlockPassword, lang)), this)),
      password_(new QLineEdit(this)),
      ok_(new QPushButton(QString::fromUtf8(Text(TextId::kUnlockOk, lang)), this)),
      close_(new QPushButton(QString::fromUtf8(Text(TextId::kUnlockClose, lang)), this)) {
  setObjectName("UnlockDialog");
  setWindowModality(Qt::WindowModal);
  setWindowTitle(QString::fromUtf8(Text(TextId::kUnlockTitle, lang)));
  password_->setObjectName("unlockPassword");
  password_->setEchoMode(QLineEdit::Password);
  password_->setMaxLength(kPasswordReadLimit);
  ok_->setObjectName("unlockOk");
  close_->setObjectName("unlockClose");
  ok_->setDefault(true);
  auto* grid = new QGridLayout(this);
  grid->addWidget(label_, 0, 0);
  grid->addWidget(password_, 0, 1, 1, 2);
  grid->addWidget(ok_, 1, 1);
  grid->addWidget(close_, 1, 2);
  connect(ok_, &QPushButton::clicked, this, &UnlockDialog::Submit);
  connect(close_, &QPushButton::clicked, this, &QDialog::reject);
}

void UnlockDialog::Submit() {
  const auto block = UnlockBlock(password_->text().toStdString());
  if (!block) {
    // Too short to be a lock key: nothing goes to the processor.
    QApplication::beep();
    password_->selectAll();
    password_->setFocus();
    return;
  }
  emit Submitted(BlockArg::Buffer(block->data(), static_cast<int>(block->size())));
  password_->selectAll();
}

void UnlockDialog::CloseAccepted() {
  accepted_ = true;
  accept();
}

void UnlockDialog::done(int result) {
  const bool abandoned = !accepted_;
  accepted_ = true;  // report once, whichever way the dialog ends
  QDialog::done(result);
  if (abandoned) emit Abandoned();
}

}  // namespace tavelo::ui
