#pragma once
// The program's own artwork, drawn at start-up: slider tracks and thumbs, button faces,
// combo-box arrows, graph markers and the bypass stamp. Everything is generated here;
// no picture is loaded from disk. Sizes are logical; every picture is drawn for `ratio`
// (by default the screens' device pixel ratio), so it is sharp on a hi-dpi screen.
#include <QColor>
#include <QString>
#include <vector>

#include "ui/skin/SkinImage.h"

namespace tavelo::ui {

// Sizes the pages use.
inline constexpr int kEqTrackWidth = 36, kEqTrackHeight = 122, kEqThumbHeight = 29;
inline constexpr int kLevelTrackHeight = 24, kLevelThumbWidth = 27;
inline constexpr int kMarkerSize = 30;
inline constexpr int kStampWidth = 310, kStampHeight = 43;
inline constexpr int kArrowSize = 16;

// Vertical slider pictures: a track width x height with a centred groove and tick marks,
// and a thumb width x thumbHeight (the focused one lit).
SkinImage VerticalTrack(int width, int height, qreal ratio = ArtRatio());
SkinImage VerticalThumb(int width, int thumbHeight, bool focused, qreal ratio = ArtRatio());
// Horizontal slider pictures: track and fill width x height, thumb thumbWidth x height.
SkinImage HorizontalTrack(int width, int height, qreal ratio = ArtRatio());
SkinImage HorizontalFill(int width, int height, qreal ratio = ArtRatio());
SkinImage HorizontalThumb(int thumbWidth, int height, bool focused, qreal ratio = ArtRatio());

// Four button faces in SkinButton order: normal, pressed, lit, lit and pressed.
enum class ButtonLook { kGrey, kNavigation, kBypass, kType };
std::vector<SkinImage> ButtonFaces(int width, int height, ButtonLook look,
                                   qreal ratio = ArtRatio());

// Drop-down arrows, 16 x 16.
SkinImage ComboArrow(bool pressed, qreal ratio = ArtRatio());

// Graph markers, 30 x 30: a target with cross hairs and the number; the selected one adds
// corner brackets. `number` is what is written (pages show band index + 1).
SkinImage MarkerImage(int number, bool selected, qreal ratio = ArtRatio());
// A marker set of `count` slots numbered 1..count (slot k shows k + 1).
std::vector<SkinImage> MarkerSet(int count, bool selected, qreal ratio = ArtRatio());
// The 310 x 43 "EQ IS BYPASS" stamp.
SkinImage BypassStamp(qreal ratio = ArtRatio());

}  // namespace tavelo::ui
