// Slider arithmetic without a widget: mappings, steps, the drag sequence, wheel and keys.
#include <gtest/gtest.h>

#include "ui/controls/SliderModel.h"

namespace tavelo::ui {
namespace {

SliderModel Make(bool vertical, int track, int thumb, int min, int max, bool log, int value) {
  SliderModel m;
  m.SetVertical(vertical);
  m.SetLengths(track, thumb);
  m.SetRange(min, max, log);
  m.SetValue(value);
  return m;
}

TEST(SliderMapping, LogarithmicScaleHitsDecadesAndBothEndsExactly) {
  SliderModel m = Make(false, 127, 27, 20, 20000, true, 20);  // travel 100
  EXPECT_EQ(m.TravelEnd(), 100);
  EXPECT_EQ(m.PositionOfValue(200), 33);
  EXPECT_EQ(m.PositionOfValue(2000), 67);
  EXPECT_EQ(m.PositionOfValue(20), 0);
  EXPECT_EQ(m.PositionOfValue(20000), 100);
  EXPECT_EQ(m.ValueOfPosition(0), 20);
  EXPECT_EQ(m.ValueOfPosition(100), 20000);
  int previous = 0;
  for (int p = 0; p <= 100; ++p) {  // never goes backwards along the travel
    const int v = m.ValueOfPosition(p);
    EXPECT_GE(v, previous) << p;
    previous = v;
  }
}

TEST(SliderMapping, LinearScaleRoundsAndClamps) {
  SliderModel m = Make(true, 122, 29, 0, 480, false, 0);  // travel 93
  EXPECT_EQ(m.PositionOfValue(0), 0);
  EXPECT_EQ(m.PositionOfValue(480), 93);
  EXPECT_EQ(m.PositionOfValue(120), 23);
  EXPECT_EQ(m.ValueOfPosition(47), 243);
  EXPECT_EQ(m.ValueOfPosition(93), 480);
  EXPECT_EQ(m.ValueOfPosition(500), 480);
  EXPECT_EQ(m.ValueOfPosition(-5), 0);
}

TEST(SliderMapping, DegenerateRangesNeitherDivideByZeroNorLeaveTheRange) {
  SliderModel flat = Make(true, 122, 29, 5, 5, false, 9);
  EXPECT_EQ(flat.Value(), 5);
  EXPECT_EQ(flat.ThumbPos(), 0);
  SliderModel noTravel = Make(true, 20, 29, 0, 10, false, 7);  // thumb longer than track
  EXPECT_EQ(noTravel.TravelEnd(), 0);
  EXPECT_EQ(noTravel.ValueOfPosition(0), 0);
  // log10 of 0 has no place on a scale: such a range stays linear and finite.
  SliderModel zeroLog = Make(true, 129, 29, 0, 100, true, 50);
  EXPECT_FALSE(zeroLog.Logarithmic());
  EXPECT_EQ(zeroLog.ThumbPos(), 50);
  SliderModel swapped = Make(false, 129, 29, 100, 0, false, 30);
  EXPECT_EQ(swapped.Min(), 0);
  EXPECT_EQ(swapped.Max(), 100);
}

TEST(SliderSetValue, ClampsAndReportsOnlyThumbMoves) {
  SliderModel m = Make(true, 122, 29, 0, 480, false, 240);
  EXPECT_FALSE(m.SetValue(240));
  EXPECT_TRUE(m.SetValue(999));
  EXPECT_EQ(m.Value(), 480);
  EXPECT_TRUE(m.SetValue(-3));
  EXPECT_EQ(m.Value(), 0);
}

TEST(SliderClick, StepsTowardsTheClickAndStopsAtTheEnds) {
  SliderModel m = Make(true, 200, 29, 0, 480, false, 479);
  const int below = m.ThumbPos() + m.ThumbLength();
  SliderChange c = m.Press(below);
  EXPECT_TRUE(c.notify);
  EXPECT_EQ(c.value, 480);
  m.Release();
  c = m.Press(below + 1);
  EXPECT_FALSE(c.notify);  // already at the end: nothing posted
  EXPECT_EQ(m.Value(), 480);
  // Above the thumb of a vertical slider lowers the value.
  c = m.Press(m.ThumbPos());
  EXPECT_TRUE(c.notify);
  EXPECT_EQ(c.value, 479);
  EXPECT_EQ(m.DragState(), 0);
}

TEST(SliderDrag, StartsOnlyAfterTwoPixelsAndFollowsTheMouseToExactEnds) {
  SliderModel m = Make(false, 127, 27, 20, 20000, true, 200);  // thumb at 33
  const int grab = m.ThumbPos() + 10;
  EXPECT_FALSE(m.Press(grab).notify);
  EXPECT_EQ(m.DragState(), 1);
  SliderChange c = m.Move(grab + 1);
  EXPECT_FALSE(c.notify);
  EXPECT_EQ(m.ThumbPos(), 33);
  c = m.Move(grab + 3);  // 3 pixels from the press point: the drag starts and moves 3
  EXPECT_TRUE(c.notify);
  EXPECT_EQ(m.DragState(), 2);
  EXPECT_EQ(m.ThumbPos(), 36);
  c = m.Move(grab + 500);  // far past the end: pinned at exactly max
  EXPECT_EQ(m.ThumbPos(), 100);
  EXPECT_EQ(c.value, 20000);
  EXPECT_FALSE(m.Move(grab + 600).notify);  // no further movement, nothing posted
  c = m.Move(grab + 599);                   // back one pixel moves at once
  EXPECT_EQ(m.ThumbPos(), 99);
  m.Release();
  EXPECT_EQ(m.DragState(), 0);
  EXPECT_FALSE(m.Move(0).notify);
}

TEST(SliderDrag, ReportsEveryThumbMoveEvenWhenTheValueRoundsTheSame) {
  SliderModel m = Make(false, 127, 27, 0, 10, false, 5);  // 10 pixels per value step
  const int grab = m.ThumbPos() + 5;
  m.Press(grab);
  SliderChange first = m.Move(grab + 2);
  SliderChange second = m.Move(grab + 3);
  EXPECT_TRUE(first.notify);
  EXPECT_TRUE(second.notify);
  EXPECT_EQ(first.value, second.value);
}

TEST(SliderWheelAndKeys, ForwardIsUpOrRightAndEndsPostNothing) {
  SliderModel volume = Make(false, 135, 27, 0, 99, false, 99);
  EXPECT_FALSE(volume.Wheel(120).notify);
  EXPECT_EQ(volume.Wheel(-120).value, 98);
  EXPECT_EQ(volume.Key(SliderKey::kRight).value, 99);
  EXPECT_EQ(volume.Key(SliderKey::kLeft).value, 98);
  EXPECT_FALSE(volume.Wheel(0).notify);

  SliderModel gain = Make(true, 122, 29, 0, 480, false, 240);
  EXPECT_EQ(gain.Wheel(120).value, 239);  // thumb moves up: value down
  EXPECT_EQ(gain.Key(SliderKey::kUp).value, 238);
  EXPECT_EQ(gain.Key(SliderKey::kDown).value, 239);
  EXPECT_EQ(gain.Key(SliderKey::kRight).value, 238);
}

}  // namespace
}  // namespace tavelo::ui
