#pragma once
// "Import filters..." and "Export filters..." of the EQ pages, without their widgets: a
// room-measurement filter text read into the band array the page shows (each band sent as
// its edit would be) and that array written back as such text. The outcome's message says
// what was set, what had to be held to the processor's limits, which filters the set had
// no band for, and which lines were not taken.
#include <filesystem>
#include <string>

#include "core/eq/FilterText.h"
#include "core/text/Lang.h"
#include "ui/pages/PageModel.h"

namespace tavelo {

// Filter texts are a few kilobytes; anything far larger is not one.
inline constexpr std::size_t kMaxFilterTextBytes = 1 << 20;

struct FilterFileOutcome {
  bool changed = false;  // bands were stored and sent
  std::string message;
};

FilterFileOutcome ImportFilterFile(PageModel& page, const std::filesystem::path& path, Lang lang);
FilterFileOutcome ExportFilterFile(PageModel& page, const std::filesystem::path& path, Lang lang);

// The page's words for the band array on show ("Mic EQ (MIC1)"), not its tool name
// ("mic_eq_a"); a name no set has comes back unchanged.
std::string ShownSetName(const std::string& viewName, Lang lang);

// The report of an import into `setName` (a set of `bandCount` bands).
std::string ImportReport(const FilterTextReading& reading, const FilterImport& import,
                         int bandCount, const std::string& setName, Lang lang);

}  // namespace tavelo
