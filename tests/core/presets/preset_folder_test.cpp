// The PC preset folder listing, file names and preset names.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "core/presets/PresetFolder.h"
#include "support/temp_folder.h"

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

TEST(PresetFolderList, IsInNameOrderAndStopsAtOneHundredFiles) {
  TempFolder dir;
  std::vector<std::string> all;
  for (int i = 104; i >= 0; --i) {
    char name[8];
    std::snprintf(name, sizeof name, "p%03d", i);
    all.push_back(name);
    WriteBytes(dir / name, std::vector<std::uint8_t>(1140, 0));
  }
  const auto names = ListPresetFolder(dir.path());
  // The first hundred by name, whatever order the file system hands them out in.
  all = Sorted(all);
  all.resize(100);
  EXPECT_EQ(names, all);
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

TEST(PcName, RefusesNamesThatSomeDesktopSystemCannotStore) {
  const std::string longest(kMaxPcNameBytes, 'n');
  for (const std::string& good :
       {std::string("console"), std::string("COM10"), std::string("LPT"), std::string("auxiliary"),
        std::string("con-night"), std::string(".hidden"), std::string("\xE9\x9F\xB3\xE4\xB9\x90"),
        longest, std::string("a.b c")}) {
    EXPECT_EQ(ValidatePcName(good), PcNameCheck::kOk) << good;
  }
  // Device names are refused as such, so the message can say why.
  for (const char* reserved : {"CON", "con", "Nul.txt", "aux.tar.gz", "PRN", "com1", "COM9.preset",
                               "lpt5", "LPT0", "COM\xC2\xB9", "con .txt"}) {
    EXPECT_EQ(ValidatePcName(reserved), PcNameCheck::kReservedName) << reserved;
  }
  for (const std::string& bad :
       {std::string("ends with dot."), std::string("ends with space "), std::string("del\x7f"),
        std::string("bell\x07"), longest + "n", std::string("\xE9\x9F"),  // cut UTF-8
        std::string("\xC0\xAF"),                                          // overlong slash
        std::string("\xED\xA0\x80")}) {                                   // a surrogate
    EXPECT_EQ(ValidatePcName(bad), PcNameCheck::kInvalidCharacter) << bad;
  }
}

TEST(PcName, SaveToPcPlansTheRefusalsBeforeTheOverwriteQuestion) {
  const std::vector<std::string> listed = {"CON", "evening"};  // "CON" made on Linux
  EXPECT_EQ(PlanSaveToPc("", listed), SaveToPcStep::kEmpty);
  EXPECT_EQ(PlanSaveToPc("CON", listed), SaveToPcStep::kReserved);
  EXPECT_EQ(PlanSaveToPc("CON?", listed), SaveToPcStep::kInvalid);
  EXPECT_EQ(PlanSaveToPc("evening", listed), SaveToPcStep::kAskOverwrite);
  EXPECT_EQ(PlanSaveToPc("Evening", listed), SaveToPcStep::kSave);  // exact match only
  const std::vector<std::string> full(100, "x");
  EXPECT_EQ(PlanSaveToPc("new", full), SaveToPcStep::kListFull);
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
