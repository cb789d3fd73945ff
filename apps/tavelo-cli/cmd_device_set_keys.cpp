#include "cmd_device_set_keys.h"

#include <array>

#include "cmd_device_options.h"
#include "eq/BandSyntax.h"

namespace tavelo::cli {
namespace {

struct LevelKey {
  const char* key;
  int imageByte;
  int code;
  int max;
};

constexpr std::array<LevelKey, 3> kLevels = {{
    {"music.volume", img::kMusicVolume, 2, 84},
    {"mic.volume", img::kMicVolume, 5, 80},
    {"effect.volume", img::kEffectVolume, 9, 99},
}};

struct NamedValue {
  const char* name;
  int value;
};

constexpr int kModeCode = 34;
constexpr std::array<NamedValue, 3> kModes = {
    {{"auto", kModeAuto}, {"sing", kModeSing}, {"dance", kModeDance}}};

constexpr int kMuteCode = 21;
constexpr std::array<NamedValue, 2> kMute = {{{"off", 0}, {"on", 1}}};

constexpr int kEqBandCode = 3;
struct EqKey {
  const char* name;
  int setId;
  int bands;  // bands that travel with code 3
};
constexpr std::array<EqKey, 9> kEqKeys = {{
    {"mic1", 0, 10},
    {"mic2", 1, 10},
    {"music", 2, 7},
    {"main", 3, 7},
    {"surround", 5, 5},
    {"centre", 7, 5},
    {"sub", 8, 5},
    {"reverb", 9, 5},
    {"echo", 10, 5},
}};

template <std::size_t N>
const NamedValue* FindNamed(const std::array<NamedValue, N>& table, const std::string& name) {
  for (const auto& entry : table) {
    if (name == entry.name) return &entry;
  }
  return nullptr;
}

template <std::size_t N>
std::string Names(const std::array<NamedValue, N>& table) {
  std::string out;
  for (const auto& entry : table) out += std::string(out.empty() ? "" : "|") + entry.name;
  return out;
}

std::optional<SetEdit> ParseEq(const std::string& key, const std::string& value,
                               std::string& error) {
  // eq.SET.BAND
  const std::string rest = key.substr(3);
  const auto dot = rest.find('.');
  if (dot == std::string::npos) {
    error = "'" + key + "': write eq.SET.BAND";
    return std::nullopt;
  }
  const std::string setName = rest.substr(0, dot);
  const EqKey* set = nullptr;
  for (const auto& entry : kEqKeys) {
    if (setName == entry.name) set = &entry;
  }
  if (!set) {
    error = "unknown equaliser '" + setName +
            "' (mic1, mic2, music, main, surround, centre, sub, reverb, echo)";
    return std::nullopt;
  }
  const auto band = ParseWholeNumber(rest.substr(dot + 1), 1, set->bands);
  if (!band) {
    error =
        "'" + key + "': the " + setName + " equaliser has bands 1 to " + std::to_string(set->bands);
    return std::nullopt;
  }
  std::string bandError;
  const auto parsed = ParseBand(value, bandError);
  if (!parsed) {
    error = "'" + key + "=" + value + "': " + bandError;
    return std::nullopt;
  }
  SetEdit edit;
  edit.kind = SetEdit::Kind::kEqBand;
  edit.key = key;
  edit.code = kEqBandCode;
  edit.setId = set->setId;
  edit.band = *band - 1;
  edit.eq = *parsed;
  return edit;
}

}  // namespace

std::optional<SetEdit> ParseSetEdit(const std::string& word, std::string& error) {
  const auto eq = word.find('=');
  if (eq == std::string::npos || eq == 0) {
    error = "'" + word + "' is not KEY=VALUE";
    return std::nullopt;
  }
  const std::string key = word.substr(0, eq);
  const std::string value = word.substr(eq + 1);
  SetEdit edit;
  edit.key = key;
  for (const auto& level : kLevels) {
    if (key != level.key) continue;
    const auto v = ParseWholeNumber(value, 0, level.max);
    if (!v) {
      error = key + " must be 0 to " + std::to_string(level.max) + ", not '" + value + "'";
      return std::nullopt;
    }
    edit.kind = SetEdit::Kind::kLevel;
    edit.imageByte = level.imageByte;
    edit.code = level.code;
    edit.value = *v;
    return edit;
  }
  if (key == "mode" || key == "mute") {
    const bool mode = key == "mode";
    const NamedValue* named = mode ? FindNamed(kModes, value) : FindNamed(kMute, value);
    if (!named) {
      error = key + " must be " + (mode ? Names(kModes) : Names(kMute)) + ", not '" + value + "'";
      return std::nullopt;
    }
    edit.kind = mode ? SetEdit::Kind::kMode : SetEdit::Kind::kMute;
    edit.imageByte = mode ? img::kAppMode : -1;
    edit.code = mode ? kModeCode : kMuteCode;
    edit.value = named->value;
    return edit;
  }
  if (key.rfind("eq.", 0) == 0) return ParseEq(key, value, error);
  error = "unknown key '" + key + "'";
  return std::nullopt;
}

msg::Block ApplySetEdit(const SetEdit& edit, ParamImage& image) {
  switch (edit.kind) {
    case SetEdit::Kind::kLevel:
    case SetEdit::Kind::kMode:
      image.byte(edit.imageByte) = static_cast<std::uint8_t>(edit.value);
      return {edit.code, BlockArg::Value(0)};
    case SetEdit::Kind::kMute:
      return {edit.code, BlockArg::Value(edit.value)};
    case SetEdit::Kind::kEqBand: {
      const int set = EqSetForId(image, edit.setId);
      image.eq[static_cast<std::size_t>(set)][static_cast<std::size_t>(edit.band)] = edit.eq;
      return {edit.code, BlockArg::Value(edit.band * 256 + edit.setId)};
    }
  }
  return {};
}

std::string DescribeSetEdit(const SetEdit& edit, const ParamImage& image) {
  switch (edit.kind) {
    case SetEdit::Kind::kLevel:
      return edit.key + "=" + std::to_string(image.byte(edit.imageByte));
    case SetEdit::Kind::kMode:
      return edit.key + "=" + kModes[static_cast<std::size_t>(edit.value)].name;
    case SetEdit::Kind::kMute:
      return edit.key + "=" + kMute[static_cast<std::size_t>(edit.value)].name;
    case SetEdit::Kind::kEqBand: {
      const int set = EqSetForId(image, edit.setId);
      return edit.key + "=" + FormatBand(edit.eq) + " (" +
             kEqSets[static_cast<std::size_t>(set)].name + ")";
    }
  }
  return edit.key;
}

std::string SetKeysHelp() {
  return "music.volume=0..84 mic.volume=0..80 effect.volume=0..99 mode=" + Names(kModes) +
         " mute=" + Names(kMute) + " eq.SET.BAND=TYPE,FREQ,Q,GAIN";
}

}  // namespace tavelo::cli
