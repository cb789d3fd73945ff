// Comparing a room's preset with a reference file: only what the processor holds and
// reports counts, named as `diff` names it; and the report tables line up.
#include <gtest/gtest.h>

#include <iterator>

#include "core/fleet/RoomPreset.h"
#include "core/fleet/TextTable.h"
#include "core/params/PresetName.h"

namespace tavelo {
namespace {

ParamImage Room() {
  ParamImage image{};
  ApplyDefaults(image);
  image.name = SanitisePresetName("HALL");
  return image;
}

TEST(RoomPreset, FieldsADownloadDoesNotCarryComeFromTheReference) {
  const ParamImage room = Room();
  ParamFileData reference = ParamFileDataFromImage(room);
  // What a page keeps and a file stores but the processor never reports.
  reference.eq[kEqMusic][kEqSets[kEqMusic].wireBands] = EqBand{3, kBandHighPass, 80, 7, 0};
  reference.eq[kEqMicA][kEqSets[kEqMicA].memoryBands - 1] = EqBand{1, kBandLowPass, 9000, 7, 0};
  reference.altSwitchWord = 0x55AA;
  reference.powerMode = 1;
  reference.bytes[kSettingsBytes] = 9;
  reference.words[kWordCount] = 999;
  EXPECT_EQ(RoomDifferences(room, reference), std::vector<std::string>{});
  EXPECT_EQ(RoomAsFile(room, reference), reference);
}

TEST(RoomPreset, EveryCarriedFieldThatDiffersIsNamedReferenceFirst) {
  const ParamFileData reference = ParamFileDataFromImage(Room());
  ParamImage room = Room();
  room.byte(img::kMusicVolume) = static_cast<std::uint8_t>(reference.bytes[img::kMusicVolume] + 5);
  room.eq[kEqMusic][kEqSets[kEqMusic].wireBands - 1].gain = 35;  // the last band that travels
  room.name = SanitisePresetName("HALL B");
  room.presetNames[3] = SanitisePresetName("NOT IN A FILE");  // not a preset field: ignored
  const auto lines = RoomDifferences(room, reference);
  ASSERT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
  EXPECT_EQ(lines[0].rfind("preset_name: \"HALL", 0), 0u) << lines[0];
  EXPECT_NE(lines[0].find(" -> \"HALL B"), std::string::npos) << lines[0];
  EXPECT_EQ(lines[1].rfind("music.volume: ", 0), 0u) << lines[1];
  EXPECT_EQ(lines[2].rfind("music_eq.band7: ", 0), 0u) << lines[2];
  EXPECT_NE(lines[2].find("+3.5 dB"), std::string::npos) << lines[2];
}

// A processor may hold control bytes in a preset's name; pull stores the name cleaned, and
// verify right after must find the room the same as the file it just pulled.
TEST(RoomPreset, ANameWithControlBytesIsTheSameAfterPullAsBefore) {
  ParamImage room = Room();
  const char raw[] = {'H', '\x1b', '[', '2', 'J', '\0', 'X', '\x07'};
  std::copy(std::begin(raw), std::end(raw), room.name.begin());
  const ParamFileData pulled = ParamFileDataFromImage(FiledRoomImage(room));
  EXPECT_EQ(RoomDifferences(room, pulled), std::vector<std::string>{});
  for (const char c : pulled.name) EXPECT_GE(static_cast<unsigned char>(c), 0x20);
  // A different name is still a difference.
  room.name = SanitisePresetName("HALL B");
  EXPECT_EQ(RoomDifferences(room, pulled).size(), 1u);
}

TEST(TextTable, ColumnsAlignAndALastCellNeitherPadsNorWidens) {
  EXPECT_EQ(FormatTable({{"ROOM", "RESULT", "DETAIL"},
                         {"\"a\"", "same"},
                         {"\"room-2\"", "unreachable", "a long reason that runs on"},
                         {"", "", "second line"}}),
            "ROOM      RESULT       DETAIL\n"
            "\"a\"       same\n"
            "\"room-2\"  unreachable  a long reason that runs on\n"
            "                       second line\n");
  // A short row's long last cell does not push the columns of the full rows apart.
  EXPECT_EQ(FormatTable({{"A", "B", "C"}, {"x", "a very long reason"}, {"y", "b", "c"}}),
            "A  B  C\n"
            "x  a very long reason\n"
            "y  b  c\n");
  EXPECT_EQ(FormatTable({}), "");
}

}  // namespace
}  // namespace tavelo
