// tavelo-cli curve: the summed response of some bands, one line per graph column, as the
// panel would draw it on a graph of the given width.
#include <cmath>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "Command.h"
#include "eq/BandSyntax.h"
#include "eq/CResp.h"

namespace tavelo::cli {
namespace {

constexpr int kDefaultWidth = 1000;
// The first curve column is 50, so a narrower graph has no columns at all.
constexpr int kMinWidth = 51;
constexpr int kMaxWidth = CResp::kMaxColumns;
constexpr const char* kUsage = "curve [--width W] TYPE,FREQ,Q,GAIN[,SLOPE]...";

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

// Rounding to the printed precision must not leave "-0.0000" for a flat response.
double WithoutNegativeZero(double v, double halfStep) {
  return std::fabs(v) < halfStep ? 0.0 : v;
}

int RunCurve(const std::vector<std::string>& args) {
  int width = kDefaultWidth;
  std::vector<EqBand> bands;
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
