#include "ui/skin/SkinImage.h"

namespace tavelo::ui {

SkinImage::SkinImage(const QImage& image)
    : image_(image.format() == QImage::Format_ARGB32
                 ? image
                 : image.convertToFormat(QImage::Format_ARGB32)) {}

SkinImage SkinImage::Filled(int width, int height, QRgb pixel) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(pixel);
  return SkinImage(image);
}

}  // namespace tavelo::ui
