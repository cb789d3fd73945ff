#include "ui/pages/CPageSlot.h"

#include <QPainter>

namespace tavelo::ui {

CPageSlot::CPageSlot(const QString& name, QSize size, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  resize(size);
}

void CPageSlot::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::white);
}

}  // namespace tavelo::ui
