// tavelo-cli curve: the summed response of some bands, one line per graph column, as the
// panel would draw it on a graph of the given width.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"
#include "CurvePictureHook.h"
#include "eq/BandSyntax.h"
#include "eq/CResp.h"

namespace tavelo::cli {
namespace {

constexpr int kDefaultWidth = 1000;
// The first curve column is 50, so a narrower graph has no columns at all.
constexpr int kMinWidth = 51;
constexpr int kMaxWidth = CResp::kMaxColumns;
constexpr const char* kUsage =
    "curve [--width W] [--svg FILE | --png FILE [--scale S]] TYPE,FREQ,Q,GAIN[,SLOPE]...\n"
    "      the summed response, one CSV line per graph column; --svg or --png draws it with\n"
    "      the panel's axes instead (W pixels wide, 280 high; S device pixels per pixel, 1..4)";

int UsageError(const std::string& message) {
  std::cerr << "tavelo-cli curve: " << message << "\nusage: tavelo-cli " << kUsage << "\n";
  return kExitUsage;
}

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
  return used == text.size() && scale >= 1.0 && scale <= 4.0;
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

int RunCurve(const std::vector<std::string>& args) {
  int width = kDefaultWidth;
  std::vector<EqBand> bands;
  std::optional<CurvePictureRequest> picture;
  double scale = 1.0;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (!optionsEnded && arg == "--") {
      optionsEnded = true;
    } else if (!optionsEnded && (arg == "--width" || arg.rfind("--width=", 0) == 0)) {
      std::string value;
      if (arg == "--width") {
        if (i + 1 == args.size()) return UsageError("--width needs a value");
        value = args[++i];
      } else {
        value = arg.substr(8);
      }
      if (!ParseWidth(value, width)) {
        return UsageError("width '" + value + "' must be a whole number from 51 to 2048");
      }
    } else if (!optionsEnded && (arg == "--svg" || arg == "--png")) {
      if (i + 1 == args.size()) return UsageError(arg + " needs a FILE");
      if (picture) return UsageError("one picture at a time (--svg or --png)");
      picture = CurvePictureRequest{args[++i], arg == "--svg"};
    } else if (!optionsEnded && arg == "--scale") {
      if (i + 1 == args.size()) return UsageError("--scale needs a value");
      if (!ParseScale(args[++i], scale)) {
        return UsageError("scale '" + args[i] + "' must be a number from 1 to 4");
      }
    } else if (!optionsEnded && arg.size() > 1 && arg[0] == '-' && arg[1] == '-') {
      return UsageError("unknown option '" + arg + "'");
    } else {
      std::string error;
      const auto band = ParseBand(arg, error);
      if (!band) return UsageError("bad band '" + arg + "': " + error);
      bands.push_back(*band);
    }
  }
  if (bands.empty()) return UsageError("no band given");
  if (scale != 1.0 && (!picture || picture->svg)) return UsageError("--scale goes with --png");
  if (picture) {
    if (CurvePictureWriterSlot() == nullptr) {
      std::cerr
          << "tavelo-cli curve: this build of tavelo-cli draws no pictures (built without Qt)\n";
      return kExitFailure;
    }
    picture->width = width;
    picture->scale = scale;
    std::string error;
    if (!CurvePictureWriterSlot()(bands, *picture, error)) {
      std::cerr << "tavelo-cli curve: " << error << "\n";
      return kExitFailure;
    }
    return kExitOk;
  }

  const GraphGeometry geometry = GraphGeometry::ForWidth(width);
  CResp resp(geometry);
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

const RegisterCommand kRegister("curve", kUsage, RunCurve);

}  // namespace
}  // namespace tavelo::cli
