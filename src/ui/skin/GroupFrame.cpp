#include "ui/skin/GroupFrame.h"

#include <QPainter>
#include <algorithm>

namespace tavelo::ui {

SkinImage GroupFrameImage(qreal ratio) {
  constexpr int kWidth = 640, kHeight = 400;
  QImage canvas(DeviceSize(QSize(kWidth, kHeight), ratio), QImage::Format_ARGB32_Premultiplied);
  canvas.setDevicePixelRatio(ratio);
  canvas.fill(Qt::transparent);
  QPainter p(&canvas);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body(1.5, 1.5, kWidth - 4.0, kHeight - 4.0);
  // A soft shadow on the right and bottom, then the face and its border.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0, 0, 0, 40));
  p.drawRoundedRect(body.translated(2, 2), 7, 7);
  p.setBrush(QColor(246, 248, 251));
  p.setPen(QPen(QColor(150, 160, 175), 1.2));
  p.drawRoundedRect(body, 7, 7);
  // A light band behind the caption.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(225, 232, 242));
  p.drawRoundedRect(QRectF(2.5, 2.5, kWidth - 6.0, 20), 6, 6);
  p.end();
  return SkinImage(canvas.convertToFormat(QImage::Format_ARGB32));
}

std::array<FramePiece, 4> FramePieces(QSize picture, QRect frame) {
  const int e = kFrameEdge;
  const int pw = picture.width(), ph = picture.height();
  const int w = std::clamp(frame.width(), e, std::max(pw, e));
  const int h = std::clamp(frame.height(), e, std::max(ph, e));
  const int x = frame.left(), y = frame.top();
  return {{
      {QRect(0, 0, w - e, h - e), QRect(x, y, w - e, h - e)},
      {QRect(pw - e, 0, e, h - e), QRect(x + w - e, y, e, h - e)},
      {QRect(0, ph - e, w - e, e), QRect(x, y + h - e, w - e, e)},
      {QRect(pw - e, ph - e, e, e), QRect(x + w - e, y + h - e, e, e)},
  }};
}

QRectF PixelSource(const FramePiece& piece, qreal ratio) {
  const QRectF s(piece.source);
  return {s.x() * ratio, s.y() * ratio, s.width() * ratio, s.height() * ratio};
}

}  // namespace tavelo::ui
