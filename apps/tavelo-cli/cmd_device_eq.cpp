// tavelo-cli eq-import / eq-export: an equaliser set of the processor from and to the filter
// text room-measurement programs write, so a measured correction is applied without
// retyping it and the processor's curve can be shown beside the measurement.
#include <iostream>
#include <string>

#include "Command.h"
#include "CommandLine.h"
#include "EqSetNames.h"
#include "cmd_device_edits.h"
#include "cmd_device_panel.h"
#include "cmd_device_session.h"
#include "core/eq/BandSyntax.h"
#include "core/eq/FilterText.h"
#include "core/params/Catalogue.h"
#include "core/presets/AtomicFile.h"
#include "core/presets/ParamFields.h"
#include "core/presets/PresetImage.h"

namespace tavelo::cli {
namespace {

// Filter files are a few kilobytes; anything far larger is not one.
constexpr std::size_t kMaxFilterFileBytes = 1 << 20;

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

int RunEqImport(const CommandArgs& args) {
  std::string error;
  const auto set = FindEqSet(args.positional[0]);
  if (!set) return UsageError("eq-import", NoEqSet(args.positional[0]));
  const auto path = ResolveFileArg(args, args.positional[1]);
  const ReadResult read = ReadWholeFile(path, kMaxFilterFileBytes);
  if (!read.ok) {
    std::cerr << "tavelo-cli eq-import: " << path.string()
              << (read.tooLarge ? " is larger than any filter file" : ": " + read.message) << "\n";
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

  if (args.Has("--dry-run")) {
    ParamImage defaults;
    ApplyDefaults(defaults);
    const FilterImport import = ImportFilters(reading.filters, defaults.set(*set), bandCount);
    PrintImportNotes(path.string(), reading, import, bandCount);
    for (const auto& w : EditWords(*set, import)) std::cout << w << "\n";
    std::cout << "(dry run: nothing was sent; flat bands keep the frequency and Q they have)\n";
    return kExitOk;
  }

  DeviceSession session(args, "eq-import");
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

int RunEqExport(const CommandArgs& args) {
  std::string error;
  const auto set = FindEqSet(args.positional[0]);
  if (!set) return UsageError("eq-export", NoEqSet(args.positional[0]));
  ParamImage image;
  std::string source;
  if (const auto from = args.Value("--from")) {
    const auto path = ResolveFileArg(args, *from);
    auto loaded = LoadPresetImage(path, error);
    if (!loaded) {
      std::cerr << "tavelo-cli eq-export: " << path.string() << ": " << error << "\n";
      return kExitFailure;
    }
    image = *loaded;
  } else {
    DeviceSession session(args, "eq-export");
    if (!session.Connect()) return kExitFailure;
    image = session.engine().Image();
    session.Disconnect();
  }
  const auto& info = kEqSets[static_cast<std::size_t>(*set)];
  const std::string text =
      WriteFilterText(image.set(*set), info.wireBands,
                      std::string(info.name) + " of preset " + ShownPresetName(image.name));
  if (const auto out = args.Value("--out")) {
    const auto path = ResolveFileArg(args, *out);
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

const RegisterCommand kImport({
    .name = "eq-import",
    .synopsis = "SET FILE [--dry-run]",
    .summary = "set an equaliser from a room-measurement filter file",
    .details =
        WrapWords("SET: " + EqSetNames(), 2, kDetailsWidth) +
        "\n"
        "  FILE: filter text (\"Filter 1: ON PK Fc 63 Hz Gain -5.0 dB Q 4.00\"), peaks and\n"
        "  shelves; band k takes the k-th filter, the other bands are set flat. Values are\n"
        "  rounded to the processor's steps and held to its limits; every filter held, left\n"
        "  over or unreadable is reported.\n"
        "  --dry-run   print the bands without a processor",
    .shared = SharedOptions::kLinkFiles,
    .flags = {"--dry-run"},
    .operands = {"SET", "FILE"},
    .minOperands = 2,
    .maxOperands = 2,
    .run = RunEqImport,
});
const RegisterCommand kExport({
    .name = "eq-export",
    .synopsis = "SET [--out FILE] [--from PRESET]",
    .summary = "write an equaliser as room-measurement filter text",
    .details = WrapWords("SET: " + EqSetNames(), 2, kDetailsWidth) +
               "\n"
               "  --from PRESET   from the parameter file PRESET instead of the processor's\n"
               "                  current preset\n"
               "  --out FILE      to FILE (replaced whole) instead of standard output",
    .shared = SharedOptions::kLinkFiles,
    .valueOptions = {"--out", "--from"},
    .operands = {"SET"},
    .minOperands = 1,
    .maxOperands = 1,
    .run = RunEqExport,
});

}  // namespace
}  // namespace tavelo::cli
