#include "ui/controls/SkinEdit.h"

#include <QPainter>
#include <algorithm>

namespace tavelo::ui {

SkinEdit::SkinEdit(QWidget* parent) : QLineEdit(parent) {
  // Our own one-pixel frame replaces the style's border.
  setFrame(false);
  QPalette pal = palette();
  pal.setColor(QPalette::Base, kEditFace);
  pal.setColor(QPalette::Window, kEditFace);
  pal.setColor(QPalette::Text, kEditText);
  pal.setColor(QPalette::Disabled, QPalette::Text, kEditDisabledText);
  setPalette(pal);
  SetMargins(0, 0);
}

void SkinEdit::SetMargins(int horizontal, int vertical) {
  hMargin_ = std::max(horizontal, 0);
  vMargin_ = std::max(vertical, 0);
  // The text starts right inside the frame plus the margins.
  setTextMargins(1 + hMargin_, 1 + vMargin_, 1 + hMargin_, 1 + vMargin_);
}

void SkinEdit::paintEvent(QPaintEvent* event) {
  {
    QPainter face(this);
    face.fillRect(rect(), kEditFace);
  }
  QLineEdit::paintEvent(event);
  QPainter frame(this);
  const int r = width() - 1, b = height() - 1;
  frame.setPen(kEditFrameTopLeft);
  frame.drawLine(0, 0, r, 0);
  frame.drawLine(0, 0, 0, b);
  frame.setPen(kEditFrameBottomRight);
  frame.drawLine(0, b, r, b);
  frame.drawLine(r, 0, r, b);
}

}  // namespace tavelo::ui
