#include "ui/skin/SkinArt.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace tavelo::ui {
namespace {

// Pictures are painted premultiplied (what QPainter is fastest and most exact on) and
// handed out as plain ARGB32. On a hi-dpi screen the canvas has ratio x the pixels and
// QPainter draws in logical coordinates on it, so lines and text are drawn, not enlarged.
QImage Canvas(int width, int height, qreal ratio) {
  QImage image(DeviceSize(QSize(std::max(width, 1), std::max(height, 1)), ratio),
               QImage::Format_ARGB32_Premultiplied);
  image.setDevicePixelRatio(ratio);
  image.fill(Qt::transparent);
  return image;
}

SkinImage Done(const QImage& canvas) {
  return SkinImage(canvas.convertToFormat(QImage::Format_ARGB32));
}

QFont ArtFont(int pixels, bool bold) {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixels);
  font.setBold(bold);
  return font;
}

// A brushed-metal body for thumbs and button faces.
QLinearGradient Metal(QPointF from, QPointF to, QColor light, QColor dark) {
  QLinearGradient g(from, to);
  g.setColorAt(0.0, light);
  g.setColorAt(0.45, light.darker(108));
  g.setColorAt(0.55, dark.lighter(108));
  g.setColorAt(1.0, dark);
  return g;
}

void Groove(QPainter& p, const QRectF& r) {
  p.setPen(QPen(QColor(40, 40, 40), 1));
  p.setBrush(QColor(70, 70, 70));
  p.drawRoundedRect(r, 2, 2);
  p.setPen(QPen(QColor(150, 150, 150), 1));
  p.drawLine(QPointF(r.left() + 1, r.bottom()), QPointF(r.right(), r.bottom()));
}

}  // namespace

SkinImage VerticalTrack(int width, int height, qreal ratio) {
  QImage c = Canvas(width, height, ratio);
  QPainter p(&c);
  p.setRenderHint(QPainter::Antialiasing);
  const double cx = width / 2.0;
  const double margin = kEqThumbHeight / 2.0 - 2;
  Groove(p, QRectF(cx - 3, margin, 6, std::max(height - 2 * margin, 4.0)));
  // Ticks every twelfth of the travel, the middle one (0 dB on gain sliders) longer.
  p.setPen(QPen(QColor(120, 120, 120), 1));
  for (int k = 0; k <= 12; ++k) {
    const double y = margin + (height - 2 * margin) * k / 12.0;
    const double len = k == 6 ? 9 : 5;
    p.drawLine(QPointF(cx - 7 - len, y), QPointF(cx - 7, y));
    p.drawLine(QPointF(cx + 7, y), QPointF(cx + 7 + len, y));
  }
  p.end();
  return Done(c);
}

SkinImage VerticalThumb(int width, int thumbHeight, bool focused, qreal ratio) {
  QImage c = Canvas(width, thumbHeight, ratio);
  QPainter p(&c);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body(3.5, 1.5, width - 7, thumbHeight - 3);
  const QColor light = focused ? QColor(255, 214, 120) : QColor(235, 235, 235);
  const QColor dark = focused ? QColor(200, 120, 20) : QColor(130, 130, 130);
  p.setPen(QPen(QColor(30, 30, 30), 1));
  p.setBrush(Metal(body.topLeft(), body.bottomLeft(), light, dark));
  p.drawRoundedRect(body, 3, 3);
  p.setPen(QPen(focused ? QColor(120, 40, 0) : QColor(40, 40, 40), 2));
  p.drawLine(QPointF(body.left() + 3, thumbHeight / 2.0),
             QPointF(body.right() - 3, thumbHeight / 2.0));
  p.end();
  return Done(c);
}

