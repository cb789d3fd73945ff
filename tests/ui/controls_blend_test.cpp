// The pixel rules every skinned control and the graph compose with.
#include <gtest/gtest.h>

#include "support/qt_app.h"
#include "ui/skin/Blend.h"
#include "ui/skin/SkinArt.h"

namespace tavelo::ui {
namespace {

TEST(BlendRule, ChannelsFollowTheRoundedIntegerFormulaAndKeepDestinationAlpha) {
  // alpha 0 leaves the destination exactly as it was, colour and alpha.
  EXPECT_EQ(BlendPixel(0x00ffffff, 0x12345678), 0x12345678u);
  // alpha 255 is not a copy: white over black gives (255*255 + 128) / 256 = 254.
  EXPECT_EQ(BlendPixel(0xffffffff, 0x00000000), 0x00fefefeu);
  // Half-way: (200*128 + 100*128 + 128) / 256 = 150 per channel; destination alpha kept.
  EXPECT_EQ(BlendPixel(0x80c8c8c8, 0x7f646464), 0x7f969696u);
  // Channels do not leak into each other.
  EXPECT_EQ(BlendPixel(0x30008080, 0x00000000), 0x00001818u);
}

TEST(BlendRule, DisabledTintMovesAQuarterTowardsDarkTeal) {
  EXPECT_EQ(TintPixel(0xffffffff), 0xffc7d7d7u);  // 199, 215, 215
  EXPECT_EQ(TintPixel(0x00000000), 0x00081818u);  // 8, 24, 24
  EXPECT_EQ(TintPixel(0x80204060), (0x80u << 24) | (32u << 16) | (72u << 8) | 96u);
}

TEST(BlendImages, ClipsAtEveryEdgeAndCopiesWhole) {
  QImage dst(10, 8, QImage::Format_ARGB32);
  dst.fill(0x11000000);
  QImage src(4, 4, QImage::Format_ARGB32);
  src.fill(0xff0000ff);
  BlendImage(dst, src, -2, -2);  // only its 2x2 bottom-right lands
  BlendImage(dst, src, 8, 6);    // only its 2x2 top-left lands
  BlendImage(dst, src, 20, 20);  // nowhere
  const QRgb blue = 0x110000fe;
  int touched = 0;
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 10; ++x) touched += dst.pixel(x, y) == blue;
  }
  EXPECT_EQ(touched, 8);
  EXPECT_EQ(dst.pixel(1, 1), blue);
  EXPECT_EQ(dst.pixel(2, 2), 0x11000000u);
  EXPECT_EQ(dst.pixel(9, 7), blue);

  CopyImage(dst, src, 3, 3);  // a copy replaces alpha too
  EXPECT_EQ(dst.pixel(3, 3), 0xff0000ffu);
  EXPECT_EQ(dst.pixel(6, 6), 0xff0000ffu);
  EXPECT_EQ(dst.pixel(7, 7), 0x11000000u);
}

TEST(BlendImages, ColumnsAreHalfOpenForAreasAndInclusiveForLines) {
  QImage dst(3, 10, QImage::Format_ARGB32);
  dst.fill(0);
  BlendColumn(dst, 1, 2, 5, 0xffffff, 0x30);  // rows 2, 3, 4
  PaintColumn(dst, 2, 2, 5, 0x123456);        // rows 2..5
  for (int y = 0; y < 10; ++y) {
    EXPECT_EQ(dst.pixel(1, y), y >= 2 && y < 5 ? 0x00303030u : 0u) << y;
    EXPECT_EQ(dst.pixel(2, y), y >= 2 && y <= 5 ? 0x00123456u : 0u) << y;
  }
  BlendColumn(dst, 5, 0, 10, 0xffffff, 0x30);  // outside: ignored
  PaintColumn(dst, -1, 0, 10, 0xffffff);
  EXPECT_EQ(dst.pixel(0, 0), 0u);
}

TEST(BlendImages, ScreenCopyIgnoresAlpha) {
  QImage src(2, 1, QImage::Format_ARGB32);
  src.setPixel(0, 0, 0x00ff0000);
  src.setPixel(1, 0, 0x80102030);
  QImage out;
  PresentOpaque(src, out);
  EXPECT_EQ(out.pixel(0, 0), 0xffff0000u);
  EXPECT_EQ(out.pixel(1, 0), 0xff102030u);
}

TEST(SkinArt, PicturesHaveTheSizesThePagesLayOut) {
  test::QtApp();  // text in the pictures needs the font database
  EXPECT_EQ(MarkerImage(3, false).Width(), 30);
  EXPECT_EQ(MarkerImage(12, true).Height(), 30);
  EXPECT_EQ(BypassStamp().Width(), 310);
  EXPECT_EQ(BypassStamp().Height(), 43);
  EXPECT_EQ(ComboArrow(true).Width(), 16);
  EXPECT_EQ(VerticalThumb(36, 29, false).Height(), 29);
  EXPECT_EQ(ButtonFaces(60, 24, ButtonLook::kType).size(), 4u);
  // Markers are see-through at the corners (the curve shows around them) and the selected
  // one differs from the plain one.
  const SkinImage plain = MarkerImage(1, false), chosen = MarkerImage(1, true);
  EXPECT_EQ(qAlpha(plain.Pixel(0, 0)), 0);
  EXPECT_NE(plain.Image(), chosen.Image());
  EXPECT_EQ(plain.Image().format(), QImage::Format_ARGB32);
}

}  // namespace
}  // namespace tavelo::ui
