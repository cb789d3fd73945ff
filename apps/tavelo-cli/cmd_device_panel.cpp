#include "cmd_device_panel.h"

#include <cstdio>

#include "JsonText.h"
#include "core/presets/ParamFields.h"

namespace tavelo::cli {

namespace {

constexpr std::size_t kVersionByte = 1;
constexpr std::size_t kIndicatorByte = 2;
constexpr std::size_t kFirstPositionByte = 4;

std::string Tone(const char* label, const std::array<EqBand, 7>& group) {
  char line[160];
  std::snprintf(line, sizeof line,
                "%s tone: bass %+.1f dB, middle %+.1f dB at %d Hz, treble %+.1f dB\n", label,
                group[1].gain / 10.0, group[2].gain / 10.0, static_cast<int>(group[2].freq),
                group[3].gain / 10.0);
  return line;
}

std::string ToneJson(const std::array<EqBand, 7>& group) {
  return JsonObject()
      .Decimal("bass_db", group[1].gain / 10.0, 1)
      .Decimal("middle_db", group[2].gain / 10.0, 1)
      .Number("middle_hz", static_cast<long long>(group[2].freq))
      .Decimal("treble_db", group[3].gain / 10.0, 1)
      .Str();
}

}  // namespace

std::optional<PanelReading> ReadPanel(const std::vector<std::uint8_t>& statusData) {
  if (statusData.size() < kFirstPositionByte + kPanelPositionBytes) return std::nullopt;
  PanelReading r;
  r.protocolVersion = statusData[kVersionByte];
  r.indicators[0] = statusData[kIndicatorByte];
  r.indicators[1] = statusData[kIndicatorByte + 1];
  std::copy(statusData.begin() + kFirstPositionByte,
            statusData.begin() + kFirstPositionByte + kPanelPositionBytes, r.positions.begin());
  DecodePanelPositions(r.positions, r.tone, r.panel);
  return r;
}

std::string FormatPanel(const PanelReading& r) {
  std::string out = Tone("music", r.tone.toneGroups[0]) + Tone("mic", r.tone.toneGroups[1]);
  char line[160];
  std::snprintf(line, sizeof line, "echo: level %d, delay %d, repeat %d\n", r.panel.echoQuick[0],
                r.panel.echoQuick[1], r.panel.echoQuick[2]);
  out += line;
  std::snprintf(line, sizeof line, "reverb: level %d, decay %d, liveliness %d\n",
                r.panel.reverbQuick[0], r.panel.reverbQuick[1], r.panel.reverbQuick[2]);
  out += line;
  return out;
}

std::string FormatIndicators(const PanelReading& r) {
  char line[64];
  std::snprintf(line, sizeof line, "indicators: %02X %02X\n", r.indicators[0], r.indicators[1]);
  return line;
}

std::string PanelJson(const PanelReading& r) {
  const auto& echo = r.panel.echoQuick;
  const auto& reverb = r.panel.reverbQuick;
  return JsonObject()
      .Raw("music_tone", ToneJson(r.tone.toneGroups[0]))
      .Raw("mic_tone", ToneJson(r.tone.toneGroups[1]))
      .Raw("echo", JsonObject()
                       .Number("level", echo[0])
                       .Number("delay", echo[1])
                       .Number("repeat", echo[2])
                       .Str())
      .Raw("reverb", JsonObject()
                         .Number("level", reverb[0])
                         .Number("decay", reverb[1])
                         .Number("liveliness", reverb[2])
                         .Str())
      .Raw("indicators",
           JsonList({std::to_string(r.indicators[0]), std::to_string(r.indicators[1])}))
      .Str();
}

std::string ShownPresetName(const std::array<char, kPresetNameSize>& name) {
  return ShownName(PresetNameText(name));
}

std::string ShownName(std::string_view name) {
  return JsonString(name);
}

}  // namespace tavelo::cli
