#include "ui/controls/SliderModel.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace tavelo::ui {

void SliderModel::SetVertical(bool vertical) {
  vertical_ = vertical;
}

void SliderModel::SetLengths(int trackLength, int thumbLength) {
  trackLength_ = std::max(trackLength, 0);
  thumbLength_ = std::max(thumbLength, 0);
  travelEnd_ = std::max(trackLength_ - thumbLength_, 0);
  SetRange(min_, max_, log_);
}

void SliderModel::SetRange(int min, int max, bool logarithmic) {
  if (min > max) std::swap(min, max);
  min_ = min;
  max_ = max;
  // log10 of a value below 1 has no place on the scale: such a range stays linear.
  log_ = logarithmic && min >= 1;
  pixelsPerDecade_ = 0;
  decadesPerPixel_ = 0;
  if (log_ && max > min) {
    const float decades = std::log10(static_cast<float>(max)) - std::log10(static_cast<float>(min));
    pixelsPerDecade_ = static_cast<float>(travelEnd_ - TravelStart()) / decades;
    decadesPerPixel_ = pixelsPerDecade_ > 0 ? 1.0f / pixelsPerDecade_ : 0.0f;
  }
  value_ = std::clamp(value_, min_, max_);
  thumbPos_ = PositionOfValue(value_);
}

bool SliderModel::SetValue(int value) {
  value = std::clamp(value, min_, max_);
  if (dragState_ == 2 && value == value_) return false;
  value_ = value;
  const int pos = PositionOfValue(value_);
  const bool moved = pos != thumbPos_;
  thumbPos_ = pos;
  return moved;
}

int SliderModel::PositionOfValue(int value) const {
  const int start = TravelStart(), end = travelEnd_;
  value = std::clamp(value, min_, max_);
  if (max_ == min_ || value <= min_) return start;
  if (value >= max_) return end;
  if (log_) {
    const float d = std::log10(static_cast<float>(value)) - std::log10(static_cast<float>(min_));
    return std::clamp(static_cast<int>(d * pixelsPerDecade_ + 0.5f), start, end);
  }
  const float scale = static_cast<float>(end - start) / static_cast<float>(max_ - min_);
  return std::clamp(
      static_cast<int>(scale * static_cast<float>(value - min_) + static_cast<float>(start) + 0.5f),
      start, end);
}

int SliderModel::ValueOfPosition(int position) const {
  const int start = TravelStart(), end = travelEnd_;
  if (end == start || position <= start) return min_;
  if (position >= end) return max_;
  if (log_) {
    const float exponent =
        std::log10(static_cast<float>(min_)) + decadesPerPixel_ * static_cast<float>(position);
    return std::clamp(static_cast<int>(std::pow(10.0f, exponent) + 0.5f), min_, max_);
  }
  const float scale = static_cast<float>(max_ - min_) / static_cast<float>(end - start);
  return std::clamp(static_cast<int>(scale * static_cast<float>(position - start) +
                                     static_cast<float>(min_) + 0.5f),
                    min_, max_);
}

SliderChange SliderModel::Step(int direction) {
  SliderChange change;
  const int next = std::clamp(value_ + direction, min_, max_);
  change.value = value_;
  if (next == value_) return change;
  value_ = next;
  change.notify = true;
  change.value = next;
  const int pos = PositionOfValue(next);
  change.redraw = pos != thumbPos_;
  thumbPos_ = pos;
  return change;
}

SliderChange SliderModel::Press(int c) {
  if (c > thumbPos_ && c < thumbPos_ + thumbLength_) {
    dragState_ = 1;
    lastCoord_ = c;
    return {false, false, value_};
  }
  return Step(c <= thumbPos_ ? -1 : 1);
}

SliderChange SliderModel::Move(int c) {
  SliderChange change{false, false, value_};
  if (dragState_ == 0) return change;
  if (dragState_ == 1) {
    if (std::abs(c - lastCoord_) < 2) return change;
    dragState_ = 2;
  }
  const int pos = std::clamp(thumbPos_ + (c - lastCoord_), TravelStart(), travelEnd_);
  lastCoord_ = c;
  if (pos == thumbPos_) return change;
  thumbPos_ = pos;
  value_ = ValueOfPosition(pos);
  // Every thumb move is reported, even when the rounded value stays the same.
  return {true, true, value_};
}

bool SliderModel::Release() {
  const bool dragged = dragState_ == 2;
  dragState_ = 0;
  if (!dragged) return false;
  // The thumb went where the mouse was; it rests where the value it chose is drawn.
  const int pos = PositionOfValue(value_);
  const bool moved = pos != thumbPos_;
  thumbPos_ = pos;
  return moved;
}

SliderChange SliderModel::Wheel(int delta) {
  if (delta == 0) return {false, false, value_};
  return Step(delta > 0 ? UpRightStep() : -UpRightStep());
}

SliderChange SliderModel::Key(SliderKey key) {
  const bool upRight = key == SliderKey::kUp || key == SliderKey::kRight;
  return Step(upRight ? UpRightStep() : -UpRightStep());
}

}  // namespace tavelo::ui
