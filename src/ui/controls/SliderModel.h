#pragma once
// The arithmetic of a skinned slider, apart from any widget: value <-> thumb position
// (linear or logarithmic), one-step moves, the press / drag / release sequence with its
// 2-pixel start threshold, wheel and arrow keys. Values grow downwards on a vertical
// slider and rightwards on a horizontal one.

namespace tavelo::ui {

// What a user action asks of the widget.
struct SliderChange {
  bool notify = false;  // post the new value to the owner
  bool redraw = false;  // the thumb moved
  int value = 0;        // the value after the action
};

enum class SliderKey { kUp, kDown, kLeft, kRight };

class SliderModel {
 public:
  // Orientation and the sizes that fix the travel: travel end = track - thumb length.
  void SetVertical(bool vertical);
  bool Vertical() const { return vertical_; }
  void SetLengths(int trackLength, int thumbLength);
  int ThumbLength() const { return thumbLength_; }
  int TravelStart() const { return 0; }
  int TravelEnd() const { return travelEnd_; }

  // A logarithmic range needs min >= 1; otherwise the mapping stays linear.
  void SetRange(int min, int max, bool logarithmic);
  int Min() const { return min_; }
  int Max() const { return max_; }
  bool Logarithmic() const { return log_; }

  // Stores the clamped value; true when the thumb position changed. No notification.
  // While the user drags, the thumb stays under the mouse when the owner shows again the
  // value the drag chose.
  bool SetValue(int value);
  int Value() const { return value_; }
  int ThumbPos() const { return thumbPos_; }

  int PositionOfValue(int value) const;
  int ValueOfPosition(int position) const;

  // User actions; `c` is the mouse coordinate along the travel (y vertical, x horizontal).
  SliderChange Press(int c);
  SliderChange Move(int c);
  // Ends a drag; true when the thumb moved to where its value is drawn.
  bool Release();
  SliderChange Wheel(int delta);  // positive = forward = up / right
  SliderChange Key(SliderKey key);
  // One step of +1 or -1 in value units, clamped; nothing when the value stays.
  SliderChange Step(int direction);
  // 0 idle, 1 pressed on the thumb, 2 dragging.
  int DragState() const { return dragState_; }

 private:
  int UpRightStep() const { return vertical_ ? -1 : 1; }

  bool vertical_ = true;
  int trackLength_ = 0;
  int thumbLength_ = 0;
  int travelEnd_ = 0;
  int min_ = 0, max_ = 100;
  bool log_ = false;
  float pixelsPerDecade_ = 0;
  float decadesPerPixel_ = 0;
  int value_ = 0;
  int thumbPos_ = 0;
  int dragState_ = 0;
  int lastCoord_ = 0;
};

}  // namespace tavelo::ui
