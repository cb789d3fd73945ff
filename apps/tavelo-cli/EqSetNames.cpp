#include "EqSetNames.h"

#include "core/presets/ParamFields.h"

namespace tavelo::cli {

std::optional<EqSet> FindEqSet(const std::string& name) {
  for (int s = 0; s < kEqSetCount; ++s) {
    if (name == kEqSets[static_cast<std::size_t>(s)].name) return static_cast<EqSet>(s);
  }
  return std::nullopt;
}

std::string EqSetNames() {
  std::string names;
  for (const auto& info : kEqSets) names += std::string(names.empty() ? "" : ", ") + info.name;
  return names;
}

std::string NoEqSet(const std::string& name) {
  return "no equaliser set " + JsonString(name) + " (SET: " + EqSetNames() + ")";
}

}  // namespace tavelo::cli
