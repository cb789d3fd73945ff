#include "hub/SetImage.h"

#include "core/presets/ParamFile.h"

namespace tavelo::hub {

std::optional<ParamImage> ImageOfSet(const QByteArray& parameterFile) {
  const ParamFileResult file =
      ParseParamFile(reinterpret_cast<const std::uint8_t*>(parameterFile.constData()),
                     static_cast<std::size_t>(parameterFile.size()));
  if (!file.ok()) return std::nullopt;
  ParamImage image;
  ApplyDefaults(image);
  CopyFileFields(image, file.data);
  return image;
}

}  // namespace tavelo::hub
