#pragma once
// Text for the graph in a Courier-New-like monospace face, drawn into 32-bit images with
// the blend rule (antialiased edges blended, destination alpha kept). Glyph coverage
// masks are rendered once per character, so a readout costs a few small blends.
#include <QImage>
#include <QRect>
#include <QString>
#include <array>

namespace tavelo::ui {

class MonoText {
 public:
  // pixelHeight: the font's pixel size (16 for the axis labels, 14 for the readout).
  explicit MonoText(int pixelHeight);

  // Draws text with its top-left corner at (x, y), clipped to clip and to dst.
  void Draw(QImage& dst, int x, int y, const QString& text, QRgb colour, const QRect& clip) const;
  void Draw(QImage& dst, int x, int y, const QString& text, QRgb colour) const;
  int Advance() const { return advance_; }
  int Height() const { return height_; }

 private:
  static constexpr int kFirst = 32, kLast = 126;
  int advance_ = 0;
  int height_ = 0;
  std::array<QImage, kLast - kFirst + 1> glyphs_;  // Format_Alpha8, advance_ x height_
};

}  // namespace tavelo::ui
