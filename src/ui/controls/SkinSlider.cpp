#include "ui/controls/SkinSlider.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "ui/skin/Blend.h"

namespace tavelo::ui {
namespace {

constexpr QRgb kWhite = 0xffffffff;
constexpr QRgb kNoTrack = 0x00ff0000;       // pure red, alpha 0
constexpr QRgb kNoFocusThumb = 0xff00ff00;  // opaque pure green

// A copy of image cut to at most size (the control's client area).
QImage ClippedCopy(const QImage& image, QSize size) {
  return image.copy(0, 0, std::min(image.width(), size.width()),
                    std::min(image.height(), size.height()));
}

}  // namespace

SkinSlider::SkinSlider(QWidget* parent, int id) : QWidget(parent), id_(id) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinSlider::SetTrackImages(const SkinImage& track, const SkinImage& thumb,
                                const SkinImage& focusedThumb) {
  SetUp(track, nullptr, thumb, focusedThumb);
}

void SkinSlider::SetTrackImagesWithFill(const SkinImage& track, const SkinImage& fill,
                                        const SkinImage& thumb, const SkinImage& focusedThumb) {
  model_.SetVertical(false);
  SetUp(track, &fill, thumb, focusedThumb);
}

void SkinSlider::SetUp(const SkinImage& track, const SkinImage* fill, const SkinImage& thumb,
                       const SkinImage& focusedThumb) {
  track_ = track;
  hasFill_ = fill != nullptr;
  fillArt_ = hasFill_ ? *fill : SkinImage();
  thumbArt_ = thumb;
  focusedArt_ = focusedThumb;
  const QSize client = size();
  const bool vertical = model_.Vertical();
  const QSize thumbSize = thumb.IsNull() ? QSize() : thumb.Size().boundedTo(client);
  model_.SetLengths(vertical ? client.height() : client.width(),
                    vertical ? thumbSize.height() : thumbSize.width());
  Build(devicePixelRatioF());
  update();
}

void SkinSlider::Build(qreal ratio) {
  const QSize client = DeviceSize(size(), ratio);
  background_ = QImage(client, QImage::Format_ARGB32);
  if (track_.IsNull()) {
    background_.fill(kNoTrack);
  } else {
    background_.fill(kWhite);
    BlendImage(background_, track_.At(ratio), 0, 0);
  }
  fill_ = QImage();
  if (hasFill_) {
    fill_ = QImage(client, QImage::Format_ARGB32);
    fill_.fill(kWhite);
    if (!fillArt_.IsNull()) BlendImage(fill_, fillArt_.At(ratio), 0, 0);
  }
  thumb_ = thumbArt_.IsNull() ? QImage() : ClippedCopy(thumbArt_.At(ratio), client);
  if (!focusedArt_.IsNull()) {
    focusedThumb_ = ClippedCopy(focusedArt_.At(ratio), client);
  } else {
    focusedThumb_ = QImage(thumb_.isNull() ? QSize(1, 1) : thumb_.size(), QImage::Format_ARGB32);
    focusedThumb_.fill(kNoFocusThumb);
  }
  builtSize_ = size();
  builtRatio_ = ratio;
}

void SkinSlider::SetRange(int min, int max, bool logarithmic) {
  model_.SetRange(min, max, logarithmic);
  update();
}

void SkinSlider::SetPos(int value) {
  if (model_.SetValue(value)) update();
}

void SkinSlider::SetHighlight(bool on) {
  focused_ = on;
  repaint();
}

const QImage& SkinSlider::Compose(qreal ratio) {
  if (background_.isNull() || builtSize_ != size() || !qFuzzyCompare(builtRatio_, ratio)) {
    if (builtSize_.isValid()) {
      Build(ratio);
    } else {  // never set up: a plain white face
      background_ =
          QImage(DeviceSize(size().expandedTo(QSize(1, 1)), ratio), QImage::Format_ARGB32);
      background_.fill(kWhite);
      builtRatio_ = ratio;
    }
  }
  if (surface_.size() != background_.size()) {
    surface_ = QImage(background_.size(), QImage::Format_ARGB32);
  }
  CopyWhole(surface_, background_);
  // Positions are logical; the pictures are in the screen's pixels.
  const int pos = model_.ThumbPos();
  const auto pixels = [ratio](int logical) { return qRound(logical * ratio); };
  if (hasFill_ && fill_.width() == surface_.width() && pos > 0) {
    const int last = std::min(pixels(pos + 1), surface_.width());
    CopyImage(surface_, fill_.copy(0, 0, last, fill_.height()), 0, 0);
  }
  const QImage& thumb = focused_ && !focusedThumb_.isNull() ? focusedThumb_ : thumb_;
  if (!thumb.isNull()) {
    if (model_.Vertical()) {
      BlendImage(surface_, thumb, 0, pixels(pos));
    } else {
      BlendImage(surface_, thumb, pixels(pos), 0);
    }
  }
  if (!isEnabled()) TintImage(surface_);
  surface_.setDevicePixelRatio(ratio);
  return surface_;
}

void SkinSlider::paintEvent(QPaintEvent*) {
  PresentOpaque(Compose(devicePixelRatioF()), screen_);
  screen_.setDevicePixelRatio(surface_.devicePixelRatio());
  QPainter painter(this);
  painter.drawImage(0, 0, screen_);
}

int SkinSlider::Coord(const QPointF& p) const {
  return static_cast<int>(model_.Vertical() ? p.y() : p.x());
}

void SkinSlider::Apply(const SliderChange& change) {
  if (change.redraw) update();
  if (change.notify) emit Moved(id_, change.value);
}

void SkinSlider::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return QWidget::mousePressEvent(event);
  Apply(model_.Press(Coord(event->position())));
}

void SkinSlider::mouseMoveEvent(QMouseEvent* event) {
  const SliderChange change = model_.Move(Coord(event->position()));
  // A dragged thumb is drawn at once, not at the next paint.
  if (change.redraw) repaint();
  if (change.notify) emit Moved(id_, change.value);
}

void SkinSlider::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && model_.Release()) update();
}

void SkinSlider::wheelEvent(QWheelEvent* event) {
  const QPoint delta = event->angleDelta();
  Apply(model_.Wheel(delta.y() != 0 ? delta.y() : delta.x()));
  event->accept();
}

void SkinSlider::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Up:
      return Apply(model_.Key(SliderKey::kUp));
    case Qt::Key_Down:
      return Apply(model_.Key(SliderKey::kDown));
    case Qt::Key_Left:
      return Apply(model_.Key(SliderKey::kLeft));
    case Qt::Key_Right:
      return Apply(model_.Key(SliderKey::kRight));
    default:
      QWidget::keyPressEvent(event);
  }
}

bool SkinSlider::event(QEvent* event) {
  // Arrow keys belong to the slider: never a shortcut or a focus move of the dialog.
  if (event->type() == QEvent::ShortcutOverride) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_Left || key == Qt::Key_Right) {
      event->accept();
      return true;
    }
  }
  return QWidget::event(event);
}

void SkinSlider::focusInEvent(QFocusEvent* event) {
  if (showFocus_) {
    focused_ = true;
    update();
  }
  QWidget::focusInEvent(event);
}

void SkinSlider::focusOutEvent(QFocusEvent* event) {
  if (showFocus_) {
    focused_ = false;
    update();
  }
  QWidget::focusOutEvent(event);
}

}  // namespace tavelo::ui
