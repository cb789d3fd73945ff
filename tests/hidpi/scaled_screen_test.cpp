// On a screen at 200 %: the skinned controls and the graph hold their pictures in the
// screen's pixels and put them on it one to one, so lines and text are drawn at twice the
// detail instead of a 1x picture being stretched. This program's application runs with
// QT_SCALE_FACTOR=2, so every widget in it has a device pixel ratio of 2.
#include <gtest/gtest.h>

#include <QPixmap>

#include "support/qt_app.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinSlider.h"
#include "ui/graph/EqGraph.h"
#include "ui/graph/GraphLayout.h"
#include "ui/graph/GraphWidget.h"
#include "ui/skin/Blend.h"
#include "ui/skin/SkinArt.h"

namespace tavelo::ui {
namespace {

constexpr int kWidth = 1170;

QApplication& ScaledApp() {
  static const bool scaled = qputenv("QT_SCALE_FACTOR", "2");
  EXPECT_TRUE(scaled);
  return test::QtApp();
}

// What the screen shows of a widget: its grab, opaque, in the screen's pixels.
QImage Shown(QWidget& widget) {
  const QPixmap grabbed = widget.grab();
  EXPECT_DOUBLE_EQ(grabbed.devicePixelRatio(), 2.0);
  return grabbed.toImage().convertToFormat(QImage::Format_RGB32);
}

QImage Opaque(const QImage& face) {
  QImage out;
  PresentOpaque(face, out);
  return out;
}

// Bounding box of the pixels where two pictures of the same size differ.
QRect Difference(const QImage& a, const QImage& b) {
  QRect box;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) box |= QRect(x, y, 1, 1);
  return box;
}

class ScaledScreen : public ::testing::Test {
 protected:
  void SetUp() override { ScaledApp(); }
};

TEST_F(ScaledScreen, ArtIsDrawnForTheScreenNotEnlargedFromOnePixelPerPoint) {
  ASSERT_DOUBLE_EQ(ArtRatio(), 2.0);
  const SkinImage marker = MarkerImage(7, true);
  EXPECT_DOUBLE_EQ(marker.Ratio(), 2.0);
  EXPECT_EQ(marker.Size(), QSize(kMarkerSize, kMarkerSize));
  EXPECT_EQ(marker.Image().size(), QSize(2 * kMarkerSize, 2 * kMarkerSize));
  // Drawn, not resampled: the 2x picture differs from the 1x one enlarged with smoothing.
  const QImage enlarged = MarkerImage(7, true, 1.0).At(2.0);
  EXPECT_EQ(enlarged.size(), marker.Image().size());
  EXPECT_NE(enlarged, marker.Image());
  for (const SkinImage& face : ButtonFaces(60, 24, ButtonLook::kNavigation)) {
    EXPECT_DOUBLE_EQ(face.Ratio(), 2.0);
    EXPECT_EQ(face.Size(), QSize(60, 24));
  }
}

TEST_F(ScaledScreen, SliderFaceIsComposedInTheScreensPixelsAndShownOneToOne) {
  QWidget page;
  auto* slider = new SkinSlider(&page, 1);
  slider->resize(36, 200);
  ASSERT_DOUBLE_EQ(slider->devicePixelRatioF(), 2.0);
  slider->SetTrackImages(VerticalTrack(36, 200), VerticalThumb(36, 29, false),
                         VerticalThumb(36, 29, true));
  slider->SetRange(0, 480);
  slider->SetPos(120);
  const QImage face = slider->Compose(slider->devicePixelRatioF()).copy();
  EXPECT_DOUBLE_EQ(face.devicePixelRatio(), 2.0);
  EXPECT_EQ(face.size(), QSize(72, 400));
  EXPECT_EQ(Shown(*slider), Opaque(face));
  // The thumb stands at its logical position in points: twice as many pixels down.
  auto* bare = new SkinSlider(&page, 2);
  bare->resize(36, 200);
  bare->SetTrackImages(VerticalTrack(36, 200), SkinImage());
  const QRect thumb = Difference(face, bare->Compose(2.0));
  const int top = 2 * slider->Model().ThumbPos();
  ASSERT_GT(top, 40);
  EXPECT_NEAR(thumb.top(), top, 6);  // the thumb's rounded edges may be see-through
  EXPECT_NEAR(thumb.bottom(), top + 2 * 29, 6);
}

TEST_F(ScaledScreen, ButtonCaptionIsSetInTheScreensPixelsAndCentred) {
  QWidget page;
  auto* button = new SkinButton(&page);
  button->resize(120, 30);
  button->SetImages(ButtonImages{ButtonFaces(120, 30, ButtonLook::kGrey), {}});
  const QImage bare = button->Compose(2.0).copy();
  const QImage bare1x = button->Compose(1.0).copy();
  button->setText(QStringLiteral("MUSIC"));
  const QImage face = button->Compose(2.0).copy();
  EXPECT_EQ(face.size(), QSize(240, 60));
  EXPECT_DOUBLE_EQ(face.devicePixelRatio(), 2.0);
  EXPECT_EQ(Shown(*button), Opaque(face));
  // The caption stands in the middle of the whole face (not of its top-left quarter) and is
  // set at twice the size it has at 1x, not drawn small and enlarged.
  const QRect caption = Difference(face, bare);
  ASSERT_FALSE(caption.isEmpty());
  EXPECT_NEAR(caption.center().x(), 120, 4);
  EXPECT_NEAR(caption.center().y(), 30, 4);
  const QRect caption1x = Difference(button->Compose(1.0), bare1x);
  ASSERT_FALSE(caption1x.isEmpty());
  EXPECT_NEAR(caption.height(), 2 * caption1x.height(), 3);
  EXPECT_NEAR(caption.width(), 2 * caption1x.width(), 8);
}

class ScaledGraph : public ScaledScreen {
 protected:
  void SetUp() override {
    ScaledScreen::SetUp();
    view.Init(geometry, {}, {}, 0);
    view.SetReadoutEnabled(false);
  }
  // A column between the 300 and 400 Hz grid lines, in frame pixels.
  int Between() const { return geometry.ColumnOfFrequency(300) + geometry.ColumnOfFrequency(400); }

