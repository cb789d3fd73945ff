#include "core/presets/ParamFields.h"

#include <array>
#include <cstdio>

#include "core/params/Catalogue.h"
#include "core/text/Escaped.h"
#include "core/text/ReportTexts.h"

namespace tavelo {
namespace {

constexpr std::array<std::string_view, kSlopeCount> kSlopeNames = {
    "bypass",      "bessel_12db", "butter_12db", "bessel_18db",
    "butter_18db", "bessel_24db", "butter_24db", "Link Riley 24db"};

std::string Hex(std::uint32_t v, int digits) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%0*X", digits, static_cast<unsigned>(v));
  return buf;
}

FieldEntry Number(std::string key, long value, std::string text = {}) {
  const std::string n = std::to_string(value);
  return {std::move(key), text.empty() ? n : std::move(text), n, n, true};
}

std::string NameOr(const CatalogueRow* r, std::string fallback) {
  return r ? std::string(r->name) : std::move(fallback);
}

// A value as show prints it, by the kind of its catalogue row. `v` is the stored value:
// the whole byte for a level (its on bit included), the whole word for a switch word.
FieldEntry ScalarEntry(const CatalogueRow* r, std::string key, std::uint32_t v) {
  const std::string raw = std::to_string(v);
  switch (r ? r->kind : ValueKind::kNumber) {
    case ValueKind::kLevel: {
      const auto level = static_cast<int>(v & 0x7F);
      const bool on = (v & 0x80) != 0;
      return {key, std::to_string(level) + (on ? " on" : " off"),
              "{\"level\":" + std::to_string(level) + ",\"on\":" + (on ? "true" : "false") + "}",
              raw, true};
    }
    case ValueKind::kChoice:
      if (v < r->choices.size()) {
        const std::string name(r->choices[v]);
        return {key, name, JsonString(name), raw, true};
      }
      return {key, raw + " (unknown)", raw, raw, true};
    case ValueKind::kSlope:
      if (v < kSlopeNames.size()) {
        const std::string name = SlopeName(static_cast<int>(v));
        return {key, name, JsonString(name), raw, true};
      }
      return {key, raw + " (unknown)", raw, raw, true};
    case ValueKind::kHz:
      return Number(key, v, raw + " Hz");
    case ValueKind::kMs:
      return Number(key, v, raw + " ms");
    case ValueKind::kTonePosition: {
      const int tenths = static_cast<int>(v) - 240;
      return Number(key, v, (tenths >= 0 ? "+" : "") + TenthsText(tenths) + " dB");
    }
    case ValueKind::kOnOff: {
      const bool on = v != 0;
      return {key, on ? "on" : "off", on ? "true" : "false", on ? "1" : "0", true};
    }
    case ValueKind::kHex: {
      // A whole switch word or byte repeats its bits: shown, never compared.
      const std::string hex = Hex(v, r->place.where == Where::kBoostSwitches ? 2 : 8);
      return {key, hex, JsonString(hex), hex, false};
    }
    case ValueKind::kNumber:
    case ValueKind::kBand:
    case ValueKind::kText:
      break;
  }
  return Number(key, v);
}

FieldEntry RowEntry(const CatalogueRow& r, std::uint32_t v) {
  return ScalarEntry(&r, std::string(r.name), v);
}

std::string BandRaw(const EqBand& b) {
  return "slope=" + std::to_string(b.slope) + " type=" + std::to_string(b.type) +
         " freq=" + std::to_string(b.freq) + " q=" + std::to_string(b.q) +
         " gain=" + std::to_string(b.gain);
}

FieldEntry BandEntry(const CatalogueRow& r, const EqBand& band) {
  return {std::string(r.name), BandText(band), BandJson(band), BandRaw(band), true};
}

void AddSwitchWord(std::vector<FieldEntry>& out, Where wordPlace, Where bitPlace,
                   std::uint32_t word) {
  out.push_back(RowEntry(*RowAt({wordPlace}), word));
  for (int bit = 0; bit < 32; ++bit) {
    const CatalogueRow* r = RowAt({bitPlace, bit});
    out.push_back(ScalarEntry(r, NameOr(r, "bit" + std::to_string(bit)), (word >> bit) & 1U));
  }
}

}  // namespace

