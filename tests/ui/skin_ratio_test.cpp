// Pictures for fractional screen scales (125 %, 150 %): sizes that survive the round trip
// between points and pixels, art resampled for another screen, and a graph frame drawn at
// 1.5x whose markers, curve and frame pieces land where the points say.
#include <gtest/gtest.h>

#include "support/qt_app.h"
#include "ui/controls/SkinSlider.h"
#include "ui/graph/EqGraph.h"
#include "ui/graph/GraphLayout.h"
#include "ui/graph/GraphWidget.h"
#include "ui/skin/GroupFrame.h"

namespace tavelo::ui {
namespace {

constexpr double kRatios[] = {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0};

// Opaque pictures blended on a face keep 1/256 of what lay below: compare by hue.
bool Red(QRgb p) {
  return qRed(p) > 240 && qGreen(p) < 16 && qBlue(p) < 16;
}
bool Blue(QRgb p) {
  return qBlue(p) > 240 && qRed(p) < 16 && qGreen(p) < 16;
}
bool Dark(QRgb p) {
  return qRed(p) < 16 && qGreen(p) < 16 && qBlue(p) < 16;
}

TEST(SkinRatio, LogicalSizesSurviveTheTripThroughPixels) {
  for (const double ratio : kRatios) {
    for (int w = 1; w <= 1200; ++w) {
      const QSize logical(w, 1 + w % 7);
      const QSize pixels = DeviceSize(logical, ratio);
      ASSERT_GE(pixels.width(), w * ratio - 1e-9) << "every point covered";
      QImage image(pixels, QImage::Format_ARGB32);
      image.setDevicePixelRatio(ratio);
      ASSERT_EQ(LogicalSize(image), logical) << w << " at " << ratio;
      ASSERT_EQ(SkinImage(image).Width(), w) << w << " at " << ratio;
    }
  }
  // A graph drawn at 125 % keeps its widget at the page's width (not one point wider).
  test::QtApp();
  QImage frame(DeviceSize(QSize(281, 280), 1.25), QImage::Format_ARGB32);
  frame.setDevicePixelRatio(1.25);
  GraphWidget widget;
  widget.SetFrame(&frame);
  EXPECT_EQ(widget.size(), QSize(281, 280));
}

TEST(SkinRatio, PictureForAnotherScreenIsResampledToItsPixels) {
  const SkinImage solid = SkinImage::Filled(21, 21, 0xff336699);
  const QImage same = solid.At(1.0);
  EXPECT_EQ(same.cacheKey(), solid.Image().cacheKey()) << "no copy at its own ratio";
  const SkinImage bigger(solid.At(1.5));
  EXPECT_EQ(bigger.Image().size(), QSize(32, 32));
  EXPECT_EQ(bigger.Size(), QSize(21, 21));
  EXPECT_DOUBLE_EQ(bigger.Ratio(), 1.5);
  EXPECT_EQ(bigger.Image().format(), QImage::Format_ARGB32);
  EXPECT_EQ(bigger.Pixel(16, 16), 0xff336699u);
}

TEST(SkinRatio, FramePiecesTakeTheirPixelsFromTheWholePicture) {
  test::QtApp();
  const SkinImage picture = GroupFrameImage(1.5);
  ASSERT_EQ(picture.Size(), QSize(640, 400));
  const auto pieces = FramePieces(picture.Size(), QRect(10, 20, 300, 200));
  // The right strip and the corner end at the picture's last pixel column and row.
  const QRectF corner = PixelSource(pieces[3], picture.Ratio());
  EXPECT_DOUBLE_EQ(corner.right(), picture.Image().width());
  EXPECT_DOUBLE_EQ(corner.bottom(), picture.Image().height());
  EXPECT_DOUBLE_EQ(corner.width(), kFrameEdge * 1.5);
  EXPECT_DOUBLE_EQ(PixelSource(pieces[0], 1.5).width(), (300 - kFrameEdge) * 1.5);
}

class GraphAtOneAndAHalf : public ::testing::Test {
 protected:
  void SetUp() override { test::QtApp(); }
  static EqBand Peak(int freq, int gain) {
    EqBand b;
    b.type = kBandPeak;
    b.freq = static_cast<std::int16_t>(freq);
    b.gain = static_cast<std::int16_t>(gain);
    b.q = 10;
    return b;
  }

