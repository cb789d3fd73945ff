// The slider widget: what it posts for real mouse, wheel and key input, and what it draws.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include "support/qt_app.h"
#include "ui/controls/SkinSlider.h"
#include "ui/skin/Blend.h"

namespace tavelo::ui {
namespace {

SkinImage Solid(int w, int h, QRgb pixel) {
  return SkinImage::Filled(w, h, pixel);
}

class SliderWidget : public ::testing::Test {
 protected:
  void SetUp() override { test::QtApp(); }

  // A vertical 36 x 200 slider, 0..480, opaque grey thumb 29 high.
  void MakeVertical(QWidget* parent) {
    slider = new SkinSlider(parent, 1130);
    slider->resize(36, 200);
    slider->SetTrackImages(Solid(36, 200, 0x80000000), Solid(36, 29, 0xff808080),
                           Solid(36, 29, 0xffff8000));
    slider->SetRange(0, 480);
  }
  void Wheel(int delta) {
    QWheelEvent e(QPointF(5, 5), QPointF(5, 5), QPoint(), QPoint(0, delta), Qt::NoButton,
                  Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(slider, &e);
  }
  void MoveTo(int y) {
    QMouseEvent e(QEvent::MouseMove, QPointF(10, y), QPointF(10, y), Qt::NoButton, Qt::LeftButton,
                  Qt::NoModifier);
    QApplication::sendEvent(slider, &e);
  }

  SkinSlider* slider = nullptr;
};

TEST_F(SliderWidget, ClicksAndWheelPostIdAndValueOnlyWhenTheValueChanges) {
  QWidget page;
  MakeVertical(&page);
  QSignalSpy moved(slider, &SkinSlider::Moved);
  slider->SetPos(479);
  slider->SetPos(-50);  // clamped, silent
  EXPECT_EQ(slider->GetPos(), 0);
  slider->SetPos(479);
  EXPECT_EQ(moved.count(), 0);

  slider->SetPos(470);                                             // thumb rows 167..195
  QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(10, 198));  // below the thumb
  ASSERT_EQ(moved.count(), 1);
  EXPECT_EQ(moved[0][0].toInt(), 1130);
  EXPECT_EQ(moved[0][1].toInt(), 471);
  QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(10, 2));  // above it
  ASSERT_EQ(moved.count(), 2);
  EXPECT_EQ(moved[1][1].toInt(), 470);

  Wheel(120);  // forward on a vertical slider: thumb up, value down
  ASSERT_EQ(moved.count(), 3);
  EXPECT_EQ(moved[2][1].toInt(), 469);
  slider->SetPos(480);
  Wheel(-120);  // already at the bottom: nothing posted
  EXPECT_EQ(moved.count(), 3);
}

TEST_F(SliderWidget, DragThroughRealMouseEventsPinsAtTheTravelEnds) {
  QWidget page;
  MakeVertical(&page);
  slider->SetPos(240);
  QSignalSpy moved(slider, &SkinSlider::Moved);
  const int grab = slider->Model().ThumbPos() + 10;
  QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(10, grab));
  MoveTo(grab + 1);
  EXPECT_EQ(moved.count(), 0);
  MoveTo(grab - 400);
  ASSERT_EQ(moved.count(), 1);
  EXPECT_EQ(moved[0][1].toInt(), 0);
  MoveTo(grab + 400);
  EXPECT_EQ(moved.last()[1].toInt(), 480);
  QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(10, grab + 400));
  MoveTo(grab);
  EXPECT_EQ(moved.last()[1].toInt(), 480);
}

TEST_F(SliderWidget, ArrowKeysStepTheSliderAndNeverMoveTheFocus) {
  QWidget page;
  MakeVertical(&page);
  auto* other = new SkinSlider(&page, 7);
  other->setGeometry(50, 0, 36, 200);
  page.show();
  QApplication::setActiveWindow(&page);
  slider->setFocus();
  slider->SetPos(240);
  QSignalSpy moved(slider, &SkinSlider::Moved);
  QTest::keyClick(slider, Qt::Key_Down);
  QTest::keyClick(slider, Qt::Key_Down);
  QTest::keyClick(slider, Qt::Key_Up);
  QTest::keyClick(slider, Qt::Key_Left);
  ASSERT_EQ(moved.count(), 4);
  EXPECT_EQ(moved[0][1].toInt(), 241);
  EXPECT_EQ(moved[3][1].toInt(), 242);  // Left on a vertical slider is down
  EXPECT_TRUE(slider->hasFocus());
}

TEST_F(SliderWidget, FaceShowsTrackThumbHighlightAndDisabledTint) {
  QWidget page;
  MakeVertical(&page);
  slider->SetPos(0);  // thumb rows 0..28
  QImage face = slider->Compose().copy();
  const QRgb track = BlendPixel(0x80000000, 0xffffffff);  // half black on white
  EXPECT_EQ(face.pixel(5, 100), track);
  EXPECT_EQ(face.pixel(5, 10), BlendPixel(0xff808080, track));
  slider->SetHighlight(true);
  EXPECT_EQ(slider->Compose().pixel(5, 10), BlendPixel(0xffff8000, track));
  slider->SetHighlight(false);
  slider->setEnabled(false);
  EXPECT_EQ(slider->Compose().pixel(5, 100), TintPixel(track));
  EXPECT_EQ(slider->Compose().pixel(5, 10), TintPixel(BlendPixel(0xff808080, track)));
}

TEST_F(SliderWidget, MissingPicturesFallBackToRedTrackAndGreenFocusedThumb) {
  SkinSlider s(nullptr, 2);
  s.resize(36, 122);
  s.SetTrackImages({}, Solid(36, 29, 0xff808080));
  s.SetRange(0, 480);
  s.SetHighlight(true);
  const QImage& face = s.Compose();
  EXPECT_EQ(face.pixel(5, 100), 0x00ff0000u);
  EXPECT_EQ(face.pixel(5, 5), BlendPixel(0xff00ff00, 0x00ff0000));
}

TEST_F(SliderWidget, HorizontalFillCoversColumnsUpToTheThumb) {
  SkinSlider s(nullptr, 3);
  s.resize(135, 24);
  s.SetTrackImagesWithFill(Solid(135, 24, 0x00000000), Solid(135, 24, 0xff0000ff),
                           Solid(27, 24, 0x00000000));
  s.SetRange(0, 108);  // travel 108: one pixel per value
  EXPECT_FALSE(s.Model().Vertical());
  s.SetPos(0);
  EXPECT_EQ(s.Compose().pixel(0, 5), 0xffffffffu);  // position 0 copies nothing
  s.SetPos(40);
  const QRgb fill = BlendPixel(0xff0000ff, 0xffffffff);
  EXPECT_EQ(s.Compose().pixel(0, 5), fill);
  EXPECT_EQ(s.Compose().pixel(40, 23), fill);  // inclusive of the thumb position
  EXPECT_EQ(s.Compose().pixel(41, 5), 0xffffffffu);
}

TEST_F(SliderWidget, ShowFocusMakesKeyboardFocusLightTheThumb) {
  QWidget page;
  MakeVertical(&page);
  page.show();
  QApplication::setActiveWindow(&page);
  slider->setFocus();
  EXPECT_FALSE(slider->Highlighted());  // show focus is off by default
  slider->clearFocus();
  slider->SetShowFocus(true);
  slider->setFocus();
  EXPECT_TRUE(slider->Highlighted());
  slider->clearFocus();
  EXPECT_FALSE(slider->Highlighted());
}

}  // namespace
}  // namespace tavelo::ui
