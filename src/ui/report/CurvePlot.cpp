#include "ui/report/CurvePlot.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QSvgGenerator>
#include <cmath>

#include "core/eq/EqResponse.h"
#include "core/eq/GraphAxes.h"
#include "core/presets/AtomicFile.h"
#include "ui/graph/GraphLayout.h"

namespace tavelo::ui {

namespace {

// Curve resolution: the widest graph the panel draws.
constexpr int kColumns = 1200;

QColor Rgb(QRgb value) {
  return QColor(qRed(value), qGreen(value), qBlue(value));
}

struct Axes {
  QRectF plot;
  double XOf(double hz) const {
    const double span = std::log10(tavelo::kAxisHighHz / tavelo::kAxisLowHz);
    return plot.left() + std::log10(hz / tavelo::kAxisLowHz) / span * plot.width();
  }
  double YOf(double db) const {
    const double limit = tavelo::kAxisDbLimit;
    return plot.top() +
           (limit - std::clamp(db, -limit * 1.5, limit * 1.5)) / (2 * limit) * plot.height();
  }
};

}  // namespace

PlotColours ScreenPlotColours() {
  return {Qt::black, Rgb(kGridColour), Rgb(kLabelColour), Rgb(kDefaultCurveColour),
          Rgb(kReadoutColour)};
}

PlotColours PaperPlotColours() {
  return {Qt::white, QColor(200, 200, 200), QColor(60, 60, 60), QColor(10, 120, 0),
          QColor(160, 20, 20)};
}

void PaintCurvePlot(QPainter& painter, const QRectF& area, const std::vector<tavelo::EqBand>& bands,
                    const PlotColours& colours, bool markers) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(area, colours.background);
  const double unit = area.height() / 280.0;  // the panel's graph is 280 rows high
  QFont font("DejaVu Sans Mono");
  font.setPixelSize(std::max(1, static_cast<int>(std::lround(11 * unit))));
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  const double left = metrics.horizontalAdvance("-24db") + 8 * unit;
  Axes axes{QRectF(area.left() + left, area.top() + 10 * unit, area.width() - left - 14 * unit,
                   area.height() - 10 * unit - metrics.height() - 8 * unit)};

  QPen grid(colours.grid);
  grid.setWidthF(std::max(0.5, 0.8 * unit));
  painter.setPen(grid);
  for (int k = 0; k < tavelo::kDbLineCount; ++k) {
    const double y = axes.YOf(tavelo::DbOfLine(k));
    painter.drawLine(QPointF(axes.plot.left(), y), QPointF(axes.plot.right(), y));
  }
  painter.drawLine(axes.plot.topLeft(), axes.plot.bottomLeft());
  for (const int hz : tavelo::kGridFrequencies) {
    const double x = axes.XOf(hz);
    painter.drawLine(QPointF(x, axes.plot.top()), QPointF(x, axes.plot.bottom()));
  }
  painter.setPen(colours.label);
  for (int k = 0; k < tavelo::kDbLineCount; ++k) {
    const double y = axes.YOf(tavelo::DbOfLine(k));
    painter.drawText(
        QRectF(area.left(), y - metrics.height() / 2, left - 4 * unit, metrics.height()),
        Qt::AlignRight | Qt::AlignVCenter, QString::fromStdString(tavelo::DbLineText(k)).trimmed());
  }
  for (const int hz : tavelo::kLabelFrequencies) {
    const double x = axes.XOf(hz);
    painter.drawText(
        QRectF(x - 30 * unit, axes.plot.bottom() + 3 * unit, 60 * unit, metrics.height()),
        Qt::AlignHCenter | Qt::AlignTop, QString::fromStdString(tavelo::FrequencyText(hz)));
  }

  // The response as the panel computes it, one point per column of a wide graph.
  const tavelo::GraphGeometry g = tavelo::GraphGeometry::ForWidth(kColumns);
  tavelo::EqResponse resp(g);
  resp.SumBandCurves(bands.data(), static_cast<int>(bands.size()));
  QPainterPath path;
  bool started = false;
  for (int x = g.xStart; x < g.width; ++x) {
    const double hz = g.FrequencyOfColumn(x);
    if (hz < tavelo::kAxisLowHz || hz > tavelo::kAxisHighHz) continue;
    const double db = resp.SumCurve()[static_cast<std::size_t>(x)] / g.pixelsPerDb;
    const QPointF point(axes.XOf(hz), axes.YOf(db));
    started ? path.lineTo(point) : path.moveTo(point);
    started = true;
  }
  painter.setClipRect(axes.plot.adjusted(-1, -1, 1, 1));
  QPen curve(colours.curve);
  curve.setWidthF(2.0 * unit);
  painter.setPen(curve);
  painter.drawPath(path);

  if (markers) {
    QFont small = font;
    small.setPixelSize(std::max(1, static_cast<int>(std::lround(9 * unit))));
    painter.setFont(small);
    for (std::size_t i = 0; i < bands.size(); ++i) {
      const tavelo::EqBand& b = bands[i];
      if (b.freq <= 0 || IsPassFilter(b)) continue;
      const QPointF at(axes.XOf(b.freq), axes.YOf(b.gain / 10.0));
      const double r = 6.5 * unit;
      painter.setPen(QPen(colours.marker, 1.2 * unit));
      painter.setBrush(colours.background);
      painter.drawEllipse(at, r, r);
      painter.drawText(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r), Qt::AlignCenter,
                       QString::number(i + 1));
    }
  }
  painter.restore();
}

bool WriteCurvePicture(const std::vector<tavelo::EqBand>& bands, const QString& path,
                       PictureFormat format, int width, int height, double scale, QString& error) {
  // Drawn in memory first, then saved whole: a full disk or a failed encoding leaves no
  // truncated picture (and any earlier one) behind.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!WriteCurvePicture(bands, buffer, path, format, width, height, scale, error)) return false;
  buffer.close();
  const FileResult saved =
      WriteFileAtomically(std::filesystem::path(path.toStdString()),
                          reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                          static_cast<std::size_t>(bytes.size()));
  if (!saved.ok) {
    error = QString::fromStdString(saved.message);
    return false;
  }
  return true;
}

bool WriteCurvePicture(const std::vector<tavelo::EqBand>& bands, QIODevice& out,
                       const QString& name, PictureFormat format, int width, int height,
                       double scale, QString& error) {
  const QRectF area(0, 0, width, height);
  if (format == PictureFormat::kSvg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(QSize(width, height));
    svg.setViewBox(area);
    svg.setTitle("Equaliser response");
    QPainter painter(&svg);
    PaintCurvePlot(painter, area, bands, ScreenPlotColours(), true);
  } else {
    QImage image(QSize(static_cast<int>(std::lround(width * scale)),
                       static_cast<int>(std::lround(height * scale))),
                 QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    {
      QPainter painter(&image);
      PaintCurvePlot(painter, area, bands, ScreenPlotColours(), true);
    }
    if (!image.save(&out, "PNG")) {
      error = QString("cannot write %1: the picture could not be encoded").arg(name);
      return false;
    }
  }
  return true;
}

}  // namespace tavelo::ui
