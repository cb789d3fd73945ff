#include "ui/pages/BoostFileActions.h"

#include "core/text/Texts.h"
#include "presets/BoostFile.h"

namespace tavelo {

namespace {
std::string NameOf(const std::filesystem::path& path) {
  return path.filename().string();
}
}  // namespace

BoostFileReport SaveBoostAs(const BoostBlock& block, const std::filesystem::path& path) {
  BoostFileReport report;
  const FileResult saved = SaveBoostFile(path, block);
  if (saved.ok) {
    report.text = Text(TextId::kMsgSaveOk, Lang::kChinese);
    return report;
  }
  report.text = Text(TextId::kMsgSaveFailed, Lang::kChinese);
  report.detail = "Cannot write " + NameOf(path) + ": " + saved.message +
                  ". An earlier file of that name is unchanged.";
  return report;
}

BoostFileReport LoadBoostFrom(BoostBlock& block, const std::filesystem::path& path) {
  BoostFileReport report;
  const BoostLoad load = LoadBoostFile(path);
  switch (load.outcome) {
    case BoostLoadOutcome::kLoaded:
      ApplyLoadedBoost(block, load.block);
      report.loaded = true;
      return report;
    case BoostLoadOutcome::kUnreadable:
      report.detail = "Cannot read " + NameOf(path) + ": " + load.reason + ".";
      break;
    case BoostLoadOutcome::kRefused:
      report.detail = NameOf(path) + " is not a usable boost file (" + load.reason +
                      "). Nothing was loaded or sent to the processor.";
      break;
  }
  report.text = Text(TextId::kMsgLoadFail, Lang::kChinese);
  return report;
}

}  // namespace tavelo