SkinImage HorizontalTrack(int width, int height, qreal ratio) {
  QImage c = Canvas(width, height, ratio);
  QPainter p(&c);
  p.setRenderHint(QPainter::Antialiasing);
  const double cy = height / 2.0;
  const double margin = kLevelThumbWidth / 2.0 - 2;
  Groove(p, QRectF(margin, cy - 3, std::max(width - 2 * margin, 4.0), 6));
  p.end();
  return Done(c);
}

SkinImage HorizontalFill(int width, int height, qreal ratio) {
  QImage c = Canvas(width, height, ratio);
  QPainter p(&c);
  p.setRenderHint(QPainter::Antialiasing);
  const double cy = height / 2.0;
  const double margin = kLevelThumbWidth / 2.0 - 2;
  QLinearGradient g(0, cy - 3, 0, cy + 3);
  g.setColorAt(0, QColor(90, 200, 255));
  g.setColorAt(1, QColor(20, 110, 200));
  p.setPen(QPen(QColor(20, 60, 110), 1));
  p.setBrush(g);
  p.drawRoundedRect(QRectF(margin, cy - 3, std::max(width - 2 * margin, 4.0), 6), 2, 2);
  p.end();
  return Done(c);
}

SkinImage HorizontalThumb(int thumbWidth, int height, bool focused, qreal ratio) {
  QImage c = Canvas(thumbWidth, height, ratio);
  QPainter p(&c);
  p.setRenderHint(QPainter::Antialiasing);
  const QRectF body(1.5, 2.5, thumbWidth - 3, height - 5);
  const QColor light = focused ? QColor(255, 214, 120) : QColor(235, 235, 235);
  const QColor dark = focused ? QColor(200, 120, 20) : QColor(130, 130, 130);
  p.setPen(QPen(QColor(30, 30, 30), 1));
  p.setBrush(Metal(body.topLeft(), body.topRight(), light, dark));
  p.drawRoundedRect(body, 3, 3);
  p.setPen(QPen(QColor(40, 40, 40), 2));
  p.drawLine(QPointF(thumbWidth / 2.0, body.top() + 3),
             QPointF(thumbWidth / 2.0, body.bottom() - 3));
  p.end();
  return Done(c);
}

std::vector<SkinImage> ButtonFaces(int width, int height, ButtonLook look, qreal ratio) {
  // Lit colour per look: navigation blue, bypass red, type green, plain amber.
  QColor litLight, litDark;
  switch (look) {
    case ButtonLook::kNavigation:
      litLight = QColor(120, 190, 255);
      litDark = QColor(30, 100, 190);
      break;
    case ButtonLook::kBypass:
      litLight = QColor(255, 140, 120);
      litDark = QColor(190, 40, 30);
      break;
    case ButtonLook::kType:
      litLight = QColor(150, 240, 140);
      litDark = QColor(40, 150, 40);
      break;
    case ButtonLook::kGrey:
      litLight = QColor(255, 220, 130);
      litDark = QColor(210, 140, 30);
      break;
  }
  std::vector<SkinImage> faces;
  for (int state = 0; state < 4; ++state) {
    const bool pressed = state == 1 || state == 3;
    const bool lit = state >= 2;
    QImage c = Canvas(width, height, ratio);
    QPainter p(&c);
    p.setRenderHint(QPainter::Antialiasing);
    QColor light = lit ? litLight : QColor(245, 245, 245);
    QColor dark = lit ? litDark : QColor(175, 175, 175);
    if (pressed) std::swap(light, dark);
    const QRectF body(0.5, 0.5, width - 1, height - 1);
    p.setPen(QPen(QColor(60, 60, 60), 1));
    p.setBrush(Metal(body.topLeft(), body.bottomLeft(), light, dark));
    p.drawRoundedRect(body, 3, 3);
    if (!pressed) {  // a thin highlight along the top edge
      p.setPen(QPen(QColor(255, 255, 255, 160), 1));
      p.drawLine(QPointF(3, 1.5), QPointF(width - 3, 1.5));
    }
    p.end();
    faces.push_back(Done(c));
  }
  return faces;
}

