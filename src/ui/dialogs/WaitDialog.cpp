#include "ui/dialogs/WaitDialog.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QTimer>
#include <QVBoxLayout>

#include "core/text/Texts.h"

namespace tavelo::ui {
namespace {

TextId TextOf(WaitKind kind) {
  switch (kind) {
    case WaitKind::kLoading:
      return TextId::kWaitLoading;
    case WaitKind::kSaving:
      return TextId::kWaitSaving;
    case WaitKind::kConnecting:
      break;
  }
  return TextId::kWaitConnecting;
}

}  // namespace

WaitDialog::WaitDialog(WaitKind kind, Lang lang, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      kind_(kind),
      lang_(lang),
      text_(new QLabel(QString::fromUtf8(tavelo::Text(TextOf(kind), lang)), this)),
      bar_(new QProgressBar(this)),
      timer_(new QTimer(this)) {
  setObjectName("WaitDialog");
  setWindowModality(Qt::WindowModal);
  setWindowTitle(QString::fromUtf8(tavelo::Text(TextId::kAppTitle, lang)));
  text_->setObjectName("waitText");
  text_->setAlignment(Qt::AlignCenter);
  bar_->setRange(0, kBarMax);
  bar_->setValue(0);
  bar_->setTextVisible(false);
  bar_->setFixedHeight(10);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text_);
  layout->addWidget(bar_);
  setFixedSize(280, 90);
  connect(timer_, &QTimer::timeout, this, &WaitDialog::Step);
  timer_->start(kTimerMs);
}

void WaitDialog::Step() {
  if (++position_ > kBarMax) position_ = 0;
  bar_->setValue(position_);
}

void WaitDialog::SetProgress(int file, int count) {
  const std::string progress = std::to_string(file) + "/" + std::to_string(count);
  text_->setText(QString::fromStdString(FormatText(TextId::kWaitMassProgress, lang_, progress)));
}

QString WaitDialog::Text() const {
  return text_->text();
}

void WaitDialog::Finish() {
  finishing_ = true;
  done(Accepted);
}

void WaitDialog::reject() {
  if (finishing_) QDialog::reject();
}

void WaitDialog::closeEvent(QCloseEvent* event) {
  if (!finishing_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace tavelo::ui
