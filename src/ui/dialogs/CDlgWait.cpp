#include "ui/dialogs/CDlgWait.h"

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

CDlgWait::CDlgWait(WaitKind kind, Lang lang, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      kind_(kind),
      text_(new QLabel(QString::fromUtf8(tavelo::Text(TextOf(kind), lang)), this)),
      bar_(new QProgressBar(this)),
      timer_(new QTimer(this)) {
  setObjectName("CDlgWait");
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
  connect(timer_, &QTimer::timeout, this, &CDlgWait::Step);
  timer_->start(kTimerMs);
}

void CDlgWait::Step() {
  if (++position_ > kBarMax) position_ = 0;
  bar_->setValue(position_);
}

QString CDlgWait::Text() const {
  return text_->text();
}

void CDlgWait::Finish() {
  finishing_ = true;
  done(Accepted);
}

void CDlgWait::reject() {
  if (finishing_) QDialog::reject();
}

void CDlgWait::closeEvent(QCloseEvent* event) {
  if (!finishing_) {
    event->ignore();
    return;
  }
  QDialog::closeEvent(event);
}

}  // namespace tavelo::ui
