#include "core/params/PresetName.h"

namespace tavelo {

std::array<char, kPresetNameSize> SanitisePresetName(std::string_view name) {
  std::array<char, kPresetNameSize> out;
  out.fill(' ');
  for (std::size_t i = 0; i < out.size() && i < name.size(); ++i) {
    const auto c = static_cast<unsigned char>(name[i]);
    out[i] = (c < 32 || c > 122) ? ' ' : static_cast<char>(c);
  }
  return out;
}

std::string PresetNameText(const std::array<char, kPresetNameSize>& name) {
  std::string text(name.begin(), name.end());
  if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text;
}

}  // namespace tavelo
