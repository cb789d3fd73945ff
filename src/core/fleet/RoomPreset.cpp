#include "core/fleet/RoomPreset.h"

#include <array>

#include "core/params/Bodies.h"
#include "core/params/PresetName.h"
#include "core/presets/FileReport.h"
#include "core/presets/ParamFields.h"

namespace tavelo {

ParamFileData RoomAsFile(const ParamImage& room, const ParamFileData& reference) {
  ParamFileData data = ParamFileDataFromImage(room);
  data.bytes[kSettingsBytes] = reference.bytes[kSettingsBytes];
  data.words[kWordCount] = reference.words[kWordCount];
  for (std::size_t s = 0; s < kEqSets.size(); ++s) {
    for (int b = kEqSets[s].wireBands; b < kEqSets[s].memoryBands; ++b) {
      data.eq[s][static_cast<std::size_t>(b)] = reference.eq[s][static_cast<std::size_t>(b)];
    }
  }
  data.altSwitchWord = reference.altSwitchWord;
  data.powerMode = reference.powerMode;
  return data;
}

ParamImage AsUploaded(const ParamImage& sent) {
  std::array<std::uint8_t, kUploadBodySize> body{};
  BuildUploadBody(sent, body);
  ParamImage stored = sent;
  DecodeUploadBody(body.data(), stored);
  return stored;
}

ParamImage FiledRoomImage(ParamImage room) {
  room.name = SanitisePresetName(PresetNameText(room.name));
  return room;
}

std::vector<std::string> RoomDifferences(const ParamImage& room, const ParamFileData& reference) {
  ParamFileData golden = reference;
  golden.name = SanitisePresetName(PresetNameText(golden.name));
  return DiffFields(DescribeParamFile(golden),
                    DescribeParamFile(RoomAsFile(FiledRoomImage(room), golden)));
}

}  // namespace tavelo
