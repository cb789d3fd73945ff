#pragma once
// The processor's front panel as tavelo-cli prints it: the tone controls of the music and
// microphone paths, the echo and reverb quick values and the two indicator bytes, decoded
// from a status poll reply.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/engine/StatusDecode.h"
#include "core/params/PresetName.h"  // PresetNameText

namespace tavelo::cli {

struct PanelReading {
  int protocolVersion = 0;
  std::uint8_t indicators[2] = {0, 0};
  PanelPositions positions{};
  ParamImage tone{};  // only toneGroups is meaningful
  FrontPanel panel{};
};

// The data bytes of a status poll reply; nothing when too short to carry the panel.
std::optional<PanelReading> ReadPanel(const std::vector<std::uint8_t>& statusData);

// "music tone: bass +2.0 dB, middle -4.0 dB at 1000 Hz, treble +0.0 dB" and the like, one
// line per control group, each ending in a newline.
std::string FormatPanel(const PanelReading& reading);
std::string FormatIndicators(const PanelReading& reading);
// The same as one JSON object: {"music_tone": {"bass_db": 2.0, ...}, ..., "indicators": [0, 0]}.
std::string PanelJson(const PanelReading& reading);

// The one way a preset name reaches the console: quoted and escaped as `show` prints it, so
// a name from a file or a processor can never send control sequences to a terminal or log.
std::string ShownPresetName(const std::array<char, kPresetNameSize>& name);
// The same for any other name from outside (a room of an inventory).
std::string ShownName(std::string_view name);

}  // namespace tavelo::cli