  static constexpr double kRatio = 1.5;
  GraphGeometry geometry = GraphGeometry::ForWidth(1170);
  EqGraph view;
};

TEST_F(GraphAtOneAndAHalf, MarkersAreEnlargedAndCentredOnTheBandsPoint) {
  // Markers made for 1x are resampled once for the frame's ratio: 45 pixels, 30 points.
  view.Init(geometry, {SkinImage::Filled(30, 30, 0xffff0000), SkinImage()},
            {SkinImage::Filled(30, 30, 0xff00ff00)}, 2, kRatio);
  view.SetReadoutEnabled(false);
  const EqBand band = Peak(1000, 60);
  view.Render(&band, 1);
  const QPoint at = view.BandPoint(&band, 0) * kRatio;
  EXPECT_EQ(view.Frame().size(), DeviceSize(QSize(1170, 280), kRatio));
  for (const QPoint d : {QPoint(0, 0), QPoint(-21, -21), QPoint(20, 20), QPoint(-21, 20)}) {
    EXPECT_TRUE(Red(view.Frame().pixel(at + d))) << d.x() << "," << d.y();
  }
  EXPECT_FALSE(Red(view.Frame().pixel(at + QPoint(-25, 0))));
  EXPECT_FALSE(Red(view.Frame().pixel(at + QPoint(25, 0))));
}

TEST_F(GraphAtOneAndAHalf, CurveHasNoGapsBetweenTheKnownColumns) {
  view.Init(geometry, {}, {}, 0, kRatio);
  view.SetReadoutEnabled(false);
  const EqBand bands[2] = {Peak(80, 200), Peak(6000, -180)};
  view.Render(bands, 2);
  const QImage& frame = view.Frame();
  // A steep curve is joined column to column: every pixel column of the plot holds some
  // of it, and it runs continuously (each column touches the rows of the one before).
  int prevTop = -1, prevBottom = -1;
  for (int x = qRound(geometry.xStart * kRatio) + 1; x < frame.width() - 1; ++x) {
    int top = -1, bottom = -1;
    for (int y = 0; y < frame.height(); ++y) {
      if ((frame.pixel(x, y) & 0xffffff) != kDefaultCurveColour) continue;
      if (top < 0) top = y;
      bottom = y;
    }
    ASSERT_GE(top, 0) << "column " << x;
    if (prevTop >= 0) {
      EXPECT_LE(top, prevBottom + 1) << "column " << x;
      EXPECT_GE(bottom, prevTop - 1) << "column " << x;
    }
    prevTop = top;
    prevBottom = bottom;
  }
}

TEST(SkinRatioSlider, ThumbAndFillFollowTheValueInPoints) {
  test::QtApp();
  QWidget page;
  auto* slider = new SkinSlider(&page, 1);
  slider->resize(200, 24);
  slider->SetTrackImagesWithFill(SkinImage::Filled(200, 24, 0xff000000),
                                 SkinImage::Filled(200, 24, 0xff0000ff),
                                 SkinImage::Filled(20, 24, 0xffff0000));
  slider->SetRange(0, 180);
  slider->SetPos(90);
  const QImage& face = slider->Compose(1.5);
  EXPECT_EQ(face.size(), QSize(300, 36));
  EXPECT_DOUBLE_EQ(face.devicePixelRatio(), 1.5);
  const int left = qRound(slider->Model().ThumbPos() * 1.5);
  ASSERT_GT(left, 10);
  EXPECT_TRUE(Blue(face.pixel(left - 1, 18))) << "fill up to the thumb";
  EXPECT_TRUE(Red(face.pixel(left, 18)));
  EXPECT_TRUE(Red(face.pixel(left + 29, 18)));  // 20 points = 30 pixels
  EXPECT_TRUE(Dark(face.pixel(left + 30, 18)));
}

}  // namespace
}  // namespace tavelo::ui
