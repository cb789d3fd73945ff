// Parsing and printing of a band's command-line form. Ranges follow what the pages let
// a user type, so a band accepted here is one the panel could have produced.
#include "core/eq/BandSyntax.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <vector>

namespace tavelo {

namespace {

constexpr std::array<const char*, 5> kTypeNames = {"peak", "lowshelf", "highshelf", "lowpass",
                                                   "highpass"};
constexpr std::array<const char*, kSlopeCount> kSlopeNames = {
    "bypass",      "bessel_12db", "butter_12db", "bessel_18db",
    "butter_18db", "bessel_24db", "butter_24db", "lr_24db"};
// The slope list's own text for code 7, accepted as well.
constexpr std::string_view kLinkwitzRileyListText = "Link Riley 24db";

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
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

std::vector<std::string_view> SplitFields(std::string_view text) {
  std::vector<std::string_view> fields;
  while (true) {
    const auto comma = text.find(',');
    fields.push_back(Trim(text.substr(0, comma)));
    if (comma == std::string_view::npos) break;
    text.remove_prefix(comma + 1);
  }
  return fields;
}

std::optional<int> ParseWholeNumber(std::string_view s) {
  int value = 0;
  const auto* end = s.data() + s.size();
  const auto [ptr, ec] = std::from_chars(s.data(), end, value);
  if (s.empty() || ec != std::errc() || ptr != end) return std::nullopt;
  return value;
}

}  // namespace

// A decimal number in tenths, rounded half away from zero ("1.25" -> 13).
std::optional<int> ParseTenths(std::string_view s) {
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  double value = 0;
  const auto* end = s.data() + s.size();
  const auto [ptr, ec] = std::from_chars(s.data(), end, value, std::chars_format::fixed);
  if (s.empty() || ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
  if (std::fabs(value) > 1e6) return std::nullopt;  // far out of range; keeps lround defined
  return static_cast<int>(std::lround(value * 10));
}

namespace {

std::optional<std::int8_t> ParseSlope(std::string_view s) {
  for (std::size_t i = 0; i < kSlopeNames.size(); ++i) {
    if (EqualsIgnoringCase(s, kSlopeNames[i])) return static_cast<std::int8_t>(i);
  }
  if (EqualsIgnoringCase(s, kLinkwitzRileyListText)) return kSlopeLinkwitzRiley24;
  return std::nullopt;
}

std::string SlopeList() {
  std::string list;
  for (const char* name : kSlopeNames) {
    if (!list.empty()) list += ", ";
    list += name;
  }
  return list;
}

void AppendTenths(std::string& out, int tenths) {
  char buf[32];
  const int magnitude = tenths < 0 ? -tenths : tenths;
  std::snprintf(buf, sizeof buf, "%s%d.%d", tenths < 0 ? "-" : "", magnitude / 10, magnitude % 10);
  out += buf;
}

// Show's band text: "peak 1000 Hz q=1.0 +3.0 dB", "high-pass 80 Hz butter_24db". Rewritten
// as the comma form, so both forms meet the same checks. A pass filter's text names no Q or
// gain (they do not apply to it): 0.7 and 0 stand in.
std::optional<std::string> ShowFormAsCommaForm(std::string_view text) {
  struct ShowType {
    std::string_view shown;
    std::string_view comma;
    bool pass;
  };
  constexpr ShowType kShowTypes[] = {{"peak", "peak", false},
                                     {"low shelf", "lowshelf", false},
                                     {"high shelf", "highshelf", false},
                                     {"low-pass", "lowpass", true},
                                     {"high-pass", "highpass", true}};
  text = Trim(text);
  const auto hz = text.find(" Hz");
  if (text.find(',') != std::string_view::npos || hz == std::string_view::npos) return std::nullopt;
  const auto freqStart = text.rfind(' ', hz - 1);
  if (freqStart == std::string_view::npos) return std::nullopt;
  const std::string_view typeText = Trim(text.substr(0, freqStart));
  const std::string_view freq = text.substr(freqStart + 1, hz - freqStart - 1);
  std::string_view rest = Trim(text.substr(hz + 3));
  for (const ShowType& t : kShowTypes) {
    if (!EqualsIgnoringCase(typeText, t.shown)) continue;
    std::string out = std::string(t.comma) + "," + std::string(freq);
    if (t.pass) return out + ",0.7,0" + (rest.empty() ? "" : "," + std::string(rest));
    // "q=1.0 +3.0 dB"
    if (rest.substr(0, 2) != "q=") return std::nullopt;
    rest.remove_prefix(2);
    const auto space = rest.find(' ');
    if (space == std::string_view::npos) return std::nullopt;
    std::string_view gain = Trim(rest.substr(space + 1));
    if (gain.size() < 2 || !EqualsIgnoringCase(gain.substr(gain.size() - 2), "dB")) {
      return std::nullopt;
    }
    gain = Trim(gain.substr(0, gain.size() - 2));
    return out + "," + std::string(rest.substr(0, space)) + "," + std::string(gain);
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::int8_t> ParseSlopeName(std::string_view text) {
  return ParseSlope(Trim(text));
}

const char* BandTypeWord(int type) {
  return type >= 0 && type < static_cast<int>(kTypeNames.size()) ? kTypeNames[type] : nullptr;
}

const char* SlopeWord(int slope) {
  return slope >= 0 && slope < kSlopeCount ? kSlopeNames[slope] : nullptr;
}

std::optional<EqBand> ParseBand(std::string_view text, std::string& error) {
  if (const auto comma = ShowFormAsCommaForm(text)) return ParseBand(*comma, error);
  const auto fields = SplitFields(text);
  if (fields.size() != 4 && fields.size() != 5) {
    error = "expected TYPE,FREQ,Q,GAIN[,SLOPE]";
    return std::nullopt;
  }
  EqBand band;
  int type = -1;
  for (std::size_t i = 0; i < kTypeNames.size(); ++i) {
    if (EqualsIgnoringCase(fields[0], kTypeNames[i])) type = static_cast<int>(i);
  }
  if (type < 0) {
    error = "unknown type '" + std::string(fields[0]) +
            "' (peak, lowshelf, highshelf, lowpass or highpass)";
    return std::nullopt;
  }
  band.type = static_cast<std::int8_t>(type);
  const bool passFilter = type == kBandLowPass || type == kBandHighPass;

  const auto freq = ParseWholeNumber(fields[1]);
  if (!freq || *freq < kBandMinFrequency || *freq > kBandMaxFrequency) {
    error = "frequency '" + std::string(fields[1]) + "' is not a whole number of hertz from 20 " +
            "to 20000";
    return std::nullopt;
  }
  band.freq = static_cast<std::int16_t>(*freq);

  const bool shelf = type == kBandLowShelf || type == kBandHighShelf;
  const int maxQ = BandMaxQ(shelf ? kBandLowShelf : kBandPeak);
  const auto q = ParseTenths(fields[2]);
  if (!q || *q < kBandMinQ || *q > maxQ) {
    error = "Q '" + std::string(fields[2]) + "' is not a number from 0.4 to " +
            (shelf ? "2.0 (shelves)" : "99.9");
    return std::nullopt;
  }
  band.q = static_cast<std::int16_t>(*q);

  const auto gain = ParseTenths(fields[3]);
  if (!gain || *gain < -kBandGainLimit || *gain > kBandGainLimit) {
    error = "gain '" + std::string(fields[3]) + "' is not a number of dB from -24.0 to 24.0";
    return std::nullopt;
  }
  band.gain = static_cast<std::int16_t>(*gain);

  if (fields.size() == 5) {
    if (!passFilter) {
      error = "a slope applies only to lowpass and highpass";
      return std::nullopt;
    }
    const auto slope = ParseSlope(fields[4]);
    if (!slope) {
      error = "unknown slope '" + std::string(fields[4]) + "' (" + SlopeList() + ")";
      return std::nullopt;
    }
    band.slope = *slope;
  }
  return band;
}

std::string FormatBand(const EqBand& band) {
  std::string out;
  if (const char* name = BandTypeWord(band.type)) {
    out = name;
  } else {
    out = "type" + std::to_string(band.type);
  }
  out += "," + std::to_string(band.freq) + ",";
  AppendTenths(out, band.q);
  out += ",";
  AppendTenths(out, band.gain);
  if (band.type == kBandLowPass || band.type == kBandHighPass) {
    const char* slope = SlopeWord(band.slope);
    out += ",";
    out += slope ? std::string(slope) : "slope" + std::to_string(band.slope);
  }
  return out;
}

}  // namespace tavelo
