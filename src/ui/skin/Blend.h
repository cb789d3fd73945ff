#pragma once
// Pixel composition rules shared by the skinned controls and the graph. All work on
// Format_ARGB32 images; blending keeps the destination's alpha byte.
#include <QImage>
#include <QRect>

namespace tavelo::ui {

// One channel of the blend: (s * a + d * (256 - a) + 128) / 256.
constexpr int BlendChannel(int s, int d, int a) {
  return (s * a + d * (256 - a) + 128) >> 8;
}

// src over dst with src's own alpha; dst's alpha byte is kept.
constexpr QRgb BlendPixel(QRgb src, QRgb dst) {
  const int a = static_cast<int>(src >> 24);
  const int r = BlendChannel((src >> 16) & 0xff, (dst >> 16) & 0xff, a);
  const int g = BlendChannel((src >> 8) & 0xff, (dst >> 8) & 0xff, a);
  const int b = BlendChannel(src & 0xff, dst & 0xff, a);
  return (dst & 0xff000000u) | (static_cast<QRgb>(r) << 16) | (static_cast<QRgb>(g) << 8) |
         static_cast<QRgb>(b);
}

// The disabled look: a quarter of the way towards RGB(32, 96, 96), alpha kept.
constexpr QRgb TintPixel(QRgb p) {
  const auto ch = [](int c, int k) { return (c * 192 + k * 64 + 128) >> 8; };
  return (p & 0xff000000u) | (static_cast<QRgb>(ch((p >> 16) & 0xff, 32)) << 16) |
         (static_cast<QRgb>(ch((p >> 8) & 0xff, 96)) << 8) | static_cast<QRgb>(ch(p & 0xff, 96));
}

// Blends src with its top-left corner at (x, y), clipped to dst.
void BlendImage(QImage& dst, const QImage& src, int x, int y);
// Replaces dst's pixels with src's (no blending), clipped to dst.
void CopyImage(QImage& dst, const QImage& src, int x, int y);
// Copies whole rows of src into dst (same size): the fast path for background restores.
void CopyWhole(QImage& dst, const QImage& src);
void FillImage(QImage& dst, QRgb pixel);
void TintImage(QImage& dst);
// Blends colour (alpha ignored) at the given alpha over rows [y0, y1) of column x.
void BlendColumn(QImage& dst, int x, int y0, int y1, QRgb colour, int alpha);
// Writes colour with alpha byte 0 into rows [y0, y1] of column x (inclusive).
void PaintColumn(QImage& dst, int x, int y0, int y1, QRgb colour);
// Blends a one-channel coverage mask (Format_Alpha8) in the given colour at (x, y),
// clipped to dst and to clip: used for text, so antialiased edges follow the blend rule.
void BlendMask(QImage& dst, const QImage& mask, int x, int y, QRgb colour, const QRect& clip);

// The screen ignores alpha: writes src into out (resized when needed) with alpha forced
// to 255, ready for one QPainter::drawImage.
void PresentOpaque(const QImage& src, QImage& out);

}  // namespace tavelo::ui
