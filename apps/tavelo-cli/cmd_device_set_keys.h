#pragma once
// The KEY=VALUE words of `tavelo-cli set`: which image field each key writes and which block
// request sends it. Parsing happens before connecting, so a bad word costs no connection.
#include <optional>
#include <string>

#include "engine/Engine.h"

namespace tavelo::cli {

struct SetEdit {
  enum class Kind { kLevel, kMode, kMute, kEqBand };
  Kind kind = Kind::kLevel;
  std::string key;
  int imageByte = -1;  // kLevel, kMode
  int code = 0;
  int value = 0;  // kLevel, kMode, kMute
  int setId = 0;  // kEqBand: the code-3 set id
  int band = 0;   // kEqBand: from 0
  EqBand eq{};    // kEqBand
};

// "music.volume=40", "mode=sing", "mute=on", "eq.mic1.3=peak,1000,1.0,-3.5".
std::optional<SetEdit> ParseSetEdit(const std::string& word, std::string& error);

// Writes the edit into the image and returns the block request that sends it. The output
// EQ sets follow the application mode in the image, as code 3 does.
msg::Block ApplySetEdit(const SetEdit& edit, ParamImage& image);

// "music.volume=60": the value as the image holds it once the engine has handled the
// request (volumes limited to their maxima).
std::string DescribeSetEdit(const SetEdit& edit, const ParamImage& image);

// The keys, for the usage text.
std::string SetKeysHelp();

}  // namespace tavelo::cli
