// The image button: which face each state shows, how the background shows through, and
// the caption colours.
#include <gtest/gtest.h>

#include <QTest>

#include "support/qt_app.h"
#include "ui/controls/SkinButton.h"
#include "ui/skin/Blend.h"

namespace tavelo::ui {
namespace {

TEST(ButtonRules, StyleWordAndStateIndex) {
  EXPECT_EQ(ButtonKindOf(kStyleTwoStateLeft), kButtonTwoState);
  EXPECT_EQ(ButtonAlignOf(kStyleTwoStateLeft), kAlignLeft);
  EXPECT_EQ(ButtonAlignOf(kStyleTwoStateRight), kAlignRight);
  EXPECT_EQ(ButtonStateIndex(kButtonTwoState, false, false), 0);
  EXPECT_EQ(ButtonStateIndex(kButtonTwoState, true, false), 1);
  EXPECT_EQ(ButtonStateIndex(kButtonTwoState, false, true), 2);
  EXPECT_EQ(ButtonStateIndex(kButtonTwoState, true, true), 3);
  // A plain push button has no lit look.
  EXPECT_EQ(ButtonStateIndex(kButtonPlain, false, true), 0);
  EXPECT_EQ(ButtonStateIndex(kButtonPlain, true, true), 1);
}

class ImageButton : public ::testing::Test {
 protected:
  void SetUp() override {
    test::QtApp();
    // Four opaque faces of distinct colours on the left half; the right half is left to
    // the state fill, so the background shows there.
    for (QRgb c : {0xff100000u, 0xff200000u, 0xff300000u, 0xff400000u}) {
      QImage face(20, 24, QImage::Format_ARGB32);
      face.fill(c);
      images.states.push_back(SkinImage(face));
    }
    button.resize(40, 24);
  }
  QRgb Centre() { return button.Compose().pixel(10, 12) & 0x00ffffff; }

  QApplication& app = test::QtApp();  // before any widget member
  ButtonImages images;
  SkinButton button;
};

TEST_F(ImageButton, TwoStateButtonShowsItsLitAndPressedFaces) {
  button.SetImages(kStyleTwoStateCentred, Qt::white, images, QColor(0, 0, 200), Qt::white);
  EXPECT_EQ(Centre(), BlendPixel(0xff100000, 0x000000c8) & 0x00ffffff);
  button.SetLit(true);
  EXPECT_EQ(Centre(), BlendPixel(0xff300000, 0x000000c8) & 0x00ffffff);
  button.setDown(true);
  EXPECT_EQ(Centre(), BlendPixel(0xff400000, 0x000000c8) & 0x00ffffff);
  button.SetLit(false);
  EXPECT_EQ(Centre(), BlendPixel(0xff200000, 0x000000c8) & 0x00ffffff);
  // Where no face was copied the plain fill of the background shows through.
  EXPECT_EQ(button.Compose().pixel(30, 12) & 0x00ffffff, 0x000000c8u);
}

TEST_F(ImageButton, BackgroundPictureIsBlendedOnTheBackgroundColour) {
  images.background = SkinImage::Filled(40, 24, 0x80ffffff);
  button.SetImages(kStyleTwoStateCentred, QColor(0, 0, 0), images, Qt::red, Qt::white);
  EXPECT_EQ(button.Compose().pixel(30, 12) & 0x00ffffff,
            BlendPixel(0x80ffffff, 0x00000000) & 0x00ffffff);
}

TEST_F(ImageButton, PlainButtonIgnoresLitAndBuffersFollowResize) {
  button.SetImages(kButtonPlain, Qt::white, images, Qt::white, Qt::white);
  button.SetLit(true);
  EXPECT_EQ(Centre(), BlendPixel(0xff100000, 0x00ffffff) & 0x00ffffff);
  button.resize(60, 30);
  EXPECT_EQ(button.Compose().size(), QSize(60, 30));
}

// Counts pixels of exactly one colour in a face.
int CountColour(const QImage& image, QRgb rgb) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0x00ffffff) == rgb;
  }
  return n;
}

TEST_F(ImageButton, CaptionIsGreyWhenDisabledAndStartsAtTheTextOffset) {
  SkinButton wide(QStringLiteral("IIIIII"));
  wide.resize(120, 24);
  QFont f = wide.font();
  f.setPixelSize(16);
  wide.setFont(f);
  wide.SetImages(kStyleTwoStateLeft, Qt::white, {}, Qt::white, Qt::white);
  const QRgb normal = qRgb(20, 20, 20) & 0x00ffffff;
  const QRgb grey = qRgb(160, 160, 160) & 0x00ffffff;
  EXPECT_GT(CountColour(wide.Compose(), normal), 0);
  wide.setEnabled(false);
  EXPECT_EQ(CountColour(wide.Compose(), normal), 0);
  EXPECT_GT(CountColour(wide.Compose(), grey), 0);

  // Left-aligned text begins at the offset: nothing dark left of it.
  wide.setEnabled(true);
  wide.SetTextOffset(16);
  const QImage face = wide.Compose();
  int leftmost = face.width();
  for (int y = 0; y < face.height(); ++y) {
    for (int x = 0; x < face.width(); ++x) {
      if (qRed(face.pixel(x, y)) < 128) leftmost = std::min(leftmost, x);
    }
  }
  EXPECT_GE(leftmost, 16);
  EXPECT_LT(leftmost, 24);
}

TEST_F(ImageButton, ClicksReachTheOwnerWhoSwitchesTheLitState) {
  button.SetImages(images);
  QObject::connect(&button, &QPushButton::clicked, [this] { button.SetLit(!button.Lit()); });
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_TRUE(button.Lit());
  QTest::mouseClick(&button, Qt::LeftButton);
  EXPECT_FALSE(button.Lit());
}

}  // namespace
}  // namespace tavelo::ui
