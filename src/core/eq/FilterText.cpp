// Reading and writing the filter text of room-measurement programs. Numbers are read and
// written without the C locale (a Qt program sets it from the environment), so a file reads
// the same on every machine.
#include "core/eq/FilterText.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>

#include "core/eq/BandSyntax.h"
#include "core/eq/FilterTextWords.h"
#include "core/text/Escaped.h"

namespace tavelo {

namespace {

constexpr double kButterworthShelfQ = 0.70710678118654752;

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
  return s.size() >= prefix.size() && Lower(s.substr(0, prefix.size())) == Lower(prefix);
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\r')) {
    s.remove_prefix(1);
  }
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

std::vector<std::string_view> Words(std::string_view s) {
  std::vector<std::string_view> words;
  std::size_t i = 0;
  while (i < s.size()) {
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
    const std::size_t start = i;
    while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
    if (i > start) words.push_back(s.substr(start, i - start));
  }
  return words;
}

std::string Fixed(double value, int decimals) {
  std::array<char, 48> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::fixed, decimals);
  return std::string(buffer.data(), result.ptr);
}

std::string Signed(double value, int decimals) {
  std::string text = Fixed(value, decimals);
  return value >= 0 ? "+" + text : text;
}

std::string PadLeft(std::string text, std::size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

// Lines a measuring program writes around its filters; they carry nothing to import.
bool IsHeaderLine(std::string_view line) {
  static constexpr std::array<std::string_view, 7> kHeaders = {
      "filter settings file", "room eq v",  "dated:", "notes:",
      "equaliser:",           "equalizer:", "preamp:"};
  return std::any_of(kHeaders.begin(), kHeaders.end(),
                     [&](std::string_view h) { return StartsWithNoCase(line, h); });
}

// Commands of the system-wide equaliser's configuration that change the sound but are not
// filters: importing the rest without them would not give the measured result, so say so.
bool IsOtherSoundCommand(std::string_view line) {
  static constexpr std::array<std::string_view, 7> kCommands = {
      "delay:", "copy:", "graphiceq:", "convolution:", "include:", "eval:", "stage:"};
  return std::any_of(kCommands.begin(), kCommands.end(),
                     [&](std::string_view c) { return StartsWithNoCase(line, c); });
}

// "12dB", "12 dB", "9,5dB": a shelf's slope in dB per octave after its type word.
std::optional<double> SlopeWordAt(const std::vector<std::string_view>& words, std::size_t& i) {
  if (i >= words.size()) return std::nullopt;
  std::string_view word = words[i];
  const bool joined = word.size() > 2 && Lower(word.substr(word.size() - 2)) == "db";
  if (joined) word.remove_suffix(2);
  const auto value = ParseLocaleNumber(word);
  if (!value) return std::nullopt;
  if (joined) {
    ++i;
    return value;
  }
  if (i + 1 < words.size() && Lower(words[i + 1]) == "db") {
    i += 2;
    return value;
  }
  return std::nullopt;
}

// The cookbook's shelf slope S as a Q at the given gain; nullopt when S is too steep for it.
std::optional<double> ShelfQFromSlope(double slopeDbPerOctave, double gainDb) {
  const double s = slopeDbPerOctave / 12.0;
  if (!(s > 0)) return std::nullopt;
  const double a = std::pow(10.0, gainDb / 40.0);
  const double inverseSquared = (a + 1.0 / a) * (1.0 / s - 1.0) + 2.0;
  if (!(inverseSquared > 0)) return std::nullopt;
  return 1.0 / std::sqrt(inverseSquared);
}

struct TypeWord {
  std::string_view word;
  BandType type;
  bool takesSlope;  // "LS 12dB", "LSC 9 dB"
  bool corner;      // LSC/HSC/LSQ/HSQ: Q given, else slope
};
constexpr std::array<TypeWord, 7> kTypeWords = {{
    {"pk", kBandPeak, false, false},
    {"ls", kBandLowShelf, true, false},
    {"hs", kBandHighShelf, true, false},
    {"lsc", kBandLowShelf, true, true},
    {"hsc", kBandHighShelf, true, true},
    {"lsq", kBandLowShelf, false, true},
    {"hsq", kBandHighShelf, false, true},
}};

// What a type the processor lacks is, for the report.
std::string LackedTypeText(std::string_view word, Lang lang) {
  const std::string w = Lower(word);
  FilterWord kind = FilterWord::kTypeOther;
  if (w.rfind("lp", 0) == 0) kind = FilterWord::kTypeLowPass;
  if (w.rfind("hp", 0) == 0) kind = FilterWord::kTypeHighPass;
  if (w == "bp") kind = FilterWord::kTypeBandPass;
  if (w == "no") kind = FilterWord::kTypeNotch;
  if (w == "ap") kind = FilterWord::kTypeAllPass;
  if (w == "modal") kind = FilterWord::kTypeModal;
  return SayFilter(kind, lang);
}

std::string LineText(int line, Lang lang) {
  return SayFilter(FilterWord::kLine, lang, {std::to_string(line)});
}

std::string LinePrefix(int line, int number, std::string_view type, Lang lang) {
  if (number > 0) {
    return SayFilter(FilterWord::kLineFilterNumber, lang,
                     {std::to_string(line), std::to_string(number), type});
  }
  return SayFilter(FilterWord::kLineFilter, lang, {std::to_string(line), type});
}

// One "Filter N: ..." line. Returns the filter, or sets `problem` (or `disabled`).
std::optional<TextFilter> ReadFilterLine(std::string_view line, int lineNumber, Lang lang,
                                         std::string& problem, bool& disabled) {
  const std::size_t colon = line.find(':');
  if (colon == std::string_view::npos) {
    problem = SayFilter(FilterWord::kNeedsFilterLabel, lang, {LineText(lineNumber, lang)});
    return std::nullopt;
  }
  TextFilter f;
  f.line = lineNumber;
  const std::string_view label = Trim(line.substr(6, colon - 6));  // after "Filter"
  if (!label.empty()) {
    int number = 0;
    const auto r = std::from_chars(label.data(), label.data() + label.size(), number);
    if (r.ec != std::errc() || r.ptr != label.data() + label.size() || number < 0) {
      problem = SayFilter(FilterWord::kNotAFilterNumber, lang,
                          {LineText(lineNumber, lang), QuotedBytes(label)});
      return std::nullopt;
    }
    f.number = number;
  }
  const auto words = Words(line.substr(colon + 1));
  if (words.empty()) {
    problem = SayFilter(FilterWord::kEmptyFilterLine, lang, {LineText(lineNumber, lang)});
    return std::nullopt;
  }
  std::size_t i = 0;
  const std::string state = Lower(words[i]);
  if (state == "off") {
    disabled = true;
    return std::nullopt;
  }
  if (state == "on") ++i;
  if (i >= words.size() || Lower(words[i]) == "none") {
    disabled = true;
    return std::nullopt;
  }
  f.typeWord = EscapedBytes(words[i]);
  const std::string type = Lower(words[i]);
  ++i;
  const auto known = std::find_if(kTypeWords.begin(), kTypeWords.end(),
                                  [&](const TypeWord& t) { return t.word == type; });
  std::string where = LinePrefix(lineNumber, f.number, f.typeWord, lang);
  if (known == kTypeWords.end()) {
    problem = SayFilter(FilterWord::kLackedType, lang, {where, LackedTypeText(type, lang)});
    return std::nullopt;
  }
  f.type = known->type;
  std::optional<double> slope;
  if (known->takesSlope) {
    slope = SlopeWordAt(words, i);
    if (slope) {
      f.typeWord += " " + Fixed(*slope, std::fmod(*slope, 1.0) == 0 ? 0 : 1) + "dB";
      where = LinePrefix(lineNumber, f.number, f.typeWord, lang);
    }
  }

  std::optional<double> fc, gain, q, bandwidth;
  while (i < words.size()) {
    const std::string key = Lower(words[i]);
    std::optional<double>* target = nullptr;
    std::string_view unit;
    if (key == "fc") {
      target = &fc;
      unit = "hz";
    } else if (key == "gain") {
      target = &gain;
      unit = "db";
    } else if (key == "q") {
      target = &q;
    } else if (key == "bw") {
      target = &bandwidth;
      if (i + 1 < words.size() && Lower(words[i + 1]) == "oct") ++i;
    } else {
      problem = SayFilter(FilterWord::kNotAKey, lang, {where, QuotedBytes(words[i])});
      return std::nullopt;
    }
    ++i;
    const auto value = i < words.size() ? ParseLocaleNumber(words[i]) : std::nullopt;
    if (!value) {
      problem = SayFilter(FilterWord::kNeedsNumber, lang, {where, words[i - 1]});
      return std::nullopt;
    }
    *target = value;
    ++i;
    if (!unit.empty() && i < words.size() && Lower(words[i]) == unit) ++i;
  }
  if (!fc || !gain) {
    problem = SayFilter(FilterWord::kMissing, lang, {where, fc ? "Gain" : "Fc"});
    return std::nullopt;
  }
  f.frequency = *fc;
  f.gainDb = *gain;
  if (bandwidth && !q) {
    // Bandwidth in octaves between the half-gain points, as the cookbook defines it.
    const double n = std::pow(2.0, *bandwidth);
    if (*bandwidth > 0) q = std::sqrt(n) / (n - 1.0);
  }
  if (q) {
    f.q = *q;
  } else if (f.type == kBandPeak) {
    problem = SayFilter(FilterWord::kMissing, lang, {where, "Q"});
    return std::nullopt;
  } else if (slope) {
    if (*slope == 6) {
      problem = SayFilter(FilterWord::kFirstOrderShelf, lang, {where});
      return std::nullopt;
    }
    const auto fromSlope = ShelfQFromSlope(*slope, f.gainDb);
    if (!fromSlope) {
      problem =
          SayFilter(FilterWord::kTooSteep, lang, {where, Fixed(*slope, 1), Fixed(f.gainDb, 1)});
      return std::nullopt;
    }
    f.q = *fromSlope;
  } else {
    f.q = kButterworthShelfQ;
  }
  if (!(f.q > 0)) {
    problem = SayFilter(FilterWord::kQNotAboveZero, lang, {where});
    return std::nullopt;
  }
  return f;
}

int RoundToInt(double v) {
  // Half away from zero, as the band text rounds tenths; the caller holds the range.
  return static_cast<int>(std::lround(std::clamp(v, -1e6, 1e6)));
}

}  // namespace