  GraphGeometry geometry = GraphGeometry::ForWidth(kWidth);
  EqGraph view;
};

TEST_F(ScaledGraph, BackgroundIsCachedAtTheScreensRatioWithLinesOnePointWide) {
  const QImage& bg = view.Background();
  EXPECT_DOUBLE_EQ(view.Ratio(), 2.0);
  EXPECT_DOUBLE_EQ(bg.devicePixelRatio(), 2.0);
  EXPECT_EQ(bg.size(), QSize(2 * kWidth, 2 * kGraphHeight));
  // The +12 dB line: two full rows of grid colour, black right above and below (a 1x line
  // enlarged with smoothing would fade into its neighbours).
  const int x = Between(), row = 2 * DbLineRow(2);
  EXPECT_EQ(bg.pixel(x, row - 1), 0u);
  EXPECT_EQ(bg.pixel(x, row), kGridColour);
  EXPECT_EQ(bg.pixel(x, row + 1), kGridColour);
  EXPECT_EQ(bg.pixel(x, row + 2), 0u);
  // The 1 kHz line likewise, two columns wide.
  const int column = 2 * geometry.ColumnOfFrequency(1000), y = 2 * 100;
  EXPECT_EQ(bg.pixel(column - 1, y), 0u);
  EXPECT_EQ(bg.pixel(column, y), kGridColour);
  EXPECT_EQ(bg.pixel(column + 1, y), kGridColour);
  EXPECT_EQ(bg.pixel(column + 2, y), 0u);
}

TEST_F(ScaledGraph, CurveIsAPointThickAndKeepsToThePlot) {
  EqBand wild[2];
  wild[0].type = kBandPeak;
  wild[0].freq = 100;
  wild[0].gain = 240;
  wild[0].q = 4;
  wild[1] = wild[0];
  wild[1].freq = 8000;
  wild[1].gain = -240;
  view.SetSelectedBand(1);
  view.Render(wild, 2);
  const QImage& frame = view.Frame();
  // Logical rows 29..251 are the only ones curves and areas may touch.
  for (int y = 0; y < frame.height(); ++y) {
    if (y >= 2 * 29 && y < 2 * 252) continue;
    for (int x = 0; x < frame.width(); ++x) {
      ASSERT_EQ(frame.pixel(x, y), view.Background().pixel(x, y)) << x << "," << y;
    }
  }
  // A flat sum at 0 dB: two rows of curve colour at twice the 0 dB row.
  EqBand flat = wild[0];
  flat.gain = 0;
  view.SetSelectedBand(-1);
  view.Render(&flat, 1);
  const int x = Between() + 1, zero = 2 * geometry.ZeroRow();
  EXPECT_NE(frame.pixel(x, zero - 1) & 0xffffff, kDefaultCurveColour);
  EXPECT_EQ(frame.pixel(x, zero) & 0xffffff, kDefaultCurveColour);
  EXPECT_EQ(frame.pixel(x, zero + 1) & 0xffffff, kDefaultCurveColour);
  EXPECT_NE(frame.pixel(x, zero + 2) & 0xffffff, kDefaultCurveColour);
}

TEST_F(ScaledGraph, WidgetKeepsTheLogicalSizeAndShowsTheFrameOneToOne) {
  const EqBand none{};
  view.Render(&none, 0);
  GraphWidget widget;
  widget.SetFrame(&view.Frame());
  EXPECT_EQ(widget.size(), QSize(kWidth, kGraphHeight));
  EXPECT_EQ(Shown(widget), Opaque(view.Frame()));
}

}  // namespace
}  // namespace tavelo::ui
