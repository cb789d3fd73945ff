#include "ui/app/WindowPlacement.h"

#include <algorithm>

namespace tavelo::ui {

std::optional<QPoint> ReachablePosition(QPoint stored, QSize size,
                                        const std::vector<QRect>& screens) {
  const QRect titleBar(stored, QSize(std::max(size.width(), 1), kTitleBarHeight));
  const int needed = std::min(titleBar.width(), kReachableTitleWidth);
  for (const QRect& screen : screens) {
    const QRect visible = titleBar.intersected(screen);
    if (visible.height() >= kTitleBarHeight && visible.width() >= needed) return stored;
  }
  return std::nullopt;
}

}  // namespace tavelo::ui
