#include "core/presets/PresetImage.h"

#include "core/presets/AtomicFile.h"
#include "core/presets/ParamFile.h"

namespace tavelo {

std::optional<ParamImage> LoadPresetImage(const std::filesystem::path& path, std::string& error) {
  // One byte more than a parameter file, so a longer file is told apart from a short read.
  const ReadResult read = ReadWholeFile(path, kParamFileSize + 1);
  if (!read.ok) {
    error = read.tooLarge
                ? "not a parameter file: larger than " + std::to_string(kParamFileSize) + " bytes"
                : read.message;
    return std::nullopt;
  }
  const ParamFileResult parsed = ParseParamFile(read.bytes.data(), read.bytes.size());
  if (!parsed.ok()) {
    error = "not a parameter file: " + parsed.message;
    return std::nullopt;
  }
  ParamImage image;
  ApplyDefaults(image);
  CopyFileFields(image, parsed.data);
  return image;
}

}  // namespace tavelo
