#pragma once
// The JSON the commands print for --json: objects written field by field in the order given,
// every text through JsonString, so a name from a file, an inventory or a processor arrives
// escaped and quoted.
#include <string>
#include <string_view>
#include <vector>

namespace tavelo::cli {

class JsonObject {
 public:
  JsonObject& Text(std::string_view key, std::string_view value);
  JsonObject& Number(std::string_view key, long long value);
  // A number with `decimals` places: a level in dB, say.
  JsonObject& Decimal(std::string_view key, double value, int decimals);
  JsonObject& Bool(std::string_view key, bool value);
  // `json` is a JSON value already (an object, a list).
  JsonObject& Raw(std::string_view key, std::string_view json);
  // {"key": value, ...} on one line.
  std::string Str() const { return "{" + body_ + "}"; }

 private:
  JsonObject& Field(std::string_view key, std::string_view json);
  std::string body_;
};

// [A, B] on one line.
std::string JsonList(const std::vector<std::string>& items);
// The fleet commands' form: "[", one item a line indented by two, "]", and a newline.
std::string JsonLines(const std::vector<std::string>& items);

}  // namespace tavelo::cli
