#pragma once
// The graph's grid, drawn once: decibel lines and labels, the plot's left edge, the
// frequency lines and their labels.
#include <QImage>

#include "eq/CResp.h"

namespace tavelo::ui {

// Clears frame (geometry.width x 280) to black and draws the grid into it.
void DrawGraphBackground(QImage& frame, const tavelo::GraphGeometry& geometry);

}  // namespace tavelo::ui
