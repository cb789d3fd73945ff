#include "ui/graph/GraphLayout.h"

#include <algorithm>

namespace tavelo::ui {

QString DbLabel(int k) {
  return QString::fromStdString(tavelo::DbLineText(k));
}

QString FrequencyLabel(int hz) {
  return QString::fromStdString(tavelo::FrequencyText(hz));
}

QPoint BandPointOf(const tavelo::GraphGeometry& g, const tavelo::EqBand& band) {
  // A band read from a processor may hold 0 Hz; its log has no column, so keep it at 1 Hz.
  const int hz = std::max<int>(band.freq, 1);
  return {g.ColumnOfFrequency(hz), g.RowOfGain(band.gain)};
}

bool IsPassFilter(const tavelo::EqBand& band) {
  return band.type == tavelo::kBandLowPass || band.type == tavelo::kBandHighPass;
}

Readout ReadoutOf(const tavelo::GraphGeometry& g, const tavelo::EqBand& band) {
  const QPoint p = BandPointOf(g, band);
  const int x = p.x() - 16;
  // Below a boosting band, above a flat or cutting one, so the text never hides the curve's
  // peak.
  const int base = band.gain > 0 ? p.y() + 12 : p.y() - 52;
  Readout r;
  if (IsPassFilter(band)) {
    r.lines[0] = {QString::asprintf("%dhz", band.freq), {x, base + 10}};
    r.count = 1;
    return r;
  }
  r.lines[0] = {QString::asprintf("%dhz", band.freq), {x, base}};
  r.lines[1] = {QString::asprintf("%0.1fdb", band.gain / 10.0), {x, base + 10}};
  r.lines[2] = {QString::asprintf("q=%0.1f", band.q / 10.0), {x, base + 20}};
  r.count = 3;
  return r;
}

}  // namespace tavelo::ui