SkinImage ComboArrow(bool pressed, qreal ratio) {
  QImage c = Canvas(kArrowSize, kArrowSize, ratio);
  QPainter p(&c);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(50, 50, 50), 1));
  p.setBrush(pressed ? QColor(90, 90, 90) : QColor(200, 200, 200));
  p.drawRect(QRectF(0.5, 0.5, kArrowSize - 1, kArrowSize - 1));
  QPainterPath tri;
  const double shift = pressed ? 1 : 0;
  tri.moveTo(4 + shift, 6 + shift);
  tri.lineTo(12 + shift, 6 + shift);
  tri.lineTo(8 + shift, 11 + shift);
  tri.closeSubpath();
  p.setPen(Qt::NoPen);
  p.setBrush(pressed ? QColor(240, 240, 240) : QColor(20, 20, 20));
  p.drawPath(tri);
  p.end();
  return Done(c);
}

SkinImage MarkerImage(int number, bool selected, qreal ratio) {
  QImage c = Canvas(kMarkerSize, kMarkerSize, ratio);
  QPainter p(&c);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QPointF centre(kMarkerSize / 2.0, kMarkerSize / 2.0);
  const QColor ring = selected ? QColor(255, 230, 60) : QColor(120, 220, 255);
  // Cross hairs outside the ring.
  p.setPen(QPen(ring, 1.2));
  p.drawLine(QPointF(centre.x(), 1), QPointF(centre.x(), 6));
  p.drawLine(QPointF(centre.x(), kMarkerSize - 6), QPointF(centre.x(), kMarkerSize - 1));
  p.drawLine(QPointF(1, centre.y()), QPointF(6, centre.y()));
  p.drawLine(QPointF(kMarkerSize - 6, centre.y()), QPointF(kMarkerSize - 1, centre.y()));
  // Ring with a dark translucent disc, so the number reads over any curve.
  p.setPen(QPen(ring, 1.6));
  p.setBrush(QColor(0, 0, 0, 150));
  p.drawEllipse(centre, 8.5, 8.5);
  p.setPen(Qt::white);
  p.setFont(ArtFont(number >= 10 ? 9 : 11, true));
  p.drawText(QRectF(centre.x() - 9, centre.y() - 9, 18, 18), Qt::AlignCenter,
             QString::number(number));
  if (selected) {  // corner brackets
    p.setPen(QPen(QColor(255, 230, 60), 1.6));
    const double a = 1.5, b = kMarkerSize - 1.5, l = 6;
    p.drawPolyline(QPolygonF({{a, a + l}, {a, a}, {a + l, a}}));
    p.drawPolyline(QPolygonF({{b - l, a}, {b, a}, {b, a + l}}));
    p.drawPolyline(QPolygonF({{a, b - l}, {a, b}, {a + l, b}}));
    p.drawPolyline(QPolygonF({{b - l, b}, {b, b}, {b, b - l}}));
  }
  p.end();
  return Done(c);
}

std::vector<SkinImage> MarkerSet(int count, bool selected, qreal ratio) {
  std::vector<SkinImage> set;
  for (int k = 0; k < count; ++k) set.push_back(MarkerImage(k + 1, selected, ratio));
  return set;
}

SkinImage BypassStamp(qreal ratio) {
  QImage c = Canvas(kStampWidth, kStampHeight, ratio);
  QPainter p(&c);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  const QRectF frame(2, 2, kStampWidth - 4, kStampHeight - 4);
  p.setPen(QPen(QColor(230, 40, 40, 220), 3));
  p.setBrush(QColor(120, 0, 0, 90));
  p.drawRoundedRect(frame, 6, 6);
  p.setPen(QColor(255, 70, 60, 235));
  p.setFont(ArtFont(26, true));
  p.drawText(frame, Qt::AlignCenter, QStringLiteral("EQ IS BYPASS"));
  p.end();
  return Done(c);
}

}  // namespace tavelo::ui
