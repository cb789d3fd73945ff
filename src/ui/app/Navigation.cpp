#include "ui/app/Navigation.h"

namespace tavelo::nav {

std::optional<int> IndexOfPageName(std::string_view name) {
  if (name.empty()) return std::nullopt;
  for (const auto& entry : kNavTable)
    if (name == entry.cliName) return entry.index;
  return std::nullopt;
}

}  // namespace tavelo::nav
