#include "core/text/Placeholders.h"

#include <vector>

namespace tavelo {

std::string FillPlaceholders(std::string_view text, std::initializer_list<std::string_view> args) {
  const std::vector<std::string_view> given(args);
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '{' && i + 2 < text.size() && text[i + 2] == '}' && text[i + 1] >= '0' &&
        text[i + 1] <= '9') {
      const auto n = static_cast<std::size_t>(text[i + 1] - '0');
      if (n < given.size()) out += given[n];
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

}  // namespace tavelo
