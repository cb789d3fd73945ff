#include "ui/pages/BandColumns.h"

#include "ui/controls/SkinButton.h"
#include "ui/pages/PageBinder.h"
#include "ui/skin/SkinArt.h"

namespace tavelo::ui {

void PlaceBandColumns(PageBinder& b, std::span<const BandColumnIds> columns,
                      const BandColumnPlace& at, const QFont* typeFont) {
  static const char* const kTypeCaptions[3] = {"P ", "LS", "HS"};
  int x = at.x;
  for (const BandColumnIds& c : columns) {
    b.Slider(c.gainSlider,
             QRect(x + (at.width - kEqTrackWidth) / 2, at.sliderY, kEqTrackWidth, kEqTrackHeight),
             true);
    b.Edit(c.gainEdit, QRect(x, at.gainEditY, at.width, 20));
    b.Edit(c.qEdit, QRect(x, at.qEditY, at.width - at.qEditTrim, 20));
    if (at.spinWidth > 0)
      b.Spin(c.qSpin, QRect(x + at.width - at.spinWidth, at.qEditY, at.spinWidth, 20));
    b.Edit(c.freqEdit, QRect(x, at.freqEditY, at.width, 20));
    for (int t = 0; t < 3; ++t) {
      SkinButton* button =
          b.Button(c.typeButtons[t], QRect(x + t * at.typeWidth, at.typeY, at.typeWidth, 20),
                   kTypeCaptions[t], ButtonLook::kType);
      if (typeFont) button->setFont(*typeFont);
    }
    x += at.pitch;
  }
}

}  // namespace tavelo::ui
