#include "ui/tools/FilterFileActions.h"

#include <cmath>
#include <cstdio>

#include "core/eq/FilterTextWords.h"
#include "core/presets/AtomicFile.h"
#include "core/presets/ReportModel.h"
#include "core/text/ToolTexts.h"

namespace tavelo {
namespace {

std::string Number(double value, int decimals, bool sign = false) {
  char text[32];
  std::snprintf(text, sizeof text, sign ? "%+.*f" : "%.*f", decimals, value);
  return text;
}

// "line 12: filter 8 (PK) 4000.0 Hz -3.0 dB Q 2.00", the gain always signed
std::string Describe(const TextFilter& f, Lang lang) {
  std::string out =
      f.number > 0 ? SayFilter(FilterWord::kLineFilterNumber, lang,
                               {std::to_string(f.line), std::to_string(f.number), f.typeWord})
                   : SayFilter(FilterWord::kLineFilter, lang, {std::to_string(f.line), f.typeWord});
  out += " " + Number(f.frequency, 1) + " Hz " + Number(f.gainDb, 1, true) + " dB";
  if (f.q > 0) out += " Q " + Number(f.q, 2);
  return out;
}

void Section(std::string& out, const std::string& heading, const std::vector<std::string>& lines) {
  if (lines.empty()) return;
  out += "\n\n" + heading;
  for (const auto& line : lines) out += "\n  " + line;
}

std::string FileName(const std::filesystem::path& path) {
  return path.filename().string();
}

}  // namespace

std::string ShownSetName(const std::string& viewName, Lang lang) {
  for (int s = 0; s < kEqSetCount; ++s)
    if (viewName == kEqSets[static_cast<std::size_t>(s)].name)
      return EqSetTitle(static_cast<EqSet>(s), lang);
  return viewName;
}

std::string ImportReport(const FilterTextReading& reading, const FilterImport& import,
                         int bandCount, const std::string& setName, Lang lang) {
  std::string out = FormatText(ToolText::kImportDone, lang, setName);
  Section(out, Text(ToolText::kImportHeld, lang), import.notes);
  std::vector<std::string> left;
  for (const auto& f : import.leftOver) left.push_back(Describe(f, lang));
  Section(out, FormatText(ToolText::kImportLeftOver, lang, std::to_string(bandCount)), left);
  Section(out, Text(ToolText::kImportProblems, lang), reading.problems);
  // What the file held beyond the filters taken is said too, so nothing goes unnoticed.
  if (reading.disabled > 0)
    out += "\n\n" + FormatText(ToolText::kImportSkippedOff, lang, std::to_string(reading.disabled));
  if (reading.otherLines > 0) {
    out += (reading.disabled > 0 ? "\n" : "\n\n") +
           FormatText(ToolText::kImportSkippedLines, lang, std::to_string(reading.otherLines));
  }
  return out;
}

FilterFileOutcome ImportFilterFile(PageModel& page, const std::filesystem::path& path, Lang lang) {
  FilterFileOutcome outcome;
  const std::string name = FileName(path);
  const ReadResult read = ReadWholeFile(path, kMaxFilterTextBytes);
  if (!read.ok) {
    outcome.message = FormatText(ToolText::kFileUnreadable, lang, name) + read.message;
    return outcome;
  }
  const std::string text(read.bytes.begin(), read.bytes.end());
  const FilterTextReading reading = ReadFilterText(text, lang);
  if (reading.filters.empty()) {
    outcome.message = FormatText(ToolText::kImportNothing, lang, name);
    Section(outcome.message, Text(ToolText::kImportProblems, lang), reading.problems);
    return outcome;
  }
  BandEditor& bands = page.BandSide();
  if (!bands.HasBands() || !bands.Enabled()) {
    outcome.message = Text(ToolText::kImportDisabled, lang);
    return outcome;
  }
  const int count = bands.EqBandCount();
  const FilterImport import = ImportFilters(reading.filters, bands.Bands(), count, lang);
  outcome.changed = bands.ImportBands(import.bands);
  outcome.message =
      ImportReport(reading, import, count, ShownSetName(bands.ViewName(), lang), lang);
  return outcome;
}

FilterFileOutcome ExportFilterFile(PageModel& page, const std::filesystem::path& path, Lang lang) {
  FilterFileOutcome outcome;
  const std::string name = FileName(path);
  BandEditor& bands = page.BandSide();
  if (!bands.HasBands()) return outcome;
  const std::string text =
      WriteFilterText(bands.Bands(), bands.EqBandCount(), "Tavelo " + bands.ViewName());
  const FileResult written =
      WriteFileAtomically(path, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  outcome.message = written.ok ? FormatText(ToolText::kExportDone, lang, name)
                               : FormatText(ToolText::kExportFailed, lang, name) + written.message;
  return outcome;
}

}  // namespace tavelo
