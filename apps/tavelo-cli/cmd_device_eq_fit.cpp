// tavelo-cli eq-fit: an equaliser set fitted to one or more room measurements, within what
// the processor's bands can do, and set through the same named edits as eq-import.
#include <iostream>
#include <string>
#include <vector>

#include "Command.h"
#include "CommandLine.h"
#include "EqSetNames.h"
#include "cmd_device_edits.h"
#include "cmd_device_session.h"
#include "core/eq/FilterText.h"
#include "core/eqfit/EqFit.h"
#include "core/eqfit/FitReport.h"
#include "core/eqfit/Measurement.h"
#include "core/presets/AtomicFile.h"

namespace tavelo::cli {
namespace {

constexpr const char* kName = "eq-fit";

void Say(const std::string& message) {
  std::cerr << "tavelo-cli " << kName << ": " << message << "\n";
}

// "--range 20 500" arrives as "20 500"; "--range=20,500" as "20,500".
std::optional<std::pair<double, double>> ParsePair(const std::string& text) {
  std::size_t split = text.find(' ');
  if (split == std::string::npos) split = text.find(',');
  if (split == std::string::npos) return std::nullopt;
  const auto lo = ParseLocaleNumber(text.substr(0, split));
  const auto hi = ParseLocaleNumber(text.substr(split + 1));
  if (!lo || !hi) return std::nullopt;
  return std::make_pair(*lo, *hi);
}

std::optional<ResponseCurve> ReadCurveFile(const CommandArgs& args, const std::string& file,
                                           int minPoints) {
  const auto path = ResolveFileArg(args, file);
  const ReadResult read = ReadWholeFile(path, kMaxMeasurementBytes);
  if (!read.ok) {
    Say(path.string() + (read.tooLarge ? " is larger than any measurement" : ": " + read.message));
    return std::nullopt;
  }
  const MeasurementReading reading = ReadMeasurement(
      std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()),
      minPoints);
  if (!reading.curve) {
    Say(path.string() + ": " + reading.error);
    return std::nullopt;
  }
  if (reading.pointsOutside > 0) {
    Say(path.string() + ": " + std::to_string(reading.pointsOutside) +
        " points below 20 Hz or above 20 kHz were left out");
  }
  return reading.curve;
}

// The options into settings; a usage message when one cannot be read.
std::optional<FitSettings> ReadSettings(const CommandArgs& args, std::string& error) {
  FitSettings settings;
  if (const auto range = args.Value("--range")) {
    const auto pair = ParsePair(*range);
    if (!pair) {
      error = "--range takes two frequencies in hertz, LO HI (e.g. --range 20 500)";
      return std::nullopt;
    }
    settings.fitLowHz = pair->first;
    settings.fitHighHz = pair->second;
  }
  if (const auto align = args.Value("--align")) {
    const auto pair = ParsePair(*align);
    if (!pair) {
      error = "--align takes two frequencies in hertz, LO HI (e.g. --align 200 2000)";
      return std::nullopt;
    }
    settings.alignLowHz = pair->first;
    settings.alignHighHz = pair->second;
  }
  if (const auto boost = args.Value("--max-boost")) {
    const auto db = ParseLocaleNumber(*boost);
    if (!db || *db < 0 || *db > kBandGainLimit / 10.0) {
      error = "--max-boost takes decibels from 0 to 24 (e.g. --max-boost 3)";
      return std::nullopt;
    }
    settings.maxBoostDb = *db;
  }
  return settings;
}

int RunEqFit(const CommandArgs& args) {
  const auto set = FindEqSet(args.positional[0]);
  if (!set) return UsageError(kName, NoEqSet(args.positional[0]));
  std::string error;
  const auto settings = ReadSettings(args, error);
  if (!settings) return UsageError(kName, error);

  std::vector<ResponseCurve> measurements;
  for (std::size_t i = 1; i < args.positional.size(); ++i) {
    auto curve = ReadCurveFile(args, args.positional[i], kMinMeasurementPoints);
    if (!curve) return kExitFailure;
    measurements.push_back(std::move(*curve));
  }
  std::optional<ResponseCurve> target;
  if (const auto file = args.Value("--target")) {
    target = ReadCurveFile(args, *file, 2);
    if (!target) return kExitFailure;
  }
  const auto curves = PrepareFitCurves(measurements, target ? &*target : nullptr, *settings, error);
  if (!curves) {
    Say(error + "; nothing was fitted");
    return kExitFailure;
  }
  const EqFitResult fit = FitEq(*curves, LimitsOfSet(*set, *settings));
  const FitReportInput report{*set, static_cast<int>(measurements.size()), &*settings, &*curves,
                              &fit};
  const bool json = args.Has("--json");
  std::cout << (json ? FitReportJson(report) : FitReportText(report)) << std::flush;

  if (args.Has("--dry-run")) {
    if (!json) std::cout << "(dry run: nothing was sent)\n";
    return kExitOk;
  }
  std::vector<NamedEdit> edits;
  for (const auto& word : FitEditWords(*set, fit)) {
    auto edit = ParseNamedEdit(word, error);
    if (!edit) {
      Say(error + "; nothing was sent");
      return kExitFailure;
    }
    edits.push_back(std::move(*edit));
  }
  DeviceSession session(args, kName);
  if (!session.Connect()) return kExitFailure;
  if (!json) return SendNamedEdits(session, edits, kName);
  // Standard output holds the JSON document alone; the bands as set go to standard error.
  std::streambuf* const out = std::cout.rdbuf(std::cerr.rdbuf());
  const int code = SendNamedEdits(session, edits, kName);
  std::cout.rdbuf(out);
  return code;
}

const RegisterCommand kRegister({
    .name = kName,
    .synopsis = "SET MEASUREMENT... [--target FILE] [--range LO HI] [--max-boost DB] [--dry-run] "
                "[--json]",
    .summary = "fit an equaliser set to room measurements and set it",
    .details = WrapWords("SET: " + EqSetNames(), 2, kDetailsWidth) +
               "\n"
               "  MEASUREMENT: a measured response as text (\"Export measurement as text\": lines\n"
               "  of frequency, SPL and phase, `*` comments) or two-column CSV; several files are\n"
               "  averaged after their levels are aligned. Every band of the set is fitted as a\n"
               "  peak or, where a broad rise or tilt calls for one, a shelf, within the\n"
               "  processor's ranges and steps; the set's other bands keep theirs. The report\n"
               "  gives the error before and after and the bands a limit held.\n"
               "  --target FILE     a house curve in the same form (default flat)\n"
               "  --range LO HI     fit range in hertz (default 20 20000; room modes: 20 500)\n"
               "  --align LO HI     band where the measurement meets the target's level\n"
               "                    (default 200 2000)\n"
               "  --max-boost DB    highest boost of the set's curve (default 3)\n"
               "  --dry-run         report the fit without a processor\n"
               "  --json            the report as JSON, with the curves on the fit's grid",
    .shared = SharedOptions::kLinkFiles,
    .valueOptions = {"--target", "--max-boost"},
    .pairOptions = {"--range", "--align"},
    .flags = {"--dry-run", "--json"},
    .operands = {"SET", "MEASUREMENT"},
    .minOperands = 2,
    .maxOperands = -1,
    .run = RunEqFit,
});

}  // namespace
}  // namespace tavelo::cli
