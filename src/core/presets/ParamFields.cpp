#include "presets/ParamFields.h"

#include <array>
#include <cstdio>

namespace tavelo {
namespace {

using Names = std::vector<std::string_view>;

enum class ByteKind {
  kNumber,
  kLevel,   // bits 0..6 the level, bit 7 the on/off button beside its slider
  kChoice,  // index into a list of names
  kSlope,   // pass-filter slope code
};

struct ByteField {
  std::string key;
  ByteKind kind = ByteKind::kNumber;
  Names choices;
};

enum class WordKind { kNumber, kHz, kMs, kTonePosition };

struct WordField {
  std::string_view key;
  WordKind kind;
};

constexpr std::array<std::string_view, kSlopeCount> kSlopeNames = {
    "bypass",      "bessel_12db", "butter_12db", "bessel_18db",
    "butter_18db", "bessel_24db", "butter_24db", "Link Riley 24db"};

constexpr std::array<std::string_view, 5> kBandTypeNames = {"peak", "low shelf", "high shelf",
                                                            "low-pass", "high-pass"};

// Output stages: main and surround have a left and a right volume, centre and subwoofer one.
struct OutputStage {
  std::string_view name;
  int base;  // first image byte of its 20-byte record
  bool stereo;
};
constexpr std::array<OutputStage, 4> kOutputStages = {{
    {"main", 28, true},
    {"surround", 48, true},
    {"centre", 68, false},
    {"sub", 88, false},
}};

void AddOutputStage(std::vector<ByteField>& f, const OutputStage& o) {
  const auto at = [&](int offset) -> ByteField& {
    return f[static_cast<std::size_t>(o.base + offset)];
  };
  for (int s = 0; s < 2; ++s) {
    const std::string set = std::string(o.name) + ".set" + std::to_string(s + 1) + ".";
    if (o.stereo) {
      at(0 + s) = {set + "left_volume", ByteKind::kLevel, {}};
      at(2 + s) = {set + "right_volume", ByteKind::kLevel, {}};
    } else {
      at(0 + s) = {set + "volume", ByteKind::kLevel, {}};
    }
    at(4 + s) = {set + "mic_direct_level", ByteKind::kLevel, {}};
    at(6 + s) = {set + "music_level", ByteKind::kLevel, {}};
    at(8 + s) = {set + "reverb_level", ByteKind::kLevel, {}};
    at(10 + s) = {set + "echo_level", ByteKind::kLevel, {}};
    at(16 + s) = {set + "hpf_slope", ByteKind::kSlope, {}};
    at(18 + s) = {set + "lpf_slope", ByteKind::kSlope, {}};
  }
  const std::string stage = std::string(o.name) + ".";
  at(12) = {stage + "comp_threshold", ByteKind::kNumber, {}};
  at(13) = {stage + "comp_ratio", ByteKind::kNumber, {}};
  at(14) = {stage + "comp_attack", ByteKind::kNumber, {}};
  at(15) = {stage + "comp_release", ByteKind::kNumber, {}};
}

std::vector<ByteField> MakeByteFields() {
  std::vector<ByteField> f(kSettingsBytes + 1);
  for (std::size_t i = 0; i < f.size(); ++i) f[i].key = "image[" + std::to_string(i) + "]";
  const auto set = [&](int offset, std::string key, ByteKind kind = ByteKind::kNumber,
                       Names choices = {}) {
    f[static_cast<std::size_t>(offset)] = {std::move(key), kind, std::move(choices)};
  };
  set(0, "music.volume");
  set(1, "mic.volume");
  set(2, "effect.volume");
  set(3, "music.init_volume");
  set(4, "music.max_volume");
  set(5, "music.noise_gate");
  set(6, "music.input", ByteKind::kChoice, {"Analog Auto", "VOD", "AUX", "BGM", "COAX", "OPTI"});
  set(7, "music.hpf_slope", ByteKind::kSlope);
  set(8, "music.lpf_slope", ByteKind::kSlope);
  set(9, "music.key");
  set(10, "mic.init_volume");
  set(11, "mic.max_volume");
  set(12, "mic.mic1_volume", ByteKind::kLevel);
  set(13, "mic.mic2_volume", ByteKind::kLevel);
  set(14, "mic.noise_gate");
  set(15, "mic.comp_threshold");
  set(16, "mic.comp_ratio");
  set(17, "mic.comp_attack");
  set(18, "mic.comp_release");
  set(19, "mic.hpf_slope", ByteKind::kSlope);
  set(20, "mic.lpf_slope", ByteKind::kSlope);
  set(21, "effect.init_level");
  set(22, "music.input1_gain");
  set(23, "music.input2_gain");
  set(24, "music.bt_gain");
  set(25, "music.udisk_gain");
  set(26, "music.optical_gain");
  set(27, "mic.fbx");
  for (const auto& stage : kOutputStages) AddOutputStage(f, stage);
  set(108, "reverb.level", ByteKind::kLevel);
  set(109, "reverb.type", ByteKind::kChoice, {"hall", "room", "plate"});
  set(110, "reverb.direct", ByteKind::kLevel);
  set(111, "reverb.echo_ratio");
  set(112, "reverb.liveliness");
  set(114, "echo.type", ByteKind::kChoice, {"mono", "stereo", "dual"});
  set(115, "echo.level", ByteKind::kLevel);
  set(116, "echo.repeat");
  set(117, "echo.right_level", ByteKind::kLevel);
  set(118, "echo.right_repeat");
  set(119, "echo.direct", ByteKind::kLevel);
  set(121, "echo.right_delay_percent");
  set(122, "echo.right_predelay_percent");
  set(125, "app_mode", ByteKind::kChoice, {"auto", "sing", "dance"});
  set(126, "dance.mic_threshold");
  set(127, "dance.mic_time");
  set(131, "record_mixer.output_volume", ByteKind::kLevel);
  set(132, "record_mixer.music_level", ByteKind::kLevel);
  set(133, "record_mixer.mic_direct_level", ByteKind::kLevel);
  set(134, "record_mixer.effect_level", ByteKind::kLevel);
  set(135, "output_display");
  set(139, "master_level");
  set(140, "adjust_manner", ByteKind::kChoice, {"VR", "Param"});
  set(kSettingsBytes, "spare_byte");
  return f;
}

const std::vector<ByteField>& ByteFields() {
  static const std::vector<ByteField> fields = MakeByteFields();
  return fields;
}

constexpr std::array<WordField, kWordCount + 1> kWordFields = {{
    {"mic.hpf_hz", WordKind::kHz},
    {"mic.lpf_hz", WordKind::kHz},
    {"music.hpf_hz", WordKind::kHz},
    {"music.lpf_hz", WordKind::kHz},
    {"main.set1.hpf_hz", WordKind::kHz},
    {"main.set2.hpf_hz", WordKind::kHz},
    {"main.set1.lpf_hz", WordKind::kHz},
    {"main.set2.lpf_hz", WordKind::kHz},
    {"surround.set1.hpf_hz", WordKind::kHz},
    {"surround.set2.hpf_hz", WordKind::kHz},
    {"surround.set1.lpf_hz", WordKind::kHz},
    {"surround.set2.lpf_hz", WordKind::kHz},
    {"centre.set1.hpf_hz", WordKind::kHz},
    {"centre.set2.hpf_hz", WordKind::kHz},
    {"centre.set1.lpf_hz", WordKind::kHz},
    {"centre.set2.lpf_hz", WordKind::kHz},
    {"sub.set1.hpf_hz", WordKind::kHz},
    {"sub.set2.hpf_hz", WordKind::kHz},
    {"sub.set1.lpf_hz", WordKind::kHz},
    {"sub.set2.lpf_hz", WordKind::kHz},
    {"reverb.hpf_hz", WordKind::kHz},
    {"reverb.lpf_hz", WordKind::kHz},
    {"echo.hpf_hz", WordKind::kHz},
    {"echo.lpf_hz", WordKind::kHz},
    {"reverb.decay_ms", WordKind::kMs},
    {"reverb.predelay_ms", WordKind::kMs},
    {"echo.delay_ms", WordKind::kMs},
    {"echo.left_predelay_ms", WordKind::kMs},
    {"echo.right_delay_ms", WordKind::kMs},
    {"echo.right_predelay_ms", WordKind::kMs},
    {"main.left_delay_ms", WordKind::kMs},
    {"main.right_delay_ms", WordKind::kMs},
    {"surround.left_delay_ms", WordKind::kMs},
    {"surround.right_delay_ms", WordKind::kMs},
    {"centre.delay_ms", WordKind::kMs},
    {"sub.delay_ms", WordKind::kMs},
    {"mic.tone.bass", WordKind::kTonePosition},
    {"mic.tone.mid", WordKind::kTonePosition},
    {"mic.tone.mid_hz", WordKind::kHz},
    {"mic.tone.treble", WordKind::kTonePosition},
    {"music.tone.bass", WordKind::kTonePosition},
    {"music.tone.mid", WordKind::kTonePosition},
    {"music.tone.mid_hz", WordKind::kHz},
    {"music.tone.treble", WordKind::kTonePosition},
    {"spare_word", WordKind::kNumber},
}};

// Switch word bits named by the pages; set means on (muted, compressor or equaliser in
// circuit).
struct SwitchBit {
  int bit;
  std::string_view name;
};
constexpr std::array<SwitchBit, 24> kSwitchBits = {{
    {0, "main.left_mute"},      {1, "main.right_mute"},      {2, "surround.left_mute"},
    {3, "surround.right_mute"}, {4, "centre.mute"},          {5, "sub.mute"},
    {6, "main.comp_on"},        {8, "surround.comp_on"},     {10, "centre.comp_on"},
    {11, "sub.comp_on"},        {12, "mic.comp_on"},         {13, "mic.mic1_eq_on"},
    {14, "mic.mic2_eq_on"},     {15, "music.eq_on"},         {16, "main.set1.eq_on"},
    {17, "main.set2.eq_on"},    {18, "surround.set1.eq_on"}, {19, "surround.set2.eq_on"},
    {20, "centre.set1.eq_on"},  {21, "centre.set2.eq_on"},   {22, "sub.set1.eq_on"},
    {23, "sub.set2.eq_on"},     {24, "reverb.eq_on"},        {25, "echo.eq_on"},
}};

constexpr std::array<std::string_view, 8> kBoostSwitchNames = {"mic",  "music", "reverb", "echo",
                                                               "bit4", "bit5",  "bit6",   "bit7"};
constexpr std::array<std::string_view, kBoostChannels> kBoostChannelNames = {
    "boost_mic", "boost_music", "boost_reverb", "boost_echo"};

std::string SwitchBitName(int bit) {
  for (const auto& s : kSwitchBits) {
    if (s.bit == bit) return std::string(s.name);
  }
  return "bit" + std::to_string(bit);
}

std::string Hex32(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(v));
  return buf;
}

FieldEntry Number(std::string key, long value, std::string text = {}) {
  const std::string n = std::to_string(value);
  return {std::move(key), text.empty() ? n : std::move(text), n, n, true};
}

FieldEntry ByteEntry(const ByteField& field, std::uint8_t v) {
  const std::string raw = std::to_string(v);
  switch (field.kind) {
    case ByteKind::kLevel: {
      const int level = v & 0x7F;
      const bool on = (v & 0x80) != 0;
      return {field.key, std::to_string(level) + (on ? " on" : " off"),
              "{\"level\":" + std::to_string(level) + ",\"on\":" + (on ? "true" : "false") + "}",
              raw, true};
    }
    case ByteKind::kChoice:
      if (v < field.choices.size()) {
        const std::string name(field.choices[v]);
        return {field.key, name, JsonString(name), raw, true};
      }
      return {field.key, raw + " (unknown)", raw, raw, true};
    case ByteKind::kSlope:
      if (v < kSlopeNames.size()) {
        return {field.key, SlopeName(v), JsonString(SlopeName(v)), raw, true};
      }
      return {field.key, raw + " (unknown)", raw, raw, true};
    case ByteKind::kNumber:
      break;
  }
  return Number(field.key, v);
}

FieldEntry WordEntry(const WordField& field, std::uint16_t v) {
  switch (field.kind) {
    case WordKind::kHz:
      return Number(std::string(field.key), v, std::to_string(v) + " Hz");
    case WordKind::kMs:
      return Number(std::string(field.key), v, std::to_string(v) + " ms");
    case WordKind::kTonePosition: {
      const int tenths = static_cast<int>(v) - 240;
      return Number(std::string(field.key), v,
                    (tenths >= 0 ? "+" : "") + TenthsText(tenths) + " dB");
    }
    case WordKind::kNumber:
      break;
  }
  return Number(std::string(field.key), v);
}

std::string BandRaw(const EqBand& b) {
  return "slope=" + std::to_string(b.slope) + " type=" + std::to_string(b.type) +
         " freq=" + std::to_string(b.freq) + " q=" + std::to_string(b.q) +
         " gain=" + std::to_string(b.gain);
}

FieldEntry BandEntry(std::string key, const EqBand& band) {
  return {std::move(key), BandText(band), BandJson(band), BandRaw(band), true};
}

void AddSwitchWord(std::vector<FieldEntry>& out, std::string_view prefix, std::uint32_t word) {
  const std::string p(prefix);
  out.push_back({p + "_word", Hex32(word), JsonString(Hex32(word)), Hex32(word), false});
  for (int bit = 0; bit < 32; ++bit) {
    const bool on = ((word >> bit) & 1U) != 0;
    out.push_back({p + "." + SwitchBitName(bit), on ? "on" : "off", on ? "true" : "false",
                   on ? "1" : "0", true});
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
  if (type >= 0 && type < static_cast<int>(kBandTypeNames.size())) {
    return std::string(kBandTypeNames[static_cast<std::size_t>(type)]);
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
  std::string out = "\"";
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
  return out + "\"";
}

std::vector<FieldEntry> DescribeParamFile(const ParamFileData& data) {
  std::vector<FieldEntry> out;
  const std::string_view name(data.name.data(), data.name.size());
  std::string shown(name);
  while (!shown.empty() && (shown.back() == ' ' || shown.back() == '\0')) shown.pop_back();
  // The text form trims the padding; raw keeps all 16 bytes so a padding change still shows.
  out.push_back({"preset_name", JsonString(shown), JsonString(name), JsonString(name), true});
  out.push_back(Number("power_mode", data.powerMode));

  const auto& bytes = ByteFields();
  for (std::size_t i = 0; i < bytes.size(); ++i) out.push_back(ByteEntry(bytes[i], data.bytes[i]));
  for (std::size_t k = 0; k < kWordFields.size(); ++k)
    out.push_back(WordEntry(kWordFields[k], data.words[k]));

  for (std::size_t s = 0; s < kEqSetCount; ++s) {
    for (int b = 0; b < kEqSets[s].memoryBands; ++b) {
      out.push_back(BandEntry(std::string(kEqSets[s].name) + ".band" + std::to_string(b),
                              data.eq[s][static_cast<std::size_t>(b)]));
    }
  }
  AddSwitchWord(out, "switch", data.switchWord);
  AddSwitchWord(out, "alt_switch", data.altSwitchWord);
  return out;
}

std::vector<FieldEntry> DescribeBoostFile(const BoostBlock& block) {
  std::vector<FieldEntry> out;
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(block.switches));
  out.push_back({"boost_switches", hex, JsonString(hex), hex, false});
  for (int bit = 0; bit < 8; ++bit) {
    const bool on = ((block.switches >> bit) & 1) != 0;
    out.push_back({"boost_switch." + std::string(kBoostSwitchNames[static_cast<std::size_t>(bit)]),
                   on ? "on" : "off", on ? "true" : "false", on ? "1" : "0", true});
  }
  for (std::size_t c = 0; c < kBoostChannels; ++c) {
    for (int b = 0; b < kBoostBandCounts[c]; ++b) {
      out.push_back(BandEntry(std::string(kBoostChannelNames[c]) + ".band" + std::to_string(b),
                              block.bands[c][static_cast<std::size_t>(b)]));
    }
  }
  return out;
}

}  // namespace tavelo
