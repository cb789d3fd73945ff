#include "ui/controls/QStepArrows.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

namespace tavelo::ui {

QStepArrows::QStepArrows(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
}

void QStepArrows::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.fillRect(rect(), QColor(140, 140, 140));
  const int w = width(), h = height(), mid = h / 2;
  p.setPen(QColor(58, 58, 58));
  p.drawLine(0, mid, w - 1, mid);
  p.setBrush(QColor(20, 20, 20));
  p.setPen(Qt::NoPen);
  p.drawPolygon(QPolygon({QPoint(w / 2, 2), QPoint(w - 3, mid - 2), QPoint(2, mid - 2)}));
  p.drawPolygon(QPolygon({QPoint(2, mid + 2), QPoint(w - 3, mid + 2), QPoint(w / 2, h - 3)}));
}

void QStepArrows::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  emit Step(event->position().y() < height() / 2.0 ? -1 : 1);
}

}  // namespace tavelo::ui
