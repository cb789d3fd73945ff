#include "core/text/Escaped.h"

#include <cstdio>

namespace tavelo {

std::string EscapedBytes(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  for (const char c : bytes) {
    const auto u = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (u < 0x20 || u >= 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(u));
      out += buf;
    } else {
      out += c;
    }
  }
  return out;
}

std::string ShownArgument(std::string_view bytes, std::size_t maxBytes) {
  if (bytes.size() <= maxBytes) return EscapedBytes(bytes);
  return EscapedBytes(bytes.substr(0, maxBytes)) + "... (" + std::to_string(bytes.size()) +
         " bytes)";
}

std::string TerminalSafe(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto u = static_cast<unsigned char>(c);
    if (u < 0x20 || u == 0x7F) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04X", static_cast<unsigned>(u));
      out += buf;
    } else {
      out += c;
    }
  }
  return out;
}

std::string QuotedBytes(std::string_view bytes) {
  return "\"" + EscapedBytes(bytes) + "\"";
}

}  // namespace tavelo
