#include "core/presets/ValueSyntax.h"

#include <charconv>
#include <cstdio>

#include "core/eq/BandSyntax.h"

namespace tavelo {
namespace {

std::string_view Trim(std::string_view s) {
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  return s;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

// Removes a unit written after the number ("1000 Hz", "20ms"), whatever its case.
std::string_view WithoutSuffix(std::string_view s, std::string_view suffix) {
  s = Trim(s);
  if (s.size() > suffix.size() && EqualsIgnoringCase(s.substr(s.size() - suffix.size()), suffix)) {
    s.remove_suffix(suffix.size());
  }
  return Trim(s);
}

std::optional<long long> ParseInteger(std::string_view s, int base) {
  s = Trim(s);
  if (base == 16 && s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.remove_prefix(2);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  long long v = 0;
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (s.empty() || ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
  return v;
}

std::string Joined(std::span<const std::string_view> names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : "|") + std::string(n);
  return out;
}

std::string SlopeWords() {
  std::string out;
  for (int s = 0; s < kSlopeCount; ++s) out += (s ? "|" : "") + std::string(SlopeWord(s));
  return out;
}

std::string Hex(long long v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*llX", digits, v);
  return buf;
}

int HexDigits(const CatalogueRow& r) {
  return r.place.where == Where::kBoostSwitches ? 2 : 8;
}

}  // namespace

std::optional<bool> ParseOnOff(std::string_view s) {
  s = Trim(s);
  for (std::string_view on : {"on", "1", "true"}) {
    if (EqualsIgnoringCase(s, on)) return true;
  }
  for (std::string_view off : {"off", "0", "false"}) {
    if (EqualsIgnoringCase(s, off)) return false;
  }
  return std::nullopt;
}

long long RowMaximum(const CatalogueRow& r) {
  return r.kind == ValueKind::kHex ? (HexDigits(r) == 2 ? 0xFF : 0xFFFFFFFFLL) : r.max;
}

std::string RangeText(const CatalogueRow& r) {
  switch (r.kind) {
    case ValueKind::kOnOff:
      return "on|off";
    case ValueKind::kChoice:
      return Joined(r.choices);
    case ValueKind::kSlope:
      return SlopeWords();
    case ValueKind::kHex:
      return Hex(0, HexDigits(r)) + " to " + Hex(RowMaximum(r), HexDigits(r));
    case ValueKind::kBand:
      if (const auto pass = PassFilterOf(r)) {
        const CatalogueRow& freq = RowOf(pass->frequency);
        const bool low = r.place.band == kEqSets[static_cast<std::size_t>(r.place.index)].wireBands;
        return std::string(low ? "lowpass" : "highpass") + ",FREQ,Q,GAIN" +
               (pass->slope ? "[,SLOPE]" : "") + " (FREQ " + std::to_string(freq.min) + " to " +
               std::to_string(freq.max) + ")";
      }
      return "TYPE,FREQ,Q,GAIN";
    case ValueKind::kLevel:
      return std::to_string(r.min) + " to " + std::to_string(r.max) +
             ", or \"N on\" / \"N off\" setting its button too";
    case ValueKind::kTonePosition:
      return std::to_string(r.min) + " to " + std::to_string(r.max) + " or -24.0dB to +24.0dB";
    case ValueKind::kNumber:
    case ValueKind::kHz:
    case ValueKind::kMs:
    case ValueKind::kText:
      break;
  }
  return std::to_string(r.min) + " to " + std::to_string(r.max);
}

std::optional<long long> ParseWhole(std::string_view text) {
  return ParseInteger(text, 10);
}

std::optional<long long> ParseRowValue(const CatalogueRow& r, std::string_view text,
                                       std::optional<int>& on) {
  switch (r.kind) {
    case ValueKind::kOnOff:
      if (const auto b = ParseOnOff(text)) return *b ? 1 : 0;
      return std::nullopt;
    case ValueKind::kChoice:
      for (std::size_t i = 0; i < r.choices.size(); ++i) {
        if (EqualsIgnoringCase(Trim(text), r.choices[i])) return static_cast<long long>(i);
      }
      break;
    case ValueKind::kSlope:
      if (const auto slope = ParseSlopeName(text)) return *slope;
      break;
    case ValueKind::kHex:
      if (const auto v = ParseInteger(text, 16); v && *v >= 0 && *v <= RowMaximum(r)) return *v;
      return std::nullopt;
    case ValueKind::kLevel: {
      // "75", or show's "75 on" / "75 off".
      text = Trim(text);
      if (const auto space = text.rfind(' '); space != std::string_view::npos) {
        const auto bit = ParseOnOff(text.substr(space + 1));
        if (!bit) return std::nullopt;
        on = *bit ? 1 : 0;
        text = text.substr(0, space);
      }
      break;
    }
    case ValueKind::kTonePosition:
      if (const auto db = WithoutSuffix(text, "dB"); db.size() != Trim(text).size()) {
        const auto tenths = ParseTenths(db);
        if (!tenths) return std::nullopt;
        const long long position = *tenths + 240;
        return position >= r.min && position <= r.max ? std::optional(position) : std::nullopt;
      }
      break;
    case ValueKind::kHz:
      text = WithoutSuffix(text, "Hz");
      break;
    case ValueKind::kMs:
      text = WithoutSuffix(text, "ms");
      break;
    case ValueKind::kNumber:
    case ValueKind::kBand:
    case ValueKind::kText:
      break;
  }
  const auto v = ParseInteger(text, 10);
  if (!v || *v < r.min || *v > r.max) return std::nullopt;
  return v;
}

std::string RowValueText(const CatalogueRow& r, const ParamImage& image) {
  if (r.kind == ValueKind::kBand) return FormatBand(BandOf(image, r));
  const int v = ReadValue(image, r);
  switch (r.kind) {
    case ValueKind::kOnOff:
      return v ? "on" : "off";
    case ValueKind::kChoice:
      return v >= 0 && v < static_cast<int>(r.choices.size()) ? std::string(r.choices[v])
                                                              : std::to_string(v);
    case ValueKind::kSlope:
      return SlopeWord(v) ? SlopeWord(v) : std::to_string(v);
    case ValueKind::kHex:
      return Hex(static_cast<std::uint32_t>(v), HexDigits(r));
    case ValueKind::kLevel:
      return std::to_string(v) +
             (ReadValue(image, *RowAt({Where::kLevelOn, r.place.index})) ? " on" : " off");
    default:
      return std::to_string(v);
  }
}

}  // namespace tavelo
