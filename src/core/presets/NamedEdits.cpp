#include "presets/NamedEdits.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdio>

#include "eq/BandSyntax.h"
#include "params/BlockLayout.h"
#include "presets/ParamFields.h"

namespace tavelo {
namespace {

// The short names of the equalisers in "eq.SET.BAND" (bands counted from 1); the set id
// comes from the catalogue, and the set it names follows the processor's mode.
struct ShortEqName {
  std::string_view name;
  EqSet firstSet;
};
constexpr std::array<ShortEqName, 9> kShortEqNames = {{
    {"mic1", kEqMicA},
    {"mic2", kEqMicB},
    {"music", kEqMusic},
    {"main", kEqMainFirst},
    {"surround", kEqSurroundFirst},
    {"centre", kEqCentreFirst},
    {"sub", kEqSubFirst},
    {"reverb", kEqReverb},
    {"echo", kEqEcho},
}};

constexpr std::string_view kModeAlias = "mode";
constexpr std::string_view kMuteKey = "mute";
constexpr std::string_view kOnSuffix = ".on";

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

std::optional<long long> ParseInteger(std::string_view s, int base = 10) {
  s = Trim(s);
  if (base == 16 && s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X')) s.remove_prefix(2);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  long long v = 0;
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v, base);
  if (s.empty() || ec != std::errc() || ptr != s.data() + s.size()) return std::nullopt;
  return v;
}

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

long long MaxOf(const CatalogueRow& r) {
  return r.kind == ValueKind::kHex ? (HexDigits(r) == 2 ? 0xFF : 0xFFFFFFFFLL) : r.max;
}

// What a row takes, for messages and the listing: "0 to 84", "auto|sing|dance".
std::string RangeText(const CatalogueRow& r) {
  switch (r.kind) {
    case ValueKind::kOnOff:
      return "on|off";
    case ValueKind::kChoice:
      return Joined(r.choices);
    case ValueKind::kSlope:
      return SlopeWords();
    case ValueKind::kHex:
      return Hex(0, HexDigits(r)) + " to " + Hex(MaxOf(r), HexDigits(r));
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
      return std::to_string(r.min) + " to " + std::to_string(r.max) + " [on|off]";
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

std::string MustBe(std::string_view key, const std::string& what, std::string_view value) {
  return std::string(key) + " must be " + what + ", not '" + std::string(value) + "'";
}

// A scalar value for `r`, in range; the level's optional on bit goes to `on`.
std::optional<long long> ParseScalar(const CatalogueRow& r, std::string_view text,
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
      if (const auto v = ParseInteger(text, 16); v && *v >= 0 && *v <= MaxOf(r)) return *v;
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
  const auto v = ParseInteger(text);
  if (!v || *v < r.min || *v > r.max) return std::nullopt;
  return v;
}

bool IsFilterType(int type) {
  return type == kBandLowPass || type == kBandHighPass;
}

std::optional<NamedEdit> ParseBandEdit(NamedEdit edit, std::string_view value, std::string& error) {
  const CatalogueRow& r = *edit.row;
  std::string bandError;
  const auto band = ParseBand(value, bandError);
  if (!band) {
    error = edit.key + "=" + std::string(value) + ": " + bandError;
    return std::nullopt;
  }
  if (const auto pass = PassFilterOf(r)) {
    const CatalogueRow& freq = RowOf(pass->frequency);
    const bool low = r.place.band == kEqSets[static_cast<std::size_t>(r.place.index)].wireBands;
    if (band->type != (low ? kBandLowPass : kBandHighPass) || band->freq < freq.min ||
        band->freq > freq.max) {
      error = edit.key + " is the " + (low ? "low-pass" : "high-pass") + " filter: it must be " +
              RangeText(r) + ", not '" + std::string(value) + "'";
      return std::nullopt;
    }
    if (!pass->slope && band->slope != kSlopeBypass) {
      error = edit.key + " has no slope: this filter carries only its frequency (" +
              std::string(freq.name) + ")";
      return std::nullopt;
    }
  } else if (IsFilterType(band->type) && band->slope != kSlopeBypass) {
    // Code 3 and 49 carry no slope; only a set's own filters (code 17) have one.
    error = edit.key + ": a band change cannot carry a slope; a pass-filter slope travels " +
            "with the set's filter (its .hpf_slope / .lpf_slope)";
    return std::nullopt;
  }
  edit.band = *band;
  return edit;
}

std::optional<NamedEdit> ParseShortEq(const std::string& key, std::string_view value,
                                      std::string& error) {
  // eq.SET.BAND
  const std::string rest = key.substr(3);
  const auto dot = rest.find('.');
  if (dot == std::string::npos) {
    error = "'" + key + "': write eq.SET.BAND";
    return std::nullopt;
  }
  const std::string setName = rest.substr(0, dot);
  const ShortEqName* set = nullptr;
  std::string names;
  for (const auto& entry : kShortEqNames) {
    if (setName == entry.name) set = &entry;
    names += (names.empty() ? "" : ", ") + std::string(entry.name);
  }
  if (!set) {
    error = "unknown equaliser '" + setName + "' (" + names + ")";
    return std::nullopt;
  }
  const int bands = kEqSets[static_cast<std::size_t>(set->firstSet)].wireBands;
  const auto band = ParseInteger(rest.substr(dot + 1));
  if (!band || *band < 1 || *band > bands) {
    error = "'" + key + "': the " + setName + " equaliser has bands 1 to " + std::to_string(bands);
    return std::nullopt;
  }
  NamedEdit edit;
  edit.key = key;
  edit.row = &RowOf(BandRow(set->firstSet, static_cast<int>(*band) - 1));
  edit.legacySetId = edit.row->carrier.arg;
  edit.legacyBand = static_cast<int>(*band) - 1;
  return ParseBandEdit(edit, value, error);
}

std::string ModeName(int mode) {
  const auto& choices = RowOf(row::kAppMode).choices;
  return mode >= 0 && mode < static_cast<int>(choices.size()) ? std::string(choices[mode])
                                                              : std::to_string(mode);
}

// Edits that one request can carry share a key; the argument of value-carrying codes
// (echo type, boost switches) is left out: the last edit's value goes.
struct BlockKey {
  CommandCode code;
  int arg;
  friend bool operator==(const BlockKey&, const BlockKey&) = default;
};

BlockKey KeyOf(const NamedEdit& edit) {
  if (!edit.row) return {CommandCode::kMute, edit.value};
  const Carrier& c = edit.row->carrier;
  return {c.code, c.argRule == ArgRule::kBand ? edit.row->place.band * 256 + c.arg : c.arg};
}

const CatalogueRow& OnRowOf(const CatalogueRow& level) {
  return *RowAt({Where::kLevelOn, level.place.index});
}

std::string ValueText(const CatalogueRow& r, const ParamImage& image) {
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
      return std::to_string(v) + (ReadValue(image, OnRowOf(r)) ? " on" : " off");
    default:
      return std::to_string(v);
  }
}

}  // namespace

std::optional<NamedEdit> ParseNamedEdit(std::string_view word, std::string& error) {
  const auto eq = word.find('=');
  if (eq == std::string_view::npos || eq == 0) {
    error = "'" + std::string(word) + "' is not NAME=VALUE";
    return std::nullopt;
  }
  NamedEdit edit;
  edit.key = std::string(word.substr(0, eq));
  const std::string_view value = word.substr(eq + 1);
  if (edit.key == kMuteKey) {
    const auto on = ParseOnOff(value);
    if (!on) {
      error = MustBe(edit.key, "off|on", value);
      return std::nullopt;
    }
    edit.value = *on ? 1 : 0;
    return edit;
  }
  if (edit.key.rfind("eq.", 0) == 0) return ParseShortEq(edit.key, value, error);
  edit.row = edit.key == kModeAlias ? &RowOf(row::kAppMode) : FindRow(edit.key);
  if (!edit.row) {
    error = "unknown key '" + edit.key + "' (tavelo-cli set --list shows every name)";
    return std::nullopt;
  }
  const CatalogueRow& r = *edit.row;
  if (!r.Carried()) {
    error = edit.key + " is carried by no block request: it reaches the processor only with a " +
            "whole preset (push)";
    return std::nullopt;
  }
  if (r.kind == ValueKind::kBand) return ParseBandEdit(edit, value, error);
  const auto v = ParseScalar(r, value, edit.on);
  if (!v) {
    error = MustBe(edit.key, RangeText(r), value);
    return std::nullopt;
  }
  edit.value = static_cast<int>(*v);
  return edit;
}

std::optional<std::vector<PlannedBlock>> PlanEdits(const ParamImage& image,
                                                   const std::vector<NamedEdit>& edits,
                                                   std::string& error) {
  std::vector<PlannedBlock> blocks;
  std::vector<std::pair<BlockKey, std::size_t>> open;  // blocks that can still take edits
  ParamImage after = image;
  for (NamedEdit edit : edits) {
    if (edit.legacySetId >= 0) {
      const int set = EqSetForSetId(edit.legacySetId, after.byte(img::kAppMode));
      edit.row = &RowOf(BandRow(static_cast<EqSet>(set), edit.legacyBand));
    }
    if (edit.row) {
      const int mode = after.byte(img::kAppMode);
      switch (CanCarry(after, *edit.row)) {
        case Carry::kOk:
          break;
        case Carry::kNotCarried:
          error = edit.key + " is carried by no block request";
          return std::nullopt;
        case Carry::kNeedsSing:
          error = edit.key + " belongs to the first output set, which the processor takes " +
                  "only in application mode sing (it is in " + ModeName(mode) +
                  "): set app_mode=sing first";
          return std::nullopt;
        case Carry::kNeedsOtherThanSing:
          error = edit.key + " belongs to the second output set, which the processor takes " +
                  "only in application mode auto or dance (it is in " + ModeName(mode) +
                  "): set app_mode=dance first";
          return std::nullopt;
      }
    }
    ApplyNamedEdit(after, edit);
    const BlockKey key = KeyOf(edit);
    const auto found = std::find_if(open.begin(), open.end(),
                                    [&](const auto& entry) { return entry.first == key; });
    if (found != open.end()) {
      blocks[found->second].edits.push_back(edit);
    } else {
      blocks.push_back({{edit}});
      open.emplace_back(key, blocks.size() - 1);
    }
    // A mode change readdresses the output sets: later edits start new requests, except in
    // the mode's own block, which carries the same bytes in every mode.
    if (edit.row && edit.row->id == row::kAppMode) {
      std::erase_if(open, [&](const auto& entry) { return !(entry.first == key); });
    }
  }
  return blocks;
}

void ApplyNamedEdit(ParamImage& image, const NamedEdit& edit) {
  if (!edit.row) return;  // the mute action changes nothing in the image
  const CatalogueRow& r = *edit.row;
  if (r.kind != ValueKind::kBand) {
    WriteValue(image, r, edit.value);
    if (edit.on) WriteValue(image, OnRowOf(r), *edit.on);
    return;
  }
  EqBand& band = BandOf(image, r);
  if (const auto pass = PassFilterOf(r)) {
    // A filter band travels as its pass filter: frequency and slope; Q and gain stay.
    band.type = edit.band.type;
    band.freq = edit.band.freq;
    WriteValue(image, RowOf(pass->frequency), edit.band.freq);
    if (pass->slope) {
      band.slope = edit.band.slope;
      WriteValue(image, RowOf(*pass->slope), edit.band.slope);
    }
    return;
  }
  // The slope does not travel with a band; the image keeps the one it has.
  const std::int8_t slope = band.slope;
  band = edit.band;
  band.slope = slope;
}

BlockRequest RequestForBlock(const ParamImage& image, const PlannedBlock& block) {
  const NamedEdit& last = block.edits.back();
  if (!last.row) return {CommandCode::kMute, last.value};
  return RequestFor(image, *last.row);
}

std::string DescribeNamedEdit(const NamedEdit& edit, const ParamImage& image) {
  if (!edit.row) return edit.key + "=" + (edit.value ? "on" : "off");
  if (edit.legacySetId >= 0) {
    return edit.key + "=" + FormatBand(edit.band) + " (" +
           std::string(kEqSets[static_cast<std::size_t>(edit.row->place.index)].name) + ")";
  }
  return edit.key + "=" + ValueText(*edit.row, image);
}

std::string SettableNamesText() {
  std::string out;
  for (const CatalogueRow& r : AllRows()) {
    if (!r.Carried()) continue;
    const std::string_view unit = UnitText(r.unit);
    out += std::string(r.name) + "  " + RangeText(r) + (unit.empty() ? "" : "  ") +
           std::string(unit) + "\n";
  }
  out += std::string(kMuteKey) + "  on|off  (the top bar's mute)\n";
  return out;
}

std::string SettableNamesJson() {
  std::string out = "[";
  for (const CatalogueRow& r : AllRows()) {
    if (!r.Carried()) continue;
    out += std::string(out.size() > 1 ? ",\n " : "\n ") + "{\"name\": " + JsonString(r.name) +
           ", \"values\": " + JsonString(RangeText(r));
    const bool numeric = r.kind == ValueKind::kNumber || r.kind == ValueKind::kHz ||
                         r.kind == ValueKind::kMs || r.kind == ValueKind::kLevel ||
                         r.kind == ValueKind::kTonePosition || r.kind == ValueKind::kHex;
    if (numeric) {
      out += ", \"min\": " + std::to_string(r.min) + ", \"max\": " + std::to_string(MaxOf(r));
    }
    out += ", \"unit\": " + JsonString(UnitText(r.unit)) +
           ", \"code\": " + std::to_string(CodeNumber(r.carrier.code)) + "}";
  }
  out += ",\n {\"name\": \"mute\", \"values\": \"on|off\", \"unit\": \"\", \"code\": " +
         std::to_string(CodeNumber(CommandCode::kMute)) + "}\n]\n";
  return out;
}

}  // namespace tavelo
