#include "ui/controls/CSkinComboBox.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include "ui/skin/Blend.h"
#include "ui/skin/SkinArt.h"

namespace tavelo::ui {

// ---- edit part ----

CSkinComboBox_Edit::CSkinComboBox_Edit(QWidget* parent) : QLineEdit(parent) {
  setFrame(false);
  ApplyPalette();
  // Whatever asks for a selection (mouse, keys, code), a read-only line shows none.
  connect(this, &QLineEdit::selectionChanged, this, [this] {
    if (isReadOnly() && hasSelectedText()) deselect();
  });
}

void CSkinComboBox_Edit::SetTextColours(QColor readOnly, QColor editable) {
  readOnlyText_ = readOnly;
  editableText_ = editable;
  ApplyPalette();
}

void CSkinComboBox_Edit::ApplyPalette() {
  QPalette pal = palette();
  pal.setColor(QPalette::Base, Qt::white);
  pal.setColor(QPalette::Text, TextColour());
  setPalette(pal);
}

void CSkinComboBox_Edit::changeEvent(QEvent* event) {
  if (event->type() == QEvent::ReadOnlyChange) ApplyPalette();
  QLineEdit::changeEvent(event);
}

void CSkinComboBox_Edit::mousePressEvent(QMouseEvent* event) {
  if (isReadOnly() && combo_ != nullptr && event->button() == Qt::LeftButton) {
    combo_->ClickToggle();
    return;
  }
  QLineEdit::mousePressEvent(event);
}

void CSkinComboBox_Edit::mouseMoveEvent(QMouseEvent* event) {
  if (isReadOnly()) return;  // no drag selection
  QLineEdit::mouseMoveEvent(event);
}

void CSkinComboBox_Edit::mouseDoubleClickEvent(QMouseEvent* event) {
  if (isReadOnly()) return;  // no word selection
  QLineEdit::mouseDoubleClickEvent(event);
}

// ---- list part ----

CSkinComboBox_ListBox::CSkinComboBox_ListBox(QWidget* parent) : QListView(parent) {}

void CSkinComboBox_ListBox::hideEvent(QHideEvent* event) {
  QListView::hideEvent(event);
  if (combo_ != nullptr) combo_->OnListHidden();
}

// ---- combo box ----

CSkinComboBox::CSkinComboBox(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  edit_ = new CSkinComboBox_Edit(this);
  setLineEdit(edit_);
  edit_->SetCombo(this);
  list_ = new CSkinComboBox_ListBox(this);
  setView(list_);
  list_->SetCombo(this);
}

void CSkinComboBox::SetUp() {
  arrowNormal_ = ComboArrow(false).Image();
  arrowPressed_ = ComboArrow(true).Image();
  arrowSize_ = arrowNormal_.size();
  imagesLoaded_ = true;
  update();
}

void CSkinComboBox::SetReadOnly(bool readOnly) {
  edit_->setReadOnly(readOnly);
}

void CSkinComboBox::ClickToggle() {
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

bool CSkinComboBox::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonRelease && openedByClick_.isValid()) {
    const bool sameClick = openedByClick_.elapsed() < QApplication::doubleClickInterval();
    openedByClick_.invalidate();
    if (sameClick) return true;
  }
  return QComboBox::eventFilter(watched, event);
}

void CSkinComboBox::OnListHidden() {
  pressed_ = false;
  emit ListClosed();
  repaint();
}

void CSkinComboBox::hidePopup() {
  QComboBox::hidePopup();
  // Normally the list part reports its own hiding; this covers a list that never showed.
  if (pressed_ && !view()->isVisible()) OnListHidden();
}

QImage CSkinComboBox::Compose() const {
  QImage face(size().expandedTo(QSize(1, 1)), QImage::Format_ARGB32);
  face.fill(kComboFace.rgb());
  {
    QPainter p(&face);
    const int r = face.width() - 1, b = face.height() - 1;
    p.setPen(kComboFrameTopLeft);
    p.drawLine(0, 0, r, 0);
    p.drawLine(0, 0, 0, b);
    p.setPen(kComboFrameBottomRight);
    p.drawLine(0, b, r, b);
    p.drawLine(r, 0, r, b);
  }
  if (imagesLoaded_) {
    const QImage& arrow = pressed_ ? arrowPressed_ : arrowNormal_;
    BlendImage(face, arrow, face.width() - arrowSize_.width() - 2,
               (face.height() - arrowSize_.height()) / 2);
  }
  return face;
}

void CSkinComboBox::paintEvent(QPaintEvent*) {
  QImage screen;
  PresentOpaque(Compose(), screen);
  QPainter painter(this);
  painter.drawImage(0, 0, screen);
}

void CSkinComboBox::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QComboBox::mousePressEvent(event);
  ClickToggle();
  event->accept();
}

}  // namespace tavelo::ui
