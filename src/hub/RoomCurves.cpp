#include "hub/RoomCurves.h"

#include <QJsonArray>
#include <cmath>

#include "core/eq/EqResponse.h"
#include "core/eq/GraphAxes.h"
#include "core/presets/ParamFields.h"
#include "core/presets/ReportModel.h"
#include "hub/SetImage.h"

namespace tavelo::hub {

namespace {

// Hundredths are finer than any screen shows and keep the numbers short.
double Hundredths(double value) {
  return std::round(value * 100.0) / 100.0;
}

template <std::size_t N>
QJsonArray ArrayOf(const std::array<int, N>& values) {
  QJsonArray out;
  for (const int v : values) out.append(v);
  return out;
}

QJsonObject AxesJson() {
  return {{QStringLiteral("low_hz"), kAxisLowHz},
          {QStringLiteral("high_hz"), kAxisHighHz},
          {QStringLiteral("db_limit"), kAxisDbLimit},
          {QStringLiteral("grid_hz"), ArrayOf(kGridFrequencies)},
          {QStringLiteral("label_hz"), ArrayOf(kLabelFrequencies)}};
}

QJsonObject BandObject(const EqBand& band) {
  const bool pass = band.type == kBandLowPass || band.type == kBandHighPass;
  return {{QStringLiteral("type"), QString::fromStdString(BandTypeName(band.type))},
          {QStringLiteral("hz"), band.freq},
          {QStringLiteral("q"), band.q / 10.0},
          {QStringLiteral("gain_db"), band.gain / 10.0},
          {QStringLiteral("slope"),
           pass ? QJsonValue(QString::fromStdString(SlopeName(band.slope))) : QJsonValue()},
          {QStringLiteral("text"), QString::fromStdString(BandText(band))},
          // Pass filters and unset bands have no point of their own on the curve.
          {QStringLiteral("marker"), !pass && band.freq > 0}};
}

}  // namespace

std::optional<QJsonObject> RoomCurves(const QByteArray& parameterFile) {
  const auto image = ImageOfSet(parameterFile);
  if (!image) return std::nullopt;

  const GraphGeometry geometry = GraphGeometry::ForWidth(kCurveGraphWidth);
  EqResponse response(geometry);
  QJsonArray hz;
  for (int x = geometry.xStart; x < geometry.width; x += kCurveColumnStride)
    hz.append(Hundredths(geometry.FrequencyOfColumn(x)));

  // The report's sets carry their titles and their pass-filter bands as the pages draw them.
  QJsonArray sets;
  for (const ReportSection& section : BuildReport(*image, Lang::kEnglish)) {
    for (const ReportEq& eq : section.eqs) {
      response.SumBandCurves(eq.bands.data(), static_cast<int>(eq.bands.size()));
      QJsonArray db;
      for (int x = geometry.xStart; x < geometry.width; x += kCurveColumnStride)
        db.append(
            Hundredths(response.SumCurve()[static_cast<std::size_t>(x)] / geometry.pixelsPerDb));
      QJsonArray bands;
      for (const EqBand& band : eq.bands) bands.append(BandObject(band));
      sets.append(QJsonObject{{QStringLiteral("name"),
                               QString::fromLatin1(kEqSets[static_cast<std::size_t>(eq.set)].name)},
                              {QStringLiteral("title"),
                               QJsonObject{{QStringLiteral("en"), QString::fromStdString(eq.title)},
                                           {QStringLiteral("zh"), QString::fromStdString(EqSetTitle(
                                                                      eq.set, Lang::kChinese))}}},
                              {QStringLiteral("bands"), bands},
                              {QStringLiteral("db"), db}});
    }
  }
  return QJsonObject{{QStringLiteral("axes"), AxesJson()},
                     {QStringLiteral("hz"), hz},
                     {QStringLiteral("sets"), sets}};
}

}  // namespace tavelo::hub
