#include "ui/graph/GraphWidget.h"

#include <QMouseEvent>
#include <QPainter>

#include "ui/skin/Blend.h"
#include "ui/skin/SkinImage.h"

namespace tavelo::ui {

GraphWidget::GraphWidget(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphWidget::SetFrame(const QImage* frame) {
  frame_ = frame;
  if (frame_ != nullptr) setFixedSize(LogicalSize(*frame_));
  update();
}

void GraphWidget::Refresh() {
  update();
}

void GraphWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (frame_ == nullptr || frame_->isNull()) {
    painter.fillRect(rect(), Qt::black);
    return;
  }
  PresentOpaque(*frame_, screen_);
  screen_.setDevicePixelRatio(frame_->devicePixelRatio());
  // A frame drawn for another screen (the window moved) is resampled, not pixel-repeated.
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(0, 0, screen_);
}

void GraphWidget::mousePressEvent(QMouseEvent* event) {
  if (handler_ != nullptr) handler_->GraphPress(event->button(), event->position().toPoint());
}

void GraphWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (handler_ != nullptr) handler_->GraphRelease(event->button(), event->position().toPoint());
}

void GraphWidget::mouseMoveEvent(QMouseEvent* event) {
  if (handler_ != nullptr) handler_->GraphMove(event->position().toPoint());
}

}  // namespace tavelo::ui
