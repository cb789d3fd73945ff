#pragma once
// Driving a page's controls as a user would, for the page tests: type into an edit and
// press Return, turn the wheel over a control, drag a slider's thumb; and a poster that
// records every request a page sends as (code, value).
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <utility>
#include <vector>

#include "ui/controls/SkinSlider.h"
#include "ui/pages/PageModel.h"

namespace tavelo::test {

using Posts = std::vector<std::pair<int, int>>;

inline BlockPoster RecordPosts(Posts& posts) {
  return [&posts](const BlockRequest& r) { posts.emplace_back(CodeNumber(r.code), r.arg.value); };
}

// Replaces the edit's text as typed keys and commits it with Return.
inline void TypeAndEnter(QWidget* widget, const char* text) {
  auto* edit = qobject_cast<QLineEdit*>(widget);
  ASSERT_NE(edit, nullptr);
  edit->setFocus();
  edit->selectAll();
  QTest::keyClicks(edit, text);
  QTest::keyClick(edit, Qt::Key_Return);
}

// One wheel turn of `delta` (120 a notch) over the widget's top-left corner.
inline void Wheel(QWidget* target, int delta) {
  QWheelEvent e(QPointF(5, 5), target->mapToGlobal(QPointF(5, 5)), QPoint(), QPoint(0, delta),
                Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(target, &e);
}

// Grabs the slider's thumb in its middle, moves it by dx pixels in `steps` moves and lets
// it go.
inline void DragThumb(QWidget* widget, int dx, int steps = 1) {
  auto* s = qobject_cast<ui::SkinSlider*>(widget);
  ASSERT_NE(s, nullptr);
  const QPoint grab(s->Model().ThumbPos() + s->Model().ThumbLength() / 2, s->height() / 2);
  QTest::mousePress(s, Qt::LeftButton, Qt::NoModifier, grab);
  for (int step = 1; step <= steps; ++step)
    QTest::mouseMove(s, grab + QPoint(dx * step / steps, 0));
  QTest::mouseRelease(s, Qt::LeftButton, Qt::NoModifier, grab + QPoint(dx, 0));
}

// The same, letting go at `x` along the track (beyond an end, the end stops it).
inline void DragThumbTo(QWidget* widget, int x) {
  auto* s = qobject_cast<ui::SkinSlider*>(widget);
  ASSERT_NE(s, nullptr);
  DragThumb(s, x - (s->Model().ThumbPos() + s->Model().ThumbLength() / 2));
}

}  // namespace tavelo::test
