#pragma once
// Framed groups of the pages: one large frame picture, drawn at any size in four pieces
// (its top-left region, its right edge strip, its bottom edge strip and its bottom-right
// corner), so one picture serves every frame without stretching its corners.
#include <QRect>
#include <array>

#include "ui/skin/SkinImage.h"

namespace tavelo::ui {

inline constexpr int kFrameEdge = 8;  // width of the right and bottom edge pieces

// The frame picture: a rounded border with a light face, large enough for any page group,
// drawn for `ratio` (its logical size stays 640 x 400).
SkinImage GroupFrameImage(qreal ratio = ArtRatio());

struct FramePiece {
  QRect source;  // in the picture, logical (times its ratio for its pixels)
  QRect target;  // on the page
};
// A piece's source in the pixels of a picture drawn for `ratio`.
QRectF PixelSource(const FramePiece& piece, qreal ratio);
// The four pieces that draw `picture` (its size) at `frame`: the picture's top-left
// (w - 8) x (h - 8) region at the frame's top-left, its rightmost 8-pixel strip along
// the right edge, its bottom 8-pixel strip along the bottom, its 8 x 8 corner at the
// bottom-right. A frame larger than the picture is drawn at the picture's size.
std::array<FramePiece, 4> FramePieces(QSize picture, QRect frame);

}  // namespace tavelo::ui
