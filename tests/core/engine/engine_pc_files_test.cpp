// Save To PC when the disk fails: the previous file stays and no row appears for a file
// that does not exist.
#include <gtest/gtest.h>

#include <fstream>

#include "core/presets/PresetFolder.h"
#include "core/text/Texts.h"
#include "engine_harness.h"
#include "support/temp_folder.h"

namespace tavelo::test {
namespace {

namespace fs = std::filesystem;

using testing::ReadBytes;

struct FaultGuard {
  explicit FaultGuard(WriteFault fault) { SetSaveFaultForTesting(fault); }
  ~FaultGuard() { SetSaveFaultForTesting(WriteFault::kNone); }
};

// The save-failed message, then what could not be done to which file and the system's reason
// on a line of its own.
void ExpectSaveFailedWithReason(const std::string& message, const std::string& file) {
  EXPECT_TRUE(message.starts_with(" \t  Save Failed  \ncannot ")) << message;
  const std::string separator = fs::path("/").make_preferred().string();
  EXPECT_NE(message.find(separator + file + ": "), std::string::npos) << message;
}

TEST(EnginePcFiles, AFailedSaveKeepsThePreviousFileAndAddsNoRow) {
  const testing::TempFolder scratch;
  const fs::path dir = scratch / "param_dir";  // made by the first save
  EngineHarness h;
  h.engine.SetParamDir(dir);
  h.engine.SetModeNameText("First");
  h.engine.Post(msg::SaveToPc{"evening"});
  ASSERT_EQ(h.recorder.LastMessage(), " \t   Save OK\t\t  ");
  const auto before = ReadBytes(dir / "evening");
  ASSERT_EQ(before.size(), kParamFileSize);

  for (WriteFault fault :
       {WriteFault::kAfterPartialWrite, WriteFault::kAtSync, WriteFault::kAtRename}) {
    FaultGuard guard(fault);
    h.engine.SetModeNameText("Second");
    h.engine.Post(msg::SaveToPc{"evening"});  // overwrite, interrupted
    ExpectSaveFailedWithReason(h.recorder.LastMessage(), "evening");
    EXPECT_EQ(ReadBytes(dir / "evening"), before);
    h.engine.Post(msg::SaveToPc{"night"});  // a new name, interrupted
    ExpectSaveFailedWithReason(h.recorder.LastMessage(), "night");
    EXPECT_FALSE(fs::exists(dir / "night"));
    EXPECT_EQ(h.engine.PcFiles(), std::vector<std::string>{"evening"});
  }
  // No half-written temporary file is left behind either.
  int entries = 0;
  for ([[maybe_unused]] const auto& e : fs::directory_iterator(dir)) ++entries;
  EXPECT_EQ(entries, 1);

  h.engine.Post(msg::SaveToPc{"night"});
  EXPECT_EQ(h.recorder.LastMessage(), " \t   Save OK\t\t  ");
  EXPECT_EQ(h.engine.PcFiles(), (std::vector<std::string>{"evening", "night"}));
}

TEST(EnginePcFiles, NamesNoDesktopSystemTakesAreRefusedBeforeWriting) {
  const testing::TempFolder scratch;
  const fs::path dir = scratch / "param_dir";  // made by the first save
  EngineHarness h;
  h.engine.SetParamDir(dir);
  for (const char* name : {"trailing.", "trailing ", ".."}) {
    h.engine.Post(msg::SaveToPc{name});
    EXPECT_EQ(h.recorder.LastMessage(), "Invalid character in PC Name") << name;
  }
  for (const char* name : {"CON", "aux.txt", "lpt1"}) {
    h.engine.Post(msg::SaveToPc{name});
    EXPECT_EQ(h.recorder.LastMessage(), Text(TextId::kMsgPcNameReserved, Lang::kEnglish)) << name;
  }
  EXPECT_FALSE(fs::exists(dir));  // not even the folder was made
  EXPECT_TRUE(h.engine.PcFiles().empty());
}

}  // namespace
}  // namespace tavelo::test
