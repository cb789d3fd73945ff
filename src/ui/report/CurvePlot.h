#pragma once
// A picture of an equaliser curve with the panel's axes (10 Hz .. 25 kHz, +-24 dB, the same
// grid and labels), drawn as vectors so it is sharp on paper, in SVG and at any scale.
#include <QColor>
#include <QRectF>
#include <QString>
#include <vector>

#include "core/params/EqBand.h"

class QIODevice;
class QPainter;

namespace tavelo::ui {

struct PlotColours {
  QColor background, grid, label, curve, marker;
};
PlotColours ScreenPlotColours();  // the panel's graph: black, grey grid, green curve
PlotColours PaperPlotColours();   // white paper, the same curve in a darker green

// The summed response of `bands`, as the panel computes it, into `area` (labels inside it).
// `markers` numbers each band's point as the graph's markers do.
void PaintCurvePlot(QPainter& painter, const QRectF& area, const std::vector<tavelo::EqBand>& bands,
                    const PlotColours& colours, bool markers);

enum class PictureFormat { kSvg, kPng };
// Writes the plot to `path` (width x height pixels; PNG at `scale` device pixels per pixel).
// False with `error` set ("cannot write /x/y.png: ...") when the file cannot be written.
bool WriteCurvePicture(const std::vector<tavelo::EqBand>& bands, const QString& path,
                       PictureFormat format, int width, int height, double scale, QString& error);
// The same into `out`, open for writing (standard output, say); `name` names it in `error`.
// The caller flushes `out` and checks that the bytes arrived.
bool WriteCurvePicture(const std::vector<tavelo::EqBand>& bands, QIODevice& out,
                       const QString& name, PictureFormat format, int width, int height,
                       double scale, QString& error);

}  // namespace tavelo::ui
