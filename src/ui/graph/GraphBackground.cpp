#include "ui/graph/GraphBackground.h"

#include "ui/graph/GraphLayout.h"
#include "ui/graph/MonoText.h"
#include "ui/skin/Blend.h"
#include "ui/skin/SkinImage.h"

namespace tavelo::ui {

void DrawGraphBackground(QImage& frame, const tavelo::GraphGeometry& g, double ratio) {
  const auto px = [ratio](double logical) { return Pixels(logical, ratio); };
  const int line = LineWidth(ratio);
  frame = QImage(DeviceSize(QSize(g.width, kGraphHeight), ratio), QImage::Format_ARGB32);
  frame.fill(0u);
  const int width = frame.width();
  const MonoText font(px(kLabelFontPixels));

  for (int k = 0; k < 9; ++k) {
    const int y = DbLineRow(k);
    font.Draw(frame, px(2), px(y - 8), DbLabel(k), kLabelColour,
              QRect(px(2), px(y - 8), px(48), px(20)));
    for (int dy = 0; dy < line; ++dy)
      for (int x = px(g.xStart); x < width; ++x) frame.setPixel(x, px(y) + dy, kGridColour);
  }
  const int lineTop = px(g.top), lineBottom = px(g.bottom - 1) + line - 1;  // rows 30..249
  const auto column = [&](int x) {
    for (int dx = 0; dx < line; ++dx) PaintColumn(frame, x + dx, lineTop, lineBottom, kGridColour);
  };
  column(px(g.xStart));
  for (const int hz : kGridFrequencies) {
    const int x = g.ColumnOfFrequency(hz);
    if (x > 0 && x < g.width) column(px(x));
  }
  for (const int hz : kLabelFrequencies) {
    const int x = g.ColumnOfFrequency(hz);
    font.Draw(frame, px(x - 15), px(255), FrequencyLabel(hz), kLabelColour,
              QRect(px(x - 15), px(255), px(40), px(25)));
  }
  frame.setDevicePixelRatio(ratio);
}

}  // namespace tavelo::ui
