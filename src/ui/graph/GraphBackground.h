#pragma once
// The graph's grid, drawn once: decibel lines and labels, the plot's left edge, the
// frequency lines and their labels.
#include <QImage>

#include "core/eq/EqResponse.h"

namespace tavelo::ui {

// Clears frame (geometry.width x 280, times `ratio` in pixels for a hi-dpi screen) to
// black and draws the grid into it: lines one logical pixel wide, labels in a face of the
// frame's own pixel size.
void DrawGraphBackground(QImage& frame, const tavelo::GraphGeometry& geometry, double ratio = 1.0);

}  // namespace tavelo::ui
