#include "ui/controls/SkinButton.h"

#include <QPainter>
#include <QResizeEvent>
#include <algorithm>

#include "ui/skin/Blend.h"

namespace tavelo::ui {
namespace {

// Colours carry no alpha: a filled area is opaque where it is the destination and lets the
// background through where it is blended.
QRgb Colour(QColor c) {
  return c.rgb() & 0x00ffffffu;
}

Qt::Alignment TextAlignment(int align) {
  switch (align) {
    case kAlignLeft:
      return Qt::AlignLeft | Qt::AlignVCenter;
    case kAlignRight:
      return Qt::AlignRight | Qt::AlignVCenter;
    default:
      return Qt::AlignHCenter | Qt::AlignVCenter;
  }
}

}  // namespace

SkinButton::SkinButton(QWidget* parent) : QPushButton(parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

SkinButton::SkinButton(const QString& text, QWidget* parent) : QPushButton(text, parent) {
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void SkinButton::SetImages(int style, QColor background, const ButtonImages& images,
                           QColor plainFill, QColor stateFill) {
  kind_ = ButtonKindOf(style);
  align_ = ButtonAlignOf(style);
  images_ = images;
  backgroundColour_ = background;
  plainFill_ = plainFill;
  stateFill_ = stateFill;
  imagesSet_ = true;
  Build(devicePixelRatioF());
}

void SkinButton::SetImages(const ButtonImages& images) {
  SetImages(kStyleTwoStateCentred, Qt::white, images, Qt::white, Qt::white);
}

void SkinButton::Build(qreal ratio) {
  const QSize client = DeviceSize(size().expandedTo(QSize(1, 1)), ratio);
  background_ = QImage(client, QImage::Format_ARGB32);
  if (!images_.background.IsNull()) {
    background_.fill(Colour(backgroundColour_));
    BlendImage(background_, images_.background.At(ratio), 0, 0);
  } else {
    background_.fill(Colour(plainFill_));
  }
  for (int i = 0; i < 4; ++i) {
    states_[i] = QImage(client, QImage::Format_ARGB32);
    states_[i].fill(Colour(stateFill_));
    if (i < static_cast<int>(images_.states.size()) && !images_.states[i].IsNull()) {
      CopyImage(states_[i], images_.states[i].At(ratio), 0, 0);
    }
  }
  builtSize_ = size();
  builtRatio_ = ratio;
  update();
}

void SkinButton::SetLit(bool lit) {
  lit_ = lit;
  update();
}

void SkinButton::SetTextOffset(int pixels) {
  textOffset_ = pixels;
  update();
}

const QImage& SkinButton::Compose(qreal ratio) {
  if (!imagesSet_ || builtSize_ != size() || !qFuzzyCompare(builtRatio_, ratio)) {
    if (!imagesSet_) {
      plainFill_ = stateFill_ = QColor(230, 230, 230);
      imagesSet_ = true;
    }
    Build(ratio);
  }
  if (surface_.size() != background_.size()) {
    surface_ = QImage(background_.size(), QImage::Format_ARGB32);
  }
  CopyWhole(surface_, background_);
  BlendImage(surface_, states_[ButtonStateIndex(kind_, isDown(), lit_)], 0, 0);
  if (!isEnabled()) TintImage(surface_);  // greyed out like the sliders
  PresentOpaque(surface_, screen_);
  screen_.setDevicePixelRatio(ratio);  // the caption is drawn in logical coordinates
  if (!text().isEmpty()) {
    QPainter painter(&screen_);
    painter.setFont(font());
    painter.setPen(ButtonTextColour(isEnabled(), lit_));
    const QRect box(textOffset_, 0, std::max(width() - textOffset_, 0), height());
    painter.drawText(box, TextAlignment(align_) | Qt::TextSingleLine, text());
  }
  return screen_;
}

void SkinButton::paintEvent(QPaintEvent*) {
  const QImage& face = Compose(devicePixelRatioF());
  QPainter painter(this);
  painter.drawImage(0, 0, face);
}

void SkinButton::resizeEvent(QResizeEvent* event) {
  QPushButton::resizeEvent(event);
  if (imagesSet_) Build(builtRatio_);
}

}  // namespace tavelo::ui
