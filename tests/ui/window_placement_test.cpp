// A stored window position is put back only when the title bar can still be grabbed.
#include <gtest/gtest.h>

#include "ui/app/WindowPlacement.h"

namespace tavelo::ui {
namespace {

TEST(WindowPlacement, KeepsThePositionOnlyWhileTheTitleBarIsWithinReach) {
  const std::vector<QRect> one = {QRect(0, 0, 1920, 1040)};
  const QSize window(1024, 700);
  EXPECT_EQ(ReachablePosition({100, 80}, window, one), QPoint(100, 80));
  // Most of the window off to the right or below, but the title bar's left part in view.
  EXPECT_EQ(ReachablePosition({1700, 500}, window, one), QPoint(1700, 500));
  // The corner on screen, 10 x 10 pixels of the window visible: not reachable.
  EXPECT_EQ(ReachablePosition({1910, 1030}, window, one), std::nullopt);
  EXPECT_EQ(ReachablePosition({-1014, 100}, window, one), std::nullopt);
  // The title bar above the screen's top edge, the rest in view.
  EXPECT_EQ(ReachablePosition({100, -20}, window, one), std::nullopt);
  // On a screen that is gone.
  EXPECT_EQ(ReachablePosition({2500, 100}, window, one), std::nullopt);

  // Two screens side by side: a title bar on the second counts; one split across the seam
  // counts when either side shows enough of it.
  const std::vector<QRect> two = {QRect(0, 0, 1920, 1040), QRect(1920, 0, 1280, 984)};
  EXPECT_EQ(ReachablePosition({2500, 100}, window, two), QPoint(2500, 100));
  EXPECT_EQ(ReachablePosition({1800, 100}, window, two), QPoint(1800, 100));
  EXPECT_EQ(ReachablePosition({3150, 100}, window, two), std::nullopt);
  // A window narrower than the required strip needs its whole title bar in view.
  EXPECT_EQ(ReachablePosition({0, 0}, QSize(120, 80), one), QPoint(0, 0));
  EXPECT_EQ(ReachablePosition({1850, 0}, QSize(120, 80), one), std::nullopt);
  EXPECT_EQ(ReachablePosition({0, 0}, window, {}), std::nullopt);
}

}  // namespace
}  // namespace tavelo::ui
