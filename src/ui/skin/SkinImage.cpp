#include "ui/skin/SkinImage.h"

#include <QGuiApplication>
#include <cmath>

namespace tavelo::ui {

QSize DeviceSize(QSize logical, qreal ratio) {
  return {static_cast<int>(std::ceil(logical.width() * ratio - 1e-6)),
          static_cast<int>(std::ceil(logical.height() * ratio - 1e-6))};
}

QSize LogicalSize(const QImage& image) {
  const qreal ratio = image.devicePixelRatio();
  return {static_cast<int>(std::floor(image.width() / ratio + 1e-6)),
          static_cast<int>(std::floor(image.height() / ratio + 1e-6))};
}

qreal ArtRatio() {
  return qGuiApp ? qGuiApp->devicePixelRatio() : 1.0;
}

SkinImage::SkinImage(const QImage& image)
    : image_(image.format() == QImage::Format_ARGB32
                 ? image
                 : image.convertToFormat(QImage::Format_ARGB32)) {}

SkinImage SkinImage::Filled(int width, int height, QRgb pixel) {
  QImage image(width, height, QImage::Format_ARGB32);
  image.fill(pixel);
  return SkinImage(image);
}

int SkinImage::Width() const {
  return LogicalSize(image_).width();
}

int SkinImage::Height() const {
  return LogicalSize(image_).height();
}

QImage SkinImage::At(qreal ratio) const {
  if (image_.isNull() || qFuzzyCompare(image_.devicePixelRatio(), ratio)) return image_;
  QImage scaled =
      image_.scaled(DeviceSize(Size(), ratio), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  if (scaled.format() != QImage::Format_ARGB32)
    scaled = scaled.convertToFormat(QImage::Format_ARGB32);
  scaled.setDevicePixelRatio(ratio);
  return scaled;
}

}  // namespace tavelo::ui
