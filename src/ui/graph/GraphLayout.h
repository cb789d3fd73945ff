#pragma once
// Fixed layout of the equaliser graph: rows, colours, grid frequencies, label formats and
// the readout placement. Plain values and functions the renderer and tests share.
#include <QPoint>
#include <QRgb>
#include <QString>
#include <array>

#include "core/eq/EqResponse.h"
#include "core/eq/GraphAxes.h"
#include "core/params/EqBand.h"

namespace tavelo::ui {

inline constexpr int kGraphHeight = 280;
inline constexpr QRgb kGridColour = 0x00505050;          // (80, 80, 80), alpha 0
inline constexpr QRgb kLabelColour = 0x00ffffff;         // white axis labels
inline constexpr QRgb kReadoutColour = 0x00fafa00;       // (250, 250, 0)
inline constexpr QRgb kDefaultCurveColour = 0x0014c800;  // (20, 200, 0)
inline constexpr QRgb kDefaultBandColour = 0x00008080;   // (0, 128, 128)
inline constexpr int kBandAreaAlpha = 0x30;
inline constexpr int kLabelFontPixels = 16;
inline constexpr int kReadoutFontPixels = 14;

// The axes' frequencies and texts are the core's, shared with every curve picture.
using tavelo::kGridFrequencies;
using tavelo::kLabelFrequencies;

// A logical position in the pixels of a frame drawn for `ratio` (the identity at 1).
inline int Pixels(double logical, double ratio) {
  const double v = logical * ratio + 0.5;
  const int t = static_cast<int>(v);
  return t > v ? t - 1 : t;  // floor, also for negative positions
}
// One logical pixel of line, in frame pixels.
inline int LineWidth(double ratio) {
  return ratio < 1.5 ? 1 : static_cast<int>(ratio + 0.5);
}

// Row of the k-th decibel line (k = 0 for +24 dB ... 8 for -24 dB).
inline constexpr int DbLineRow(int k) {
  return static_cast<int>(30 + 27.5 * k);
}
// "%3ddb" label of step k.
QString DbLabel(int k);
// "%dhz" below 1000, "%dkhz" from 1000.
QString FrequencyLabel(int hz);

// A band's point on the graph: column of its frequency, row of its gain.
QPoint BandPointOf(const tavelo::GraphGeometry& g, const tavelo::EqBand& band);

bool IsPassFilter(const tavelo::EqBand& band);

// Readout lines of a selected band: text and top-left corner in graph coordinates.
struct ReadoutLine {
  QString text;
  QPoint at;
};
struct Readout {
  std::array<ReadoutLine, 3> lines;
  int count = 0;
};
// Below a boosting band, above a cutting (or flat) one; pass filters get one line.
Readout ReadoutOf(const tavelo::GraphGeometry& g, const tavelo::EqBand& band);

}  // namespace tavelo::ui
