#include "core/presets/PresetCompare.h"

#include "core/params/Catalogue.h"
#include "core/presets/FileReport.h"
#include "core/presets/ParamFile.h"

namespace tavelo {
namespace {

// "12 ms" becomes "12" when the unit has a column of its own.
std::string WithoutUnit(std::string text, const std::string& unit) {
  const std::string suffix = " " + unit;
  if (!unit.empty() && text.size() > suffix.size() &&
      text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0)
    text.resize(text.size() - suffix.size());
  return text;
}

}  // namespace

PresetComparison CompareWithFile(const ParamImage& image, const std::filesystem::path& file) {
  PresetComparison out;
  const DescribedFile other = DescribeFile(file);
  if (!other.ok) {
    out.message = other.message;
    return out;
  }
  if (other.kind != PcFileKind::kParameterFile) {
    out.message = "it is a boost file, not a preset";
    return out;
  }
  const auto mine = DescribeParamFile(ParamFileDataFromImage(image));
  for (auto& d : DiffFieldList(mine, other.fields)) {
    const CatalogueRow* r = FindRow(d.key);
    std::string unit = r ? std::string(UnitText(r->unit)) : std::string();
    out.fields.push_back({std::move(d.key), WithoutUnit(std::move(d.a), unit),
                          WithoutUnit(std::move(d.b), unit), unit});
  }
  out.ok = true;
  return out;
}

}  // namespace tavelo