std::optional<double> ParseLocaleNumber(std::string_view word) {
  if (word.empty() || word.size() > 32) return std::nullopt;
  std::string text(word);
  if (text.front() == '+') text.erase(0, 1);
  const auto comma = text.find(',');
  if (comma != std::string::npos) {
    if (text.find('.') != std::string::npos || text.find(',', comma + 1) != std::string::npos) {
      return std::nullopt;
    }
    text[comma] = '.';
  }
  double value = 0;
  const auto r =
      std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

FilterTextReading ReadFilterText(std::string_view text, Lang lang) {
  FilterTextReading reading;
  // UTF-16 text (Windows' "Unicode") reads as nothing but unknown lines: name it instead. A
  // file without a byte-order mark shows itself by a zero byte beside its first letter.
  const auto starts = [&](std::string_view prefix) { return text.substr(0, 2) == prefix; };
  const bool littleEndian =
      starts("\xFF\xFE") || (text.size() >= 2 && text[0] != '\0' && text[1] == '\0');
  const bool bigEndian =
      starts("\xFE\xFF") || (text.size() >= 2 && text[0] == '\0' && text[1] != '\0');
  if (littleEndian || bigEndian) {
    reading.problems.push_back(
        SayFilter(FilterWord::kUtf16, lang, {littleEndian ? "UTF-16LE" : "UTF-16BE"}));
    return reading;
  }
  constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
  if (text.substr(0, kUtf8Mark.size()) == kUtf8Mark) text.remove_prefix(kUtf8Mark.size());
  int lineNumber = 0;
  bool nameFollows = false;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = text.find('\n', pos);
    const std::string_view line =
        Trim(text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos));
    ++lineNumber;
    pos = end == std::string_view::npos ? text.size() + 1 : end + 1;
    // The measuring program may write the measurement's name on the line after the
    // equaliser's; only a line that is nothing else is taken for it.
    const bool mayBeName = nameFollows && !line.empty();
    if (!line.empty()) nameFollows = false;
    if (line.empty()) continue;
    if (line.front() == '#' || IsHeaderLine(line)) {
      nameFollows = StartsWithNoCase(line, "equaliser:") || StartsWithNoCase(line, "equalizer:");
      ++reading.otherLines;
      continue;
    }
    if (StartsWithNoCase(line, "filter") && line.find(':') != std::string_view::npos &&
        (line[6] == ' ' || line[6] == '\t' || line[6] == ':' ||
         (line[6] >= '0' && line[6] <= '9'))) {
      std::string problem;
      bool disabled = false;
      if (auto f = ReadFilterLine(line, lineNumber, lang, problem, disabled)) {
        reading.filters.push_back(std::move(*f));
      } else if (disabled) {
        ++reading.disabled;
      } else {
        reading.problems.push_back(problem);
      }
    } else if (IsOtherSoundCommand(line)) {
      const std::string command(line.substr(0, line.find(':')));
      reading.problems.push_back(
          SayFilter(FilterWord::kOtherCommand, lang, {LineText(lineNumber, lang), command}));
    } else if (!mayBeName) {
      // Never dropped silently: a line lost here would shift every band after it.
      constexpr std::size_t kShownBytes = 60;
      const bool cut = line.size() > kShownBytes;
      reading.problems.push_back(
          SayFilter(FilterWord::kUnknownLine, lang,
                    {LineText(lineNumber, lang),
                     QuotedBytes(line.substr(0, kShownBytes)) + (cut ? "..." : "")}));
    } else {
      ++reading.otherLines;  // the measurement's name
    }
  }
  return reading;
}

