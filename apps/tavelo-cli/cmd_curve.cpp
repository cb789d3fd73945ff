// tavelo-cli curve: the summed response of some bands, one line per graph column, as the
// panel would draw it on a graph of the given width.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"
#include "CommandLine.h"
#include "CurvePictureHook.h"
#include "core/eq/BandSyntax.h"
#include "core/eq/EqResponse.h"
#include "core/text/Escaped.h"

namespace tavelo::cli {
namespace {

constexpr int kDefaultWidth = 1000;
// The first curve column is 50, so a narrower graph has no columns at all.
constexpr int kMinWidth = 51;
constexpr int kMaxWidth = EqResponse::kMaxColumns;
constexpr const char* kName = "curve";
constexpr double kMinScale = 1.0;
constexpr double kMaxScale = 4.0;

bool ParseWidth(const std::string& text, int& width) {
  std::size_t used = 0;
  try {
    width = std::stoi(text, &used);
  } catch (const std::exception&) {
    return false;
  }
  return used == text.size() && width >= kMinWidth && width <= kMaxWidth;
}

bool ParseScale(const std::string& text, double& scale) {
  std::size_t used = 0;
  try {
    scale = std::stod(text, &used);
  } catch (const std::exception&) {
    return false;
  }
  return used == text.size() && scale >= kMinScale && scale <= kMaxScale;
}

}  // namespace

CurvePictureWriter& CurvePictureWriterSlot() {
  static CurvePictureWriter writer = nullptr;
  return writer;
}

namespace {

// Rounding to the printed precision must not leave "-0.0000" for a flat response.
double WithoutNegativeZero(double v, double halfStep) {
  return std::fabs(v) < halfStep ? 0.0 : v;
}

int RunCurve(const CommandArgs& args) {
  int width = kDefaultWidth;
  if (const auto value = args.Value("--width"); value && !ParseWidth(*value, width)) {
    return UsageError(kName, "width '" + ShownArgument(*value) + "' must be a whole number from " +
                                 std::to_string(kMinWidth) + " to " + std::to_string(kMaxWidth));
  }
  const auto svg = args.Value("--svg");
  const auto png = args.Value("--png");
  if (svg && png) return UsageError(kName, "one picture at a time (--svg or --png)");
  std::optional<CurvePictureRequest> picture;
  if (svg || png) picture = CurvePictureRequest{svg ? *svg : *png, svg.has_value()};
  double scale = 1.0;
  if (const auto value = args.Value("--scale")) {
    if (!png) return UsageError(kName, "--scale goes with --png");
    if (!ParseScale(*value, scale)) {
      return UsageError(kName,
                        "scale '" + ShownArgument(*value) + "' must be a number from 1 to 4");
    }
  }
  std::vector<EqBand> bands;
  for (const std::string& word : args.positional) {
    std::string error;
    const auto band = ParseBand(word, error);
    if (!band) return UsageError(kName, "bad band '" + ShownArgument(word) + "': " + error);
    bands.push_back(*band);
  }
  if (picture) {
    if (CurvePictureWriterSlot() == nullptr) {
      return CommandFailure(kName, "this build of tavelo-cli draws no pictures (built without Qt)");
    }
    picture->width = width;
    picture->scale = scale;
    std::string error;
    if (!CurvePictureWriterSlot()(bands, *picture, error)) return CommandFailure(kName, error);
    return kExitOk;
  }

  const GraphGeometry geometry = GraphGeometry::ForWidth(width);
  EqResponse resp(geometry);
  resp.SumBandCurves(bands.data(), static_cast<int>(bands.size()));
  const auto& sum = resp.SumCurve();

  std::string out = "column,frequency_hz,gain_db\n";
  char line[96];
  for (int x = geometry.xStart; x < geometry.width; ++x) {
    const double db = WithoutNegativeZero(sum[x] / geometry.pixelsPerDb, 0.00005);
    std::snprintf(line, sizeof line, "%d,%.2f,%.4f\n", x, geometry.FrequencyOfColumn(x), db);
    out += line;
  }
  std::cout << out << std::flush;
  return std::cout ? kExitOk : kExitFailure;
}

const RegisterCommand kRegister({
    .name = kName,
    .synopsis = "[--width W] [--svg FILE | --png FILE [--scale S]] TYPE,FREQ,Q,GAIN[,SLOPE]...",
    .summary = "the summed response of the bands, one CSV line per graph column, as the panel "
               "draws it",
    .details = "  --width W    the graph's width in columns or pixels (" +
               std::to_string(kMinWidth) + " to " + std::to_string(kMaxWidth) + "; default " +
               std::to_string(kDefaultWidth) +
               ")\n"
               "  --svg FILE   draw it with the panel's axes into an SVG picture instead\n"
               "  --png FILE   the same as a PNG picture, 280 pixels high\n"
               "               (FILE - sends the picture to standard output)\n"
               "  --scale S    device pixels per pixel of the PNG, 1 to 4 (default 1)\n"
               "  A band: TYPE peak|lowshelf|highshelf|lowpass|highpass, FREQ 20..20000 Hz, Q,\n"
               "  GAIN -24..24 dB, SLOPE (pass filters) as `set --list` names them; show's\n"
               "  text for a band (\"peak 1000 Hz q=1.0 +3.0 dB\") reads as well.",
    .valueOptions = {"--width", "--svg", "--png", "--scale"},
    .operands = {"TYPE,FREQ,Q,GAIN[,SLOPE]..."},
    .minOperands = 1,
    .maxOperands = -1,
    .run = RunCurve,
});

}  // namespace
}  // namespace tavelo::cli
