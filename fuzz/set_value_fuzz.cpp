// Arbitrary NAME=VALUE words as `tavelo-cli set` takes them. A word it accepts is applied to
// a default preset, planned and turned into its request; the line `set` then prints for it
// must itself be a word `set` accepts, meaning the same value. Every catalogue row also
// reads the value text directly: an accepted value lies in the row's range.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "core/presets/NamedEdits.h"
#include "core/presets/ValueSyntax.h"

namespace {

using namespace tavelo;

void Check(bool ok) {
  if (!ok) std::abort();
}

const ParamImage& DefaultImage() {
  static const ParamImage image = [] {
    ParamImage i;
    ApplyDefaults(i);
    return i;
  }();
  return image;
}

// The printed line without the set name a short eq form appends (" (music_eq)").
std::string WordOf(const NamedEdit& edit, const std::string& line) {
  if (edit.legacySetId < 0) return line;
  const auto open = line.rfind(" (");
  return open == std::string::npos ? line : line.substr(0, open);
}

void CheckWord(std::string_view word) {
  std::string error;
  const auto edit = ParseNamedEdit(word, error);
  if (!edit) {
    Check(!error.empty());
    return;
  }
  ParamImage image = DefaultImage();
  const auto plan = PlanEdits(image, {*edit}, error);
  if (!plan) return;  // an output set the default mode does not address
  for (const PlannedBlock& block : *plan) {
    for (const NamedEdit& e : block.edits) ApplyNamedEdit(image, e);
    (void)RequestForBlock(image, block);
  }
  const std::string line = DescribeNamedEdit(*edit, image);
  std::string again;
  const auto reread = ParseNamedEdit(WordOf(*edit, line), again);
  Check(reread.has_value());
  ParamImage second = DefaultImage();
  const auto replan = PlanEdits(second, {*reread}, again);
  Check(replan.has_value());
  for (const PlannedBlock& block : *replan) {
    for (const NamedEdit& e : block.edits) ApplyNamedEdit(second, e);
  }
  Check(second == image);
}

void CheckRowValue(std::uint8_t pick, std::string_view text) {
  const auto& rows = AllRows();
  if (rows.empty()) return;
  const CatalogueRow& r = rows[pick % rows.size()];
  if (r.kind == ValueKind::kBand) return;  // bands are the band syntax's (its own target)
  std::optional<int> on;
  if (const auto v = ParseRowValue(r, text, on)) {
    Check(*v >= r.min && *v <= RowMaximum(r));
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckWord(text);
  if (size > 0) CheckRowValue(data[0], text.substr(1));
  return 0;
}
