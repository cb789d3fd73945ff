#include "ui/graph/GraphMouse.h"

#include <algorithm>
#include <cmath>

#include "ui/graph/GraphLayout.h"

namespace tavelo::ui {

GraphBandSet::Range GraphBandSet::PassRange(int index) const {
  const int i = index - eqCount;
  if (i >= 0 && i < static_cast<int>(passRanges.size())) return passRanges[i];
  return {};
}

bool GraphMouse::InHitBox(QPoint point, QPoint click) {
  return click.x() >= point.x() - kHitHalf && click.x() < point.x() + kHitHalf &&
         click.y() >= point.y() - kHitHalf && click.y() < point.y() + kHitHalf;
}

int GraphMouse::HitTest(QPoint p, const GraphBandSet& set, bool eqOnly) const {
  if (set.bands == nullptr) return -1;
  const int n = eqOnly ? set.eqCount : set.Count();
  for (int i = 0; i < n; ++i) {
    if (InHitBox(BandPointOf(g_, set.bands[i]), p)) return i;
  }
  return -1;
}

int GraphMouse::GainAtRow(int y) const {
  const float db = static_cast<float>(g_.bottom - y) / g_.pixelsPerDb - 24.0f;
  const float tenths = std::clamp(db * 10.0f, -1.0e6f, 1.0e6f);
  return std::clamp(static_cast<int>(tenths), -kBandGainLimit, kBandGainLimit);
}

int GraphMouse::FreqAtColumn(int x, int lo, int hi) const {
  const float decades = static_cast<float>(x - g_.x0) / g_.pixelsPerDecade;
  const double hz = std::pow(10.0, std::clamp(static_cast<double>(decades), -3.0, 9.0));
  return std::clamp(static_cast<int>(hz), lo, hi);
}

int GraphMouse::QMaxOf(const tavelo::EqBand& band) {
  return tavelo::BandMaxQ(band.type);
}

GraphEdit GraphMouse::Press(QPoint p, const GraphBandSet& set, int selected, bool controlFocus,
                            bool right) {
  drag_ = GraphDrag::kNone;
  band_ = -1;
  if (set.bands == nullptr) return {};
  GraphEdit edit;
  const int reach = right ? set.eqCount : set.Count();
  // A band control with the focus keeps the selected band in hand even under another marker.
  if (controlFocus && selected >= 0 && selected < reach &&
      InHitBox(BandPointOf(g_, set.bands[selected]), p)) {
    edit.band = selected;
  } else {
    edit.band = HitTest(p, set, right);
    if (edit.band < 0) return {};
    edit.select = true;
  }
  edit.passFilter = set.IsPass(edit.band);
  drag_ = right ? GraphDrag::kQ : GraphDrag::kPoint;
  band_ = edit.band;
  lastX_ = p.x();
  return edit;
}

GraphEdit GraphMouse::LeftDown(QPoint p, const GraphBandSet& set, int selected, bool controlFocus) {
  return Press(p, set, selected, controlFocus, false);
}

GraphEdit GraphMouse::RightDown(QPoint p, const GraphBandSet& set, int selected,
                                bool controlFocus) {
  return Press(p, set, selected, controlFocus, true);
}

GraphEdit GraphMouse::Move(QPoint p, const GraphBandSet& set) {
  if (p.x() < 0 || p.y() < 0 || p.x() >= g_.width || p.y() >= kGraphHeight) {
    drag_ = GraphDrag::kNone;
    return {};
  }
  if (drag_ == GraphDrag::kNone || set.bands == nullptr || band_ < 0 || band_ >= set.Count()) {
    return {};
  }
  const tavelo::EqBand& band = set.bands[band_];
  GraphEdit edit;
  edit.band = band_;
  edit.passFilter = set.IsPass(band_);
  if (drag_ == GraphDrag::kQ) {
    const int q = std::clamp(band.q + (p.x() - lastX_), kBandMinQ, QMaxOf(band));
    lastX_ = p.x();
    if (q != band.q) {
      edit.setQ = true;
      edit.q = q;
    }
    return edit;
  }
  if (edit.passFilter) {
    const GraphBandSet::Range range = set.PassRange(band_);
    const int freq = FreqAtColumn(p.x(), range.min, range.max);
    if (freq != band.freq) {
      edit.setFreq = true;
      edit.freq = freq;
    }
    return edit;
  }
  const int gain = GainAtRow(p.y());
  const int freq = FreqAtColumn(p.x());
  if (gain != band.gain) {
    edit.setGain = true;
    edit.gain = gain;
  }
  if (freq != band.freq) {
    edit.setFreq = true;
    edit.freq = freq;
  }
  return edit;
}

}  // namespace tavelo::ui
