#include "JsonText.h"

#include <charconv>
#include <cmath>

#include "core/presets/ParamFields.h"

namespace tavelo::cli {

JsonObject& JsonObject::Field(std::string_view key, std::string_view json) {
  if (!body_.empty()) body_ += ", ";
  body_ += JsonString(key);
  body_ += ": ";
  body_ += json;
  return *this;
}

JsonObject& JsonObject::Text(std::string_view key, std::string_view value) {
  return Field(key, JsonString(value));
}

JsonObject& JsonObject::Number(std::string_view key, long long value) {
  return Field(key, std::to_string(value));
}

JsonObject& JsonObject::Decimal(std::string_view key, double value, int decimals) {
  // JSON has no NaN or infinity; a value that is not a number is none.
  if (!std::isfinite(value)) return Field(key, "null");
  // Not printf: the Qt application has set the user's locale, which may write "1,5".
  char text[64];
  const auto end =
      std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
  return Field(key, std::string_view(text, static_cast<std::size_t>(end - text)));
}

JsonObject& JsonObject::Bool(std::string_view key, bool value) {
  return Field(key, value ? "true" : "false");
}

JsonObject& JsonObject::Raw(std::string_view key, std::string_view json) {
  return Field(key, json);
}

std::string JsonList(const std::vector<std::string>& items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ", " : "") + items[i];
  return out + "]";
}

std::string JsonLines(const std::vector<std::string>& items) {
  std::string out = "[";
  for (std::size_t i = 0; i < items.size(); ++i) out += (i ? ",\n  " : "\n  ") + items[i];
  return out + "\n]\n";
}

}  // namespace tavelo::cli
