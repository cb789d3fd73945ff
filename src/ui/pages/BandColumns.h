#pragma once
// The band columns below an EQ graph: per band a vertical gain slider, the gain, Q and
// frequency fields, step arrows for Q where the page has them, and the three type buttons.
// Every EQ page places them with this one loop; a page states only its geometry.
#include <span>

#include "ui/pages/PageTable.h"

class QFont;

namespace tavelo::ui {

class PageBinder;

struct BandColumnPlace {
  int x = 0;  // left edge of the first column
  int pitch = 0;
  int width = 0;
  int sliderY = 0;
  int gainEditY = 0;
  int qEditY = 0;
  int freqEditY = 0;
  int typeY = 0;
  int qEditTrim = 0;  // width the Q field leaves to the step arrows
  int spinWidth = 0;  // step arrows at the column's right edge; 0 places none
  int typeWidth = 18;
};

// `typeFont`, when given, is the type buttons' face (narrow columns).
void PlaceBandColumns(PageBinder& b, std::span<const BandColumnIds> columns,
                      const BandColumnPlace& at, const QFont* typeFont = nullptr);

}  // namespace tavelo::ui
