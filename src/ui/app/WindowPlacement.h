#pragma once
// Where a window may be put back at start-up. A stored position is only worth keeping when
// the user can still grab the window afterwards: enough of its title bar must lie on one
// screen, whatever the screens are now (a monitor unplugged or rearranged since).
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>
#include <vector>

namespace tavelo::ui {

// How much of the title bar must be on a screen: its full height, and this much of its width
// (or the whole width of a narrower window).
inline constexpr int kTitleBarHeight = 30;
inline constexpr int kReachableTitleWidth = 160;

// `stored` when a window of `size` there keeps its title bar reachable on one of `screens`
// (their available areas); nullopt when it would not, so the system places the window.
std::optional<QPoint> ReachablePosition(QPoint stored, QSize size,
                                        const std::vector<QRect>& screens);

}  // namespace tavelo::ui
