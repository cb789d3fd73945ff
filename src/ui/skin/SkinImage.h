#pragma once
// A 32-bit picture as every skinned control and graph holds it: width, height and
// 0xAARRGGBB pixels, rows top to bottom (QImage::Format_ARGB32). The alpha byte only
// matters when the picture is blended over another one; on screen it is ignored.
// A picture may be drawn for a hi-dpi screen: it then holds ratio x its logical size in
// pixels, and Width() / Height() stay logical (what layouts and positions use).
#include <QImage>

namespace tavelo::ui {

// The pixels that cover a logical size at a device pixel ratio (rounded up, so nothing
// is left unpainted at 1.5x).
QSize DeviceSize(QSize logical, qreal ratio);
// The logical size of a picture drawn for its ratio: the inverse of DeviceSize (rounded
// down, so the extra pixel DeviceSize may add at 1.25x or 1.5x is no extra point).
QSize LogicalSize(const QImage& image);
// The ratio pictures are drawn for: the highest of the screens' (QT_SCALE_FACTOR
// included); 1 without a GUI application.
qreal ArtRatio();

class SkinImage {
 public:
  SkinImage() = default;
  // Takes any QImage and keeps it as Format_ARGB32 (non-premultiplied), with its ratio.
  explicit SkinImage(const QImage& image);
  // A width x height picture filled with one pixel value.
  static SkinImage Filled(int width, int height, QRgb pixel);

  bool IsNull() const { return image_.isNull(); }
  int Width() const;
  int Height() const;
  QSize Size() const { return {Width(), Height()}; }
  qreal Ratio() const { return image_.devicePixelRatio(); }
  QRgb Pixel(int x, int y) const { return image_.pixel(x, y); }
  const QImage& Image() const { return image_; }
  QImage& Image() { return image_; }
  // The picture for a screen of `ratio`: itself when drawn for it, else resampled with
  // smoothing from its own pixels (never a blocky pixel repeat).
  QImage At(qreal ratio) const;

 private:
  QImage image_;
};

}  // namespace tavelo::ui
