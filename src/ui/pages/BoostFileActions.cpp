#include "ui/pages/BoostFileActions.h"

#include "core/presets/BoostFile.h"
#include "core/text/Texts.h"

namespace tavelo {

namespace {
std::string NameOf(const std::filesystem::path& path) {
  return path.filename().string();
}

// A text with two placeholders: the file's name, then the reason.
std::string Explain(TextId id, Lang lang, const std::filesystem::path& path,
                    const std::string& reason) {
  // Split on the template, so a '%' in the file's name stays harmless.
  const std::string_view text = Text(id, lang);
  const auto first = text.find("%s");
  const auto second = text.find("%s", first + 2);
  return std::string(text.substr(0, first)) + NameOf(path) +
         std::string(text.substr(first + 2, second - first - 2)) + reason +
         std::string(text.substr(second + 2));
}
}  // namespace

BoostFileReport SaveBoostAs(const BoostBlock& block, const std::filesystem::path& path, Lang lang) {
  BoostFileReport report;
  const FileResult saved = SaveBoostFile(path, block);
  if (saved.ok) {
    report.text = Text(TextId::kMsgSaveOk, lang);
    return report;
  }
  report.text = Text(TextId::kMsgSaveFailed, lang);
  report.detail = Explain(TextId::kMsgBoostCannotWrite, lang, path, saved.message);
  return report;
}

BoostFileReport LoadBoostFrom(BoostBlock& block, const std::filesystem::path& path, Lang lang) {
  BoostFileReport report;
  const BoostLoad load = LoadBoostFile(path);
  switch (load.outcome) {
    case BoostLoadOutcome::kLoaded:
      ApplyLoadedBoost(block, load.block);
      report.loaded = true;
      return report;
    case BoostLoadOutcome::kUnreadable:
      report.detail = Explain(TextId::kMsgBoostCannotRead, lang, path, load.reason);
      break;
    case BoostLoadOutcome::kRefused:
      report.detail = Explain(TextId::kMsgBoostRefused, lang, path, load.reason);
      break;
  }
  report.text = Text(TextId::kMsgLoadFail, lang);
  return report;
}

}  // namespace tavelo
