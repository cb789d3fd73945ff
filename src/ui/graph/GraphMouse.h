#pragma once
// Mouse editing on the equaliser graph as plain arithmetic: hit boxes, which band a click
// takes, point drags (frequency and gain; pass filters frequency only) and Q drags. It
// returns edits; the page applies them through its own band-editing path and redraws.
#include <QPoint>
#include <vector>

#include "core/eq/EqResponse.h"
#include "core/params/EqBand.h"

namespace tavelo::ui {

inline constexpr int kHitHalf = 12;  // hit box: 24 x 24 around a band's point

// The bands a page offers to the mouse: `bands` holds eqCount equaliser bands followed by
// passCount pass filters (tone bands are not clickable and are not listed).
struct GraphBandSet {
  const tavelo::EqBand* bands = nullptr;
  int eqCount = 0;
  int passCount = 0;
  struct Range {
    int min = kBandMinFrequency, max = kBandMaxFrequency;
  };
  std::vector<Range> passRanges;  // per pass filter; missing ones are 20..20000

  int Count() const { return eqCount + passCount; }
  bool IsPass(int index) const { return index >= eqCount && index < Count(); }
  Range PassRange(int index) const;
};

enum class GraphDrag { kNone, kPoint, kQ };

// One thing for the page to do. select: band becomes selected and its control takes the
// focus (left: its slider). Only the flagged values changed.
struct GraphEdit {
  int band = -1;
  bool select = false;
  bool setFreq = false, setGain = false, setQ = false;
  int freq = 0, gain = 0, q = 0;
  bool passFilter = false;  // frequency applied as if the filter's slider had moved

  bool Changed() const { return setFreq || setGain || setQ; }
  bool Any() const { return select || Changed(); }
};

class GraphMouse {
 public:
  explicit GraphMouse(const tavelo::GraphGeometry& geometry) : g_(geometry) {}

  static bool InHitBox(QPoint point, QPoint click);
  // First band (index order) whose hit box holds p, or -1; eqOnly limits to the equaliser.
  int HitTest(QPoint p, const GraphBandSet& set, bool eqOnly) const;

  // Left / right press. selected: the page's selected band (-1 none); controlFocus: one
  // of the page's band controls has the keyboard focus.
  GraphEdit LeftDown(QPoint p, const GraphBandSet& set, int selected, bool controlFocus);
  GraphEdit RightDown(QPoint p, const GraphBandSet& set, int selected, bool controlFocus);
  void ButtonUp() { drag_ = GraphDrag::kNone; }
  // A move; outside the graph rectangle it ends the drag and returns nothing.
  GraphEdit Move(QPoint p, const GraphBandSet& set);

  GraphDrag Drag() const { return drag_; }
  int DragBand() const { return band_; }

  // The drag formulas.
  int GainAtRow(int y) const;  // clamped to +-240 tenths
  int FreqAtColumn(int x, int lo = kBandMinFrequency, int hi = kBandMaxFrequency) const;
  static int QMaxOf(const tavelo::EqBand& band);  // 20 shelves, 999 otherwise

 private:
  GraphEdit Press(QPoint p, const GraphBandSet& set, int selected, bool controlFocus, bool right);
  tavelo::GraphGeometry g_;
  GraphDrag drag_ = GraphDrag::kNone;
  int band_ = -1;
  int lastX_ = 0;
};

}  // namespace tavelo::ui
