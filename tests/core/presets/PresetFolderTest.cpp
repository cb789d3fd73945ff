// The PC preset folder listing, file names and preset names.
#include <gtest/gtest.h>

#include <algorithm>

#include "TempFolder.h"
#include "presets/PresetFolder.h"

namespace tavelo {
namespace {

using testing::TempFolder;
using testing::WriteBytes;

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

TEST(PresetFolderList, OffersOnlyRegularFilesOfExactly1140Bytes) {
  TempFolder dir;
  WriteBytes(dir / "good", std::vector<std::uint8_t>(1140, 0));
  WriteBytes(dir / "short", std::vector<std::uint8_t>(1139, 0));
  WriteBytes(dir / "long", std::vector<std::uint8_t>(1141, 0));
  WriteBytes(dir / ".tavelo-good.Ab12Cd",
             std::vector<std::uint8_t>(1140, 0));  // a save in progress
  std::filesystem::create_directory(dir / "folder");
  WriteBytes(dir / "folder" / "inside", std::vector<std::uint8_t>(1140, 0));
  WriteBytes(dir / "also good", std::vector<std::uint8_t>(1140, 0));
  EXPECT_EQ(Sorted(ListPresetFolder(dir.path())), (std::vector<std::string>{"also good", "good"}));
  EXPECT_TRUE(ListPresetFolder(dir / "missing").empty());
}

TEST(PresetFolderList, StopsAtOneHundredFiles) {
  TempFolder dir;
  for (int i = 0; i < 105; ++i)
    WriteBytes(dir / ("p" + std::to_string(i)), std::vector<std::uint8_t>(1140, 0));
  const auto names = ListPresetFolder(dir.path());
  EXPECT_EQ(names.size(), 100u);
  const auto sorted = Sorted(names);
  EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
}

TEST(PresetFolderEnsure, CreatesAMissingFolderButNotOverAFile) {
  TempFolder dir;
  EXPECT_TRUE(EnsurePresetFolder(dir / "param_dir"));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "param_dir"));
  EXPECT_TRUE(EnsurePresetFolder(dir / "param_dir"));
  WriteBytes(dir / "plain", {1});
  EXPECT_FALSE(EnsurePresetFolder(dir / "plain"));
}

TEST(PcName, RefusesEmptyAndCharactersNoFileNameTakes) {
  EXPECT_EQ(ValidatePcName(""), PcNameCheck::kEmpty);
  EXPECT_EQ(ValidatePcName("Friday night"), PcNameCheck::kOk);
  EXPECT_EQ(ValidatePcName("ktv.v2"), PcNameCheck::kOk);
  for (const char* bad : {"a/b", "a\\b", "c:", "why?", "*", "<x", "x>", "a|b", "say \"hi\"", ".",
                          "..", "tab\there"}) {
    EXPECT_EQ(ValidatePcName(bad), PcNameCheck::kInvalidCharacter) << bad;
  }
  EXPECT_EQ(ValidatePcName(std::string("nul\0x", 5)), PcNameCheck::kInvalidCharacter);
}

TEST(PresetName, IsSixteenPrintableCharactersSpacePadded) {
  const auto s = [](std::string_view in) {
    const auto a = SanitisePresetName(in);
    return std::string(a.begin(), a.end());
  };
  EXPECT_EQ(s("Room 1"), "Room 1          ");
  EXPECT_EQ(s("exactly sixteen!"), "exactly sixteen!");
  EXPECT_EQ(s("much longer than sixteen"), "much longer than");
  EXPECT_EQ(s("a{b~c\x7f\x1f"
              "z"),
            "a b c  z        ");  // 123 and above, below 32: spaces
  EXPECT_EQ(s("caf\xc3\xa9"), "caf             ");
  EXPECT_EQ(s(""), std::string(16, ' '));
}

TEST(PresetFolderSaveLoad, SavesIntoAFreshFolderAndReadsBack) {
  TempFolder dir;
  ParamImage image;
  image.bytes[img::kMusicMaxVolume] = 84;
  image.bytes[img::kMicMaxVolume] = 80;
  image.bytes[img::kEchoType] = 2;
  image.name = SanitisePresetName("Saved");
  const auto folder = dir / "param_dir";
  ASSERT_TRUE(SaveParamFile(folder, "evening", image).ok);
  EXPECT_EQ(ListPresetFolder(folder), (std::vector<std::string>{"evening"}));
  const ParamFileResult read = ReadParamFile(folder / "evening");
  ASSERT_TRUE(read.ok()) << read.message;
  EXPECT_EQ(read.data, ParamFileDataFromImage(image));

  EXPECT_FALSE(SaveParamFile(folder, "../escape", image).ok);
  EXPECT_FALSE(std::filesystem::exists(dir / "escape"));

  WriteBytes(folder / "huge", std::vector<std::uint8_t>(5000, 0));
  EXPECT_EQ(ReadParamFile(folder / "huge").message, "wrong size: 5000 bytes");
  EXPECT_EQ(ReadParamFile(folder / "absent").error, ParamFileError::kCannotRead);
}

}  // namespace
}  // namespace tavelo
