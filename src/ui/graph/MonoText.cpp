#include "ui/graph/MonoText.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>

#include "ui/skin/Blend.h"

namespace tavelo::ui {
namespace {

QFont CourierLike(int pixelSize) {
  QFont font(QStringLiteral("Courier New"));
  font.setStyleHint(QFont::TypeWriter, QFont::PreferAntialias);
  font.setFixedPitch(true);
  font.setPixelSize(pixelSize);
  return font;
}

}  // namespace

MonoText::MonoText(int pixelHeight) {
  // The largest face whose line fits the requested height, so rows line up as laid out.
  QFont font = CourierLike(pixelHeight);
  for (int size = pixelHeight; size > 6; --size) {
    font = CourierLike(size);
    if (QFontMetrics(font).height() <= pixelHeight) break;
  }
  const QFontMetrics metrics(font);
  advance_ = std::max(metrics.horizontalAdvance(QLatin1Char('0')), 1);
  height_ = std::max(metrics.height(), 1);
  for (int ch = kFirst; ch <= kLast; ++ch) {
    QImage cell(advance_, height_, QImage::Format_ARGB32_Premultiplied);
    cell.fill(Qt::transparent);
    {
      QPainter p(&cell);
      p.setRenderHint(QPainter::TextAntialiasing);
      p.setFont(font);
      p.setPen(Qt::white);
      p.drawText(0, metrics.ascent(), QString(QChar(ch)));
    }
    glyphs_[ch - kFirst] = cell.convertToFormat(QImage::Format_Alpha8);
  }
}

void MonoText::Draw(QImage& dst, int x, int y, const QString& text, QRgb colour,
                    const QRect& clip) const {
  for (const QChar c : text) {
    const int code = c.unicode();
    if (code > kFirst && code <= kLast) BlendMask(dst, glyphs_[code - kFirst], x, y, colour, clip);
    x += advance_;
  }
}

void MonoText::Draw(QImage& dst, int x, int y, const QString& text, QRgb colour) const {
  Draw(dst, x, y, text, colour, dst.rect());
}

}  // namespace tavelo::ui
