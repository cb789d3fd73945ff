#pragma once
// A 32-bit picture as every skinned control and graph holds it: width, height and
// 0xAARRGGBB pixels, rows top to bottom (QImage::Format_ARGB32). The alpha byte only
// matters when the picture is blended over another one; on screen it is ignored.
#include <QImage>

namespace tavelo::ui {

class SkinImage {
 public:
  SkinImage() = default;
  // Takes any QImage and keeps it as Format_ARGB32 (non-premultiplied).
  explicit SkinImage(const QImage& image);
  // A width x height picture filled with one pixel value.
  static SkinImage Filled(int width, int height, QRgb pixel);

  bool IsNull() const { return image_.isNull(); }
  int Width() const { return image_.width(); }
  int Height() const { return image_.height(); }
  QRgb Pixel(int x, int y) const { return image_.pixel(x, y); }
  const QImage& Image() const { return image_; }
  QImage& Image() { return image_; }

 private:
  QImage image_;
};

}  // namespace tavelo::ui
