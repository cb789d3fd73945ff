#include "core/presets/NamedEdits.h"

#include <algorithm>
#include <array>

#include "core/eq/BandSyntax.h"
#include "core/params/BlockLayout.h"
#include "core/presets/ParamFields.h"
#include "core/presets/ValueSyntax.h"
#include "core/text/Escaped.h"

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

std::string MustBe(std::string_view key, const std::string& what, std::string_view value) {
  return ShownArgument(key) + " must be " + what + ", not '" + ShownArgument(value) + "'";
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
  const auto band = ParseWhole(rest.substr(dot + 1));
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
    error =
        "unknown key '" + ShownArgument(edit.key) + "' (tavelo-cli set --list shows every name)";
    return std::nullopt;
  }
  const CatalogueRow& r = *edit.row;
  if (!r.Carried()) {
    error = edit.key + " is carried by no block request: it reaches the processor only with a " +
            "whole preset (push)";
    return std::nullopt;
  }
  if (r.kind == ValueKind::kBand) return ParseBandEdit(edit, value, error);
  const auto v = ParseRowValue(r, value, edit.on);
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
    if (edit.on) WriteValue(image, *RowAt({Where::kLevelOn, r.place.index}), *edit.on);
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
  return edit.key + "=" + RowValueText(*edit.row, image);
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
      out += ", \"min\": " + std::to_string(r.min) + ", \"max\": " + std::to_string(RowMaximum(r));
    }
    out += ", \"unit\": " + JsonString(UnitText(r.unit)) +
           ", \"code\": " + std::to_string(CodeNumber(r.carrier.code)) + "}";
  }
  out += ",\n {\"name\": \"mute\", \"values\": \"on|off\", \"unit\": \"\", \"code\": " +
         std::to_string(CodeNumber(CommandCode::kMute)) + "}\n]\n";
  return out;
}

}  // namespace tavelo