std::string TenthsText(int tenths) {
  const int magnitude = tenths < 0 ? -tenths : tenths;
  return (tenths < 0 ? "-" : "") + std::to_string(magnitude / 10) + "." +
         std::to_string(magnitude % 10);
}

std::string SlopeName(int slope) {
  if (slope >= 0 && slope < kSlopeCount)
    return std::string(kSlopeNames[static_cast<std::size_t>(slope)]);
  return "slope " + std::to_string(slope);
}

std::string BandTypeName(int type) {
  if (const std::string_view word = ShownBandType(type, Lang::kEnglish); !word.empty()) {
    return std::string(word);
  }
  return "type " + std::to_string(type);
}

std::string BandText(const EqBand& band) {
  const std::string head = BandTypeName(band.type) + " " + std::to_string(band.freq) + " Hz";
  if (band.type == kBandLowPass || band.type == kBandHighPass)
    return head + " " + SlopeName(band.slope);
  return head + " q=" + TenthsText(band.q) + " " + (band.gain >= 0 ? "+" : "") +
         TenthsText(band.gain) + " dB";
}

std::string BandJson(const EqBand& band) {
  return "{\"type\":" + JsonString(BandTypeName(band.type)) +
         ",\"slope\":" + JsonString(SlopeName(band.slope)) +
         ",\"freq_hz\":" + std::to_string(band.freq) + ",\"q\":" + TenthsText(band.q) +
         ",\"gain_db\":" + TenthsText(band.gain) + "}";
}

std::string JsonString(std::string_view bytes) {
  return QuotedBytes(bytes);
}

std::vector<FieldEntry> DescribeParamFile(const ParamFileData& data) {
  std::vector<FieldEntry> out;
  const std::string_view name(data.name.data(), data.name.size());
  std::string shown(name);
  while (!shown.empty() && (shown.back() == ' ' || shown.back() == '\0')) shown.pop_back();
  // The text form trims the padding; raw keeps all 16 bytes so a padding change still shows.
  out.push_back({std::string(RowOf(row::kPresetName).name), JsonString(shown), JsonString(name),
                 JsonString(name), true});
  out.push_back(RowEntry(RowOf(row::kPowerMode), data.powerMode));

  for (std::size_t i = 0; i < data.bytes.size(); ++i) {
    const CatalogueRow* r = RowAt({Where::kByte, static_cast<int>(i)});
    out.push_back(ScalarEntry(r, NameOr(r, "image[" + std::to_string(i) + "]"), data.bytes[i]));
  }
  for (std::size_t k = 0; k < data.words.size(); ++k) {
    const CatalogueRow* r = RowAt({Where::kWord, static_cast<int>(k)});
    out.push_back(ScalarEntry(r, NameOr(r, "word[" + std::to_string(k) + "]"), data.words[k]));
  }
  for (std::size_t s = 0; s < kEqSetCount; ++s) {
    for (int b = 0; b < kEqSets[s].memoryBands; ++b) {
      out.push_back(BandEntry(RowOf(BandRow(static_cast<EqSet>(s), b)),
                              data.eq[s][static_cast<std::size_t>(b)]));
    }
  }
  AddSwitchWord(out, Where::kSwitchWord, Where::kSwitchBit, data.switchWord);
  AddSwitchWord(out, Where::kAltSwitchWord, Where::kAltSwitchBit, data.altSwitchWord);
  return out;
}

std::vector<FieldEntry> DescribeBoostFile(const BoostBlock& block) {
  std::vector<FieldEntry> out;
  out.push_back(RowEntry(RowOf(row::kBoostSwitches), block.switches));
  for (int bit = 0; bit < 8; ++bit) {
    out.push_back(RowEntry(*RowAt({Where::kBoostSwitchBit, bit}), (block.switches >> bit) & 1));
  }
  for (int c = 0; c < kBoostChannels; ++c) {
    for (int b = 0; b < kBoostBandCounts[static_cast<std::size_t>(c)]; ++b) {
      out.push_back(
          BandEntry(RowOf(BoostBandRow(c, b)),
                    block.bands[static_cast<std::size_t>(c)][static_cast<std::size_t>(b)]));
    }
  }
  return out;
}

}  // namespace tavelo
