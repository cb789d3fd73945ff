#pragma once
// The processor's current preset (the engine's image) against a PC preset file, field by
// field, with the names `tavelo-cli show` prints and the catalogue's units: the same
// comparison `tavelo-cli diff` makes between two files.
#include <filesystem>
#include <string>
#include <vector>

#include "core/params/ParamImage.h"

namespace tavelo {

struct ComparedField {
  std::string key;        // "music.volume", "music_eq.band4"
  std::string processor;  // the value as the image holds it
  std::string file;       // the value as the file holds it
  std::string unit;       // "dB", "Hz", ... empty where the value names its own
};

struct PresetComparison {
  bool ok = false;
  std::string message;  // why the file cannot be compared ("bad checksum", "is a boost file")
  std::vector<ComparedField> fields;
};

PresetComparison CompareWithFile(const ParamImage& image, const std::filesystem::path& file);

}  // namespace tavelo
