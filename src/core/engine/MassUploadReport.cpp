#include "core/engine/MassUploadReport.h"

#include "core/text/Texts.h"

namespace tavelo {

std::vector<int> MassUploadReport::SlotsIn(MassSlotState state) const {
  std::vector<int> out;
  for (auto it = entries.rbegin(); it != entries.rend(); ++it) {
    if (it->state == state) out.push_back(it->slot);
  }
  return out;
}

std::string DescribeMassUpload(const MassUploadReport& report, Lang lang) {
  const auto list = [&](MassSlotState state) {
    const std::vector<int> found = report.SlotsIn(state);
    if (found.empty()) return std::string(Text(TextId::kMassSlotsNone, lang));
    std::string text;
    for (const int slot : found) {
      if (!text.empty()) text += ", ";
      text += std::to_string(slot + 1);
    }
    return text;
  };
  return FormatText(TextId::kMassSlotsWritten, lang, list(MassSlotState::kWritten)) + "\n" +
         FormatText(TextId::kMassSlotsInProgress, lang, list(MassSlotState::kInProgress)) + "\n" +
         FormatText(TextId::kMassSlotsNotReached, lang, list(MassSlotState::kNotReached));
}

}  // namespace tavelo