FittedBand FitFilter(const TextFilter& filter, Lang lang) {
  FittedBand fitted;
  EqBand& band = fitted.band;
  band.type = filter.type;
  band.slope = kSlopeBypass;

  const int freq = RoundToInt(filter.frequency);
  band.freq = static_cast<std::int16_t>(std::clamp(freq, kBandMinFrequency, kBandMaxFrequency));
  if (band.freq != freq) {
    fitted.held.push_back(SayFilter(FilterWord::kHeldFrequency, lang,
                                    {Fixed(filter.frequency, 1), std::to_string(band.freq)}));
  }
  const int gain = RoundToInt(filter.gainDb * 10.0);
  band.gain = static_cast<std::int16_t>(std::clamp(gain, -kBandGainLimit, kBandGainLimit));
  if (band.gain != gain) {
    fitted.held.push_back(SayFilter(FilterWord::kHeldGain, lang,
                                    {Signed(filter.gainDb, 1), Signed(band.gain / 10.0, 1)}));
  }
  const int q = RoundToInt(filter.q * 10.0);
  band.q = static_cast<std::int16_t>(std::clamp(q, kBandMinQ, BandMaxQ(filter.type)));
  if (band.q != q) {
    fitted.held.push_back(
        SayFilter(FilterWord::kHeldQ, lang, {Fixed(filter.q, 2), Fixed(band.q / 10.0, 1)}));
  }
  return fitted;
}

