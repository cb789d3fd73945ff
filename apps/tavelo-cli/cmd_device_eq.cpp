// tavelo-cli eq-import / eq-export: an equaliser set of the processor from and to the filter
// text room-measurement programs write, so a measured correction is applied without
// retyping it and the processor's curve can be shown beside the measurement.
#include <iostream>
#include <string>

#include "Command.h"
#include "cmd_device_edits.h"
#include "cmd_device_options.h"
#include "cmd_device_panel.h"
#include "cmd_device_session.h"
#include "eq/BandSyntax.h"
#include "eq/FilterText.h"
#include "params/Catalogue.h"
#include "presets/AtomicFile.h"
#include "presets/ParamFields.h"
#include "presets/PresetImage.h"

namespace tavelo::cli {
namespace {

// Filter files are a few kilobytes; anything far larger is not one.
constexpr std::size_t kMaxFilterFileBytes = 1 << 20;

std::string SetNames() {
  std::string names;
  for (const auto& info : kEqSets) names += std::string(names.empty() ? "" : ", ") + info.name;
  return names;
}

std::string SetUsageLine() {
  return "\n      SET: " + SetNames();
}

const std::string kImportUsage =
    DeviceUsage("eq-import SET FILE [--dry-run]",
                "set an equaliser from a room-measurement filter file") +
    SetUsageLine() +
    "\n      FILE: filter text (\"Filter 1: ON PK Fc 63 Hz Gain -5.0 dB Q 4.00\"), peaks and"
    "\n      shelves; band k takes the k-th filter, the other bands are set flat. Values are"
    "\n      rounded to the processor's steps and held to its limits; every filter held, left"
    "\n      over or unreadable is reported. --dry-run prints the bands without a processor.";
const std::string kExportUsage =
    DeviceUsage("eq-export SET [--out FILE] [--from PRESET]",
                "write an equaliser as room-measurement filter text") +
    SetUsageLine() +
    "\n      from the processor's current preset, or from the parameter file PRESET;"
    "\n      to FILE (replaced whole) or standard output.";

std::optional<EqSet> FindSet(const std::string& name) {
  for (int s = 0; s < kEqSetCount; ++s) {
    if (name == kEqSets[static_cast<std::size_t>(s)].name) return static_cast<EqSet>(s);
  }
  return std::nullopt;
}

std::string FilterSummary(const TextFilter& f) {
  return "filter " + (f.number > 0 ? std::to_string(f.number) + " " : std::string()) + "(line " +
         std::to_string(f.line) + ", " + f.typeWord + ")";
}

// The edits that give `set` the imported bands, in band order.
std::vector<std::string> EditWords(EqSet set, const FilterImport& import) {
  std::vector<std::string> words;
  for (std::size_t b = 0; b < import.bands.size(); ++b) {
    words.push_back(std::string(RowOf(BandRow(set, static_cast<int>(b))).name) + "=" +
                    FormatBand(import.bands[b]));
  }
  return words;
}

void PrintImportNotes(const std::string& path, const FilterTextReading& reading,
                      const FilterImport& import, int bandCount) {
  for (const auto& p : reading.problems) {
    std::cerr << "tavelo-cli eq-import: " << path << " " << p << "; not imported\n";
  }
  for (const auto& n : import.notes) std::cerr << "tavelo-cli eq-import: " << n << "\n";
  for (const auto& f : import.leftOver) {
    std::cerr << "tavelo-cli eq-import: " << FilterSummary(f) << " not taken: the set has "
              << bandCount << " bands\n";
  }
}

int RunEqImport(const std::vector<std::string>& words) {
  std::string error;
  const auto args = ParseDeviceArgs(words, {{}, {"--dry-run"}, 2, 2}, error);
  if (!args) return DeviceUsageError("eq-import", kImportUsage, error);
  const auto set = FindSet(args->positional[0]);
  if (!set) {
    return DeviceUsageError("eq-import", kImportUsage,
                            "no equaliser set " + JsonString(args->positional[0]));
  }
  const auto path = ResolveFileArg(*args, args->positional[1]);
  const ReadResult read = ReadWholeFile(path, kMaxFilterFileBytes);
  if (!read.ok) {
    std::cerr << "tavelo-cli eq-import: "
              << (read.tooLarge ? path.string() + " is larger than any filter file" : read.message)
              << "\n";
    return kExitFailure;
  }
  const FilterTextReading reading = ReadFilterText(
      std::string_view(reinterpret_cast<const char*>(read.bytes.data()), read.bytes.size()));
  if (reading.filters.empty()) {
    for (const auto& p : reading.problems) std::cerr << "tavelo-cli eq-import: " << p << "\n";
    std::cerr << "tavelo-cli eq-import: " << path.string()
              << " holds no filter the processor's bands can take; nothing was set\n";
    return kExitFailure;
  }
  const int bandCount = kEqSets[static_cast<std::size_t>(*set)].wireBands;

  if (args->Has("--dry-run")) {
    ParamImage defaults;
    ApplyDefaults(defaults);
    const FilterImport import = ImportFilters(reading.filters, defaults.set(*set), bandCount);
    PrintImportNotes(path.string(), reading, import, bandCount);
    for (const auto& w : EditWords(*set, import)) std::cout << w << "\n";
    std::cout << "(dry run: nothing was sent; flat bands keep the frequency and Q they have)\n";
    return kExitOk;
  }

  DeviceSession session(*args, "eq-import");
  if (!session.Connect()) return kExitFailure;
  const FilterImport import =
      ImportFilters(reading.filters, session.engine().Image().set(*set), bandCount);
  PrintImportNotes(path.string(), reading, import, bandCount);
  std::vector<NamedEdit> edits;
  for (const auto& w : EditWords(*set, import)) {
    auto edit = ParseNamedEdit(w, error);
    if (!edit) {
      std::cerr << "tavelo-cli eq-import: " << error << "; nothing was sent\n";
      session.Disconnect();
      return kExitFailure;
    }
    edits.push_back(std::move(*edit));
  }
  return SendNamedEdits(session, edits, "eq-import");
}

int RunEqExport(const std::vector<std::string>& words) {
  std::string error;
  const auto args = ParseDeviceArgs(words, {{"--out", "--from"}, {}, 1, 1}, error);
  if (!args) return DeviceUsageError("eq-export", kExportUsage, error);
  const auto set = FindSet(args->positional[0]);
  if (!set) {
    return DeviceUsageError("eq-export", kExportUsage,
                            "no equaliser set " + JsonString(args->positional[0]));
  }
  ParamImage image;
  std::string source;
  if (const auto from = args->Value("--from")) {
    const auto path = ResolveFileArg(*args, *from);
    auto loaded = LoadPresetImage(path, error);
    if (!loaded) {
      std::cerr << "tavelo-cli eq-export: " << path.string() << ": " << error << "\n";
      return kExitFailure;
    }
    image = *loaded;
  } else {
    DeviceSession session(*args, "eq-export");
    if (!session.Connect()) return kExitFailure;
    image = session.engine().Image();
    session.Disconnect();
  }
  const auto& info = kEqSets[static_cast<std::size_t>(*set)];
  const std::string text =
      WriteFilterText(image.set(*set), info.wireBands,
                      std::string(info.name) + " of preset " + ShownPresetName(image.name));
  if (const auto out = args->Value("--out")) {
    const auto path = ResolveFileArg(*args, *out);
    const FileResult written =
        WriteFileAtomically(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
    if (!written.ok) {
      std::cerr << "tavelo-cli eq-export: " << written.message << "\n";
      return kExitFailure;
    }
    std::cerr << "wrote " << info.wireBands << " bands of " << info.name << " to " << path.string()
              << "\n";
    return kExitOk;
  }
  std::cout << text << std::flush;
  return std::cout ? kExitOk : kExitFailure;
}

const RegisterCommand kImport("eq-import", kImportUsage, RunEqImport);
const RegisterCommand kExport("eq-export", kExportUsage, RunEqExport);

}  // namespace
}  // namespace tavelo::cli
