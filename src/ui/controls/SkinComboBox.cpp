#include "ui/controls/SkinComboBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "ui/skin/Blend.h"
#include "ui/skin/SkinArt.h"

namespace tavelo::ui {

// ---- edit part ----

SkinComboBoxEdit::SkinComboBoxEdit(QWidget* parent) : QLineEdit(parent) {
  setFrame(false);
  ApplyPalette();
  // Whatever asks for a selection (mouse, keys, code), a read-only line shows none.
  connect(this, &QLineEdit::selectionChanged, this, [this] {
    if (isReadOnly() && hasSelectedText()) deselect();
  });
}

void SkinComboBoxEdit::SetTextColours(QColor readOnly, QColor editable) {
  readOnlyText_ = readOnly;
  editableText_ = editable;
  ApplyPalette();
}

void SkinComboBoxEdit::ApplyPalette() {
  QPalette pal = palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Text, TextColour());
  pal.setColor(QPalette::Disabled, QPalette::Text, QColor(140, 140, 140));
  setPalette(pal);
}

void SkinComboBoxEdit::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ReadOnlyChange) ApplyPalette();
  QLineEdit::changeEvent(event);
}

void SkinComboBoxEdit::mousePressEvent(QMouseEvent* event) {
  if (isReadOnly() && combo_ != nullptr && event->button() == Qt::LeftButton) {
    combo_->ClickToggle();
    return;
  }
  QLineEdit::mousePressEvent(event);
}

void SkinComboBoxEdit::mouseMoveEvent(QMouseEvent* event) {
  if (isReadOnly()) return;  // no drag selection
  QLineEdit::mouseMoveEvent(event);
}

void SkinComboBoxEdit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (isReadOnly()) return;  // no word selection
  QLineEdit::mouseDoubleClickEvent(event);
}

// ---- list part ----

SkinComboBoxList::SkinComboBoxList(QWidget* parent) : QListView(parent) {}

void SkinComboBoxList::hideEvent(QHideEvent* event) {
  QListView::hideEvent(event);
  if (combo_ != nullptr) combo_->OnListHidden();
}

// ---- combo box ----

SkinComboBox::SkinComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  edit_ = new SkinComboBoxEdit(this);
  setLineEdit(edit_);
  edit_->SetCombo(this);
  list_ = new SkinComboBoxList(this);
  setView(list_);
  list_->SetCombo(this);
}

void SkinComboBox::SetUp() {
  arrowNormal_ = ComboArrow(false);
  arrowPressed_ = ComboArrow(true);
  imagesLoaded_ = true;
  update();
}

void SkinComboBox::SetReadOnly(bool readOnly) {
  edit_->setReadOnly(readOnly);
}

void SkinComboBox::ClickToggle() {
  setFocus(Qt::MouseFocusReason);
  if (edit_ == nullptr) return;
  pressed_ = true;
  if (view()->isVisible()) {
    hidePopup();
  } else {
    showPopup();
    openedByClick_.start();
    for (QObject* part :
         {static_cast<QObject*>(view()->parentWidget()), static_cast<QObject*>(view()->viewport())})
      if (part) part->installEventFilter(this);
  }
  edit_->deselect();
  edit_->setCursorPosition(0);
  repaint();
}

bool SkinComboBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && openedByClick_.isValid()) {
    const bool sameClick = openedByClick_.elapsed() < QApplication::doubleClickInterval();
    openedByClick_.invalidate();
    if (sameClick) return true;
  }
  return QComboBox::eventFilter(watched, event);
}

void SkinComboBox::OnListHidden() {
  pressed_ = false;
  emit ListClosed();
  repaint();
}

void SkinComboBox::hidePopup() {
  QComboBox::hidePopup();
  // Normally the list part reports its own hiding; this covers a list that never showed.
  if (pressed_ && !view()->isVisible()) OnListHidden();
}

QImage SkinComboBox::Compose(qreal ratio) const {
  QImage face(DeviceSize(size().expandedTo(QSize(1, 1)), ratio), QImage::Format_ARGB32);
  face.fill(kComboFace.rgb());
  {
    // A one-point frame: as many pixels thick as the screen has per point.
    const int t = std::max(1, qRound(ratio));
    const int w = face.width(), h = face.height();
    QPainter p(&face);
    p.fillRect(0, 0, w, t, kComboFrameTopLeft);
    p.fillRect(0, 0, t, h, kComboFrameTopLeft);
    p.fillRect(0, h - t, w, t, kComboFrameBottomRight);
    p.fillRect(w - t, 0, t, h, kComboFrameBottomRight);
  }
  if (imagesLoaded_) {
    const QImage arrow = (pressed_ ? arrowPressed_ : arrowNormal_).At(ratio);
    BlendImage(face, arrow, face.width() - arrow.width() - qRound(2 * ratio),
               (face.height() - arrow.height()) / 2);
  }
  if (!isEnabled()) TintImage(face);  // greyed out like the sliders
  face.setDevicePixelRatio(ratio);
  return face;
}

void SkinComboBox::paintEvent(QPaintEvent*) {
  QImage screen;
  const QImage face = Compose(devicePixelRatioF());
  PresentOpaque(face, screen);
  screen.setDevicePixelRatio(face.devicePixelRatio());
  QPainter painter(this);
  painter.drawImage(0, 0, screen);
}

void SkinComboBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QComboBox::mousePressEvent(event);
  ClickToggle();
  event->accept();
}

}  // namespace tavelo::ui
