#include "ui/dialogs/MessageBoxes.h"

namespace tavelo::ui {

QMessageBox* ShowNotice(QWidget* parent, const QString& caption, const QString& text) {
  auto* box = new QMessageBox(QMessageBox::NoIcon, caption, text, QMessageBox::Ok, parent);
  box->setObjectName("userMessage");
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::WindowModal);
  box->open();
  return box;
}

QMessageBox* AskQuestion(QWidget* parent, const QString& caption, const QString& text,
                         QMessageBox::StandardButton yes, QMessageBox::StandardButton no,
                         std::function<void()> onYes) {
  auto* box = new QMessageBox(QMessageBox::Question, caption, text, yes | no, parent);
  box->setObjectName("userQuestion");
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::WindowModal);
  box->setDefaultButton(no);
  QObject::connect(box, &QMessageBox::finished, box, [box, yes, onYes = std::move(onYes)] {
    if (box->clickedButton() == box->button(yes) && onYes) onYes();
  });
  box->open();
  return box;
}

}  // namespace tavelo::ui