FilterImport ImportFilters(const std::vector<TextFilter>& filters, const EqBand* current,
                           int bandCount, Lang lang) {
  FilterImport result;
  const int count = std::max(bandCount, 0);
  result.bands.assign(current, current + count);
  for (int b = 0; b < count; ++b) {
    const std::string number = std::to_string(b + 1);
    if (b < static_cast<int>(filters.size())) {
      const TextFilter& f = filters[static_cast<std::size_t>(b)];
      FittedBand fitted = FitFilter(f, lang);
      result.bands[static_cast<std::size_t>(b)] = fitted.band;
      for (const auto& h : fitted.held) {
        result.notes.push_back(
            SayFilter(FilterWord::kBand, lang,
                      {number, LinePrefix(f.line, f.number, f.typeWord, lang) + " " + h}));
      }
    } else {
      // No filter for it: flat, so the set's curve is the file's.
      EqBand& band = result.bands[static_cast<std::size_t>(b)];
      if (band.gain != 0 ||
          (band.type != kBandPeak && band.type != kBandLowShelf && band.type != kBandHighShelf)) {
        result.notes.push_back(SayFilter(FilterWord::kBand, lang,
                                         {number, SayFilter(FilterWord::kBandLeftFlat, lang)}));
      }
      band.type = kBandPeak;
      band.slope = kSlopeBypass;
      band.gain = 0;
      band.freq = static_cast<std::int16_t>(
          std::clamp<int>(band.freq, kBandMinFrequency, kBandMaxFrequency));
      band.q = static_cast<std::int16_t>(std::clamp<int>(band.q, kBandMinQ, BandMaxQ(kBandPeak)));
    }
  }
  if (static_cast<int>(filters.size()) > count) {
    result.leftOver.assign(filters.begin() + count, filters.end());
  }
  return result;
}

std::string WriteFilterText(const EqBand* bands, int count, std::string_view title) {
  std::string out = "Filter Settings file\n\nNotes: ";
  for (char c : title) out += (c >= 32 && c < 127) ? c : '?';
  out += "\n\nEqualiser: Generic\n";
  for (int b = 0; b < count; ++b) {
    const EqBand& band = bands[b];
    const std::string number = PadLeft(std::to_string(b + 1), 2);
    const char* type = band.type == kBandPeak        ? "PK "
                       : band.type == kBandLowShelf  ? "LSC"
                       : band.type == kBandHighShelf ? "HSC"
                                                     : nullptr;
    if (type == nullptr) {
      out += "# band " + std::to_string(b + 1) + ": " + FormatBand(band) +
             " has no form in this text\n";
      out += "Filter " + number + ": OFF None\n";
      continue;
    }
    out += "Filter " + number + ": ON  " + type + "      Fc " + PadLeft(Fixed(band.freq, 1), 7) +
           " Hz  Gain " + PadLeft(Fixed(band.gain / 10.0, 1), 5) + " dB  Q " +
           PadLeft(Fixed(band.q / 10.0, 2), 5) + "\n";
  }
  return out;
}

}  // namespace tavelo
