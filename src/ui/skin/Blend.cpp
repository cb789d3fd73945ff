#include "ui/skin/Blend.h"

#include <algorithm>
#include <cstring>

namespace tavelo::ui {
namespace {

// The part of a w x h picture placed at (x, y) that falls inside dst.
struct Span {
  int sx = 0, sy = 0, dx = 0, dy = 0, w = 0, h = 0;
};

Span Clip(const QImage& dst, const QImage& src, int x, int y, const QRect& limit) {
  const QRect placed(x, y, src.width(), src.height());
  const QRect visible = placed.intersected(dst.rect()).intersected(limit);
  if (visible.isEmpty()) return {};
  return {visible.x() - x, visible.y() - y, visible.x(),
          visible.y(),     visible.width(), visible.height()};
}

QRgb* Row(QImage& image, int y) {
  return reinterpret_cast<QRgb*>(image.scanLine(y));
}
const QRgb* Row(const QImage& image, int y) {
  return reinterpret_cast<const QRgb*>(image.constScanLine(y));
}

}  // namespace

void BlendImage(QImage& dst, const QImage& src, int x, int y) {
  const Span s = Clip(dst, src, x, y, dst.rect());
  for (int r = 0; r < s.h; ++r) {
    const QRgb* in = Row(src, s.sy + r) + s.sx;
    QRgb* out = Row(dst, s.dy + r) + s.dx;
    for (int c = 0; c < s.w; ++c) {
      const QRgb p = in[c];
      const QRgb a = p >> 24;
      if (a == 0) continue;  // (d * 256 + 128) >> 8 == d
      out[c] = BlendPixel(p, out[c]);
    }
  }
}

void CopyImage(QImage& dst, const QImage& src, int x, int y) {
  const Span s = Clip(dst, src, x, y, dst.rect());
  for (int r = 0; r < s.h; ++r) {
    std::memcpy(Row(dst, s.dy + r) + s.dx, Row(src, s.sy + r) + s.sx,
                static_cast<size_t>(s.w) * sizeof(QRgb));
  }
}

void CopyWhole(QImage& dst, const QImage& src) {
  if (dst.size() != src.size() || dst.bytesPerLine() != src.bytesPerLine()) {
    CopyImage(dst, src, 0, 0);
    return;
  }
  std::memcpy(dst.bits(), src.constBits(), static_cast<size_t>(src.sizeInBytes()));
}

void FillImage(QImage& dst, QRgb pixel) {
  dst.fill(pixel);
}

void TintImage(QImage& dst) {
  const int w = dst.width(), h = dst.height();
  for (int y = 0; y < h; ++y) {
    QRgb* row = Row(dst, y);
    for (int x = 0; x < w; ++x) row[x] = TintPixel(row[x]);
  }
}

void BlendColumn(QImage& dst, int x, int y0, int y1, QRgb colour, int alpha) {
  if (x < 0 || x >= dst.width()) return;
  y0 = std::max(y0, 0);
  y1 = std::min(y1, dst.height());
  const QRgb src = (colour & 0x00ffffffu) | (static_cast<QRgb>(alpha & 0xff) << 24);
  const qsizetype stride = dst.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
  QRgb* p = y0 < y1 ? Row(dst, y0) + x : nullptr;
  for (int y = y0; y < y1; ++y, p += stride) *p = BlendPixel(src, *p);
}

void PaintColumn(QImage& dst, int x, int y0, int y1, QRgb colour) {
  if (x < 0 || x >= dst.width()) return;
  y0 = std::max(y0, 0);
  y1 = std::min(y1, dst.height() - 1);
  const QRgb value = colour & 0x00ffffffu;
  const qsizetype stride = dst.bytesPerLine() / static_cast<qsizetype>(sizeof(QRgb));
  QRgb* p = y0 <= y1 ? Row(dst, y0) + x : nullptr;
  for (int y = y0; y <= y1; ++y, p += stride) *p = value;
}

void BlendMask(QImage& dst, const QImage& mask, int x, int y, QRgb colour, const QRect& clip) {
  const Span s = Clip(dst, mask, x, y, clip);
  const QRgb rgb = colour & 0x00ffffffu;
  for (int r = 0; r < s.h; ++r) {
    const uchar* in = mask.constScanLine(s.sy + r) + s.sx;
    QRgb* out = Row(dst, s.dy + r) + s.dx;
    for (int c = 0; c < s.w; ++c) {
      if (in[c] == 0) continue;
      out[c] = BlendPixel(rgb | (static_cast<QRgb>(in[c]) << 24), out[c]);
    }
  }
}

void PresentOpaque(const QImage& src, QImage& out) {
  if (out.size() != src.size() || out.format() != QImage::Format_RGB32) {
    out = QImage(src.size(), QImage::Format_RGB32);
  }
  const int w = src.width(), h = src.height();
  for (int y = 0; y < h; ++y) {
    const QRgb* in = Row(src, y);
    QRgb* o = Row(out, y);
    for (int x = 0; x < w; ++x) o[x] = in[x] | 0xff000000u;
  }
}

}  // namespace tavelo::ui
