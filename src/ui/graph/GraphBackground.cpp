#include "ui/graph/GraphBackground.h"

#include "ui/graph/GraphLayout.h"
#include "ui/graph/MonoText.h"
#include "ui/skin/Blend.h"

namespace tavelo::ui {

void DrawGraphBackground(QImage& frame, const tavelo::GraphGeometry& g) {
  const int width = g.width;
  frame = QImage(width, kGraphHeight, QImage::Format_ARGB32);
  frame.fill(0u);
  const MonoText font(kLabelFontPixels);

  for (int k = 0; k < 9; ++k) {
    const int y = DbLineRow(k);
    font.Draw(frame, 2, y - 8, DbLabel(k), kLabelColour, QRect(2, y - 8, 48, 20));
    for (int x = g.xStart; x < width; ++x) frame.setPixel(x, y, kGridColour);
  }
  const int lineTop = g.top, lineBottom = g.bottom - 1;  // rows 30..249
  PaintColumn(frame, g.xStart, lineTop, lineBottom, kGridColour);
  for (const int hz : kGridFrequencies) {
    const int x = g.ColumnOfFrequency(hz);
    if (x > 0 && x < width) PaintColumn(frame, x, lineTop, lineBottom, kGridColour);
  }
  for (const int hz : kLabelFrequencies) {
    const int x = g.ColumnOfFrequency(hz);
    font.Draw(frame, x - 15, 255, FrequencyLabel(hz), kLabelColour, QRect(x - 15, 255, 40, 25));
  }
}

}  // namespace tavelo::ui
