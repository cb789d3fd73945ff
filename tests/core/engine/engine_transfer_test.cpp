// Preset uploads: Save Equipment, Load From PC, load into a slot, mass upload, Save To PC.
#include <cstring>
#include <fstream>

#include "core/presets/ParamFile.h"
#include "core/presets/PresetFolder.h"
#include "engine_harness.h"
#include "support/temp_folder.h"

namespace tavelo::test {
namespace {

namespace fs = std::filesystem;

using TempDir = testing::TempFolder;

// Writes a parameter file holding the defaults with a name and the given volumes.
void WritePresetFile(const fs::path& path, const char* name, int musicVolume = 35,
                     int musicMax = 84) {
  ParamImage image;
  ApplyDefaults(image);
  image.name = SanitisePresetName(name);
  image.byte(img::kMusicVolume) = static_cast<std::uint8_t>(musicVolume);
  image.byte(img::kMusicMaxVolume) = static_cast<std::uint8_t>(musicMax);
  image.byte(img::kEchoType) = 2;
  const auto bytes = BuildParamFile(image);
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

std::string Name(const ParamImage& image) {
  return std::string(image.name.begin(), image.name.end());
}

// 65, eleven 66 (ten of 60 bytes and one of 54, each 9 longer than its count), 67.
void ExpectUpload(const std::vector<WireRequest>& w, std::size_t at, int slotByte) {
  ASSERT_GE(w.size(), at + 13);
  EXPECT_EQ(w[at].code, 65);
  EXPECT_EQ(Le16(w[at].data, 0), 654);
  for (int k = 0; k < 11; ++k) {
    const WireRequest& chunk = w[at + 1 + static_cast<std::size_t>(k)];
    EXPECT_EQ(chunk.code, 66);
    EXPECT_EQ(Le16(chunk.data, 0), k * 60);
    const int count = Le16(chunk.data, 2);
    EXPECT_EQ(count, k < 10 ? 60 : 54);
    EXPECT_EQ(chunk.N(), count + 9);
  }
  EXPECT_EQ(w[at + 12].code, 67);
  EXPECT_EQ(w[at + 12].data[0], slotByte);
}

TEST(EngineTransfer, SaveEquipmentUploadsTheImageUnderTheSanitisedModeName) {
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  const std::size_t mark = h.wire.size();
  h.engine.Image().byte(img::kMusicInitVolume) = 44;
  h.engine.SetModeNameText("Hall\x01{A}");
  h.engine.PostBlock(65, 3);
  ASSERT_TRUE(h.Settle());
  ExpectUpload(h.wire, mark, 3);
  EXPECT_EQ(Name(h.processor.Stored(3)), "Hall  A         ");
  EXPECT_EQ(h.processor.Stored(3).byte(img::kMusicInitVolume), 44);
  EXPECT_EQ(h.engine.CurrentPreset(), 3);
  EXPECT_EQ(Name(ParamImage{h.engine.Image()}).substr(0, 4), "Hall");
  EXPECT_EQ(std::string(h.engine.Image().presetNames[3].data(), 16), "Hall  A         ");
}

TEST(EngineTransfer, LoadFromPcKeepsVolumesThenUploadsIntoTheCurrentSlotMarkedAsFile) {
  TempDir dir;
  WritePresetFile(dir.path() / "party", "PARTY", 80, 60);
  EngineHarness h;
  h.engine.SetParamDir(dir.path());
  ASSERT_EQ(h.engine.PcFiles(), (std::vector<std::string>{"party"}));
  ASSERT_TRUE(h.ConnectAndRead());
  h.engine.Image().byte(img::kMusicVolume) = 70;
  const std::size_t mark = h.wire.size();
  const int shown = h.recorder.distributions;

  h.engine.Post(msg::LoadFromPc{0, {}});
  EXPECT_EQ(h.engine.Image().byte(img::kMusicVolume), 60);  // kept 70, limited to the file's 60
  EXPECT_EQ(h.engine.Image().byte(img::kEchoType), 2);
  EXPECT_EQ(h.recorder.distributions, shown + 1);
  // "Load OK" once the processor has confirmed the upload, not before.
  EXPECT_TRUE(h.recorder.messages.empty());
  ASSERT_TRUE(h.Settle());
  ExpectUpload(h.wire, mark, 0 | 0x80);
  EXPECT_EQ(h.recorder.LastMessage(), " \t   Load OK\t\t  ");
  EXPECT_EQ(h.recorder.messages.back().captionKind, CaptionKind::kEmpty);
  EXPECT_EQ(Name(h.processor.Stored(0)), "PARTY           ");

  // Into a slot: no file bit, the slot becomes current, no message.
  const std::size_t mark2 = h.wire.size();
  const std::size_t said = h.recorder.messages.size();
  h.engine.Post(msg::LoadIntoSlot{0, 4, {}});
  ASSERT_TRUE(h.Settle());
  ExpectUpload(h.wire, mark2, 4);
  EXPECT_EQ(h.engine.CurrentPreset(), 4);
  EXPECT_EQ(h.recorder.messages.size(), said);
}

// The stored slots end at one bound on every path that names a slot: the last one is
// written or recalled, the one after it sends nothing (it would write the factory set).
TEST(EngineTransfer, EveryPathTakesTheLastStoredSlotAndRefusesTheNext) {
  TempDir dir;
  WritePresetFile(dir.path() / "party", "PARTY");
  EngineHarness h;
  h.engine.SetParamDir(dir.path());
  ASSERT_TRUE(h.ConnectAndRead());
  const auto sends = [&](auto post) {
    const std::size_t mark = h.wire.size();
    post();
    EXPECT_TRUE(h.Settle());
    return h.wire.size() > mark;
  };
  const int recall = CodeNumber(CommandCode::kRecallPreset);
  const int save = CodeNumber(CommandCode::kWriteStart);
  for (const int slot : {kStoredPresets, kStoredPresets + 1, -1}) {
    SCOPED_TRACE(slot);
    EXPECT_FALSE(sends([&] { h.engine.PostBlock(recall, slot); }));
    EXPECT_FALSE(sends([&] { h.engine.PostBlock(save, slot); }));
    EXPECT_FALSE(sends([&] { h.engine.Post(msg::LoadIntoSlot{0, slot, {}}); }));
  }
  EXPECT_TRUE(sends([&] { h.engine.PostBlock(recall, kLastPresetSlot); }));
  EXPECT_EQ(h.processor.CurrentPreset(), kLastPresetSlot);
  const std::size_t mark = h.wire.size();
  EXPECT_TRUE(sends([&] { h.engine.Post(msg::LoadIntoSlot{0, kLastPresetSlot, {}}); }));
  ExpectUpload(h.wire, mark, kLastPresetSlot);
  EXPECT_EQ(Name(h.processor.Stored(kLastPresetSlot)), "PARTY           ");
}

// An upload the processor never confirms is no success: no "Load OK", whether the link
// drops or the reply times out. Without a link, the file is loaded into the panel only.
TEST(EngineTransfer, LoadOkOnlyAfterTheProcessorConfirmedTheUpload) {
  TempDir dir;
  WritePresetFile(dir.path() / "party", "PARTY");
  for (const SimFaultSpec fault :
       {SimFaultSpec{SimFault::kCutAfter, 5}, SimFaultSpec{SimFault::kDropReply, 67}}) {
    EngineHarness h(Link::kStream);
    h.engine.SetParamDir(dir.path());
    ASSERT_TRUE(h.ConnectAndRead());
    h.processor.AddFault(fault);
    h.engine.Post(msg::LoadFromPc{0, {}});
    ASSERT_TRUE(h.StepUntil([&] { return h.engine.State() == ConnState::kIdle; }, 600));
    h.Steps(3);
    for (const UserMessage& m : h.recorder.messages) EXPECT_NE(m.id, TextId::kMsgLoadOk);
  }
  EngineHarness idle;
  idle.engine.SetParamDir(dir.path());
  idle.engine.Post(msg::LoadFromPc{0, {}});
  EXPECT_EQ(idle.recorder.LastMessage(), " \t   Load OK\t\t  ");
}

TEST(EngineTransfer, BadFileIsRefusedAndChangesNothing) {
  TempDir dir;
  std::ofstream(dir.path() / "short", std::ios::binary) << std::string(1139, '\0');
  EngineHarness h;
  h.engine.SetParamDir(dir.path());
  ASSERT_TRUE(h.ConnectAndRead());
  const ParamImage before = h.engine.Image();
  const std::size_t mark = h.wire.size();
  h.engine.Post(msg::LoadFromPc{-1, (dir.path() / "short").string()});
  EXPECT_EQ(h.recorder.LastMessage(), " \t   Load fail\t   ");
  EXPECT_EQ(h.recorder.messages.back().captionKind, CaptionKind::kAppTitle);
  EXPECT_EQ(h.engine.Image(), before);
  h.Steps(3);
  EXPECT_EQ(h.wire.size(), mark);
}

TEST(EngineTransfer, MassUploadWritesLastFileFirstThenRecallsPresetZero) {
  TempDir dir;
  for (const char* n : {"one", "two", "three"}) WritePresetFile(dir.path() / n, n);
  EngineHarness h;
  h.engine.SetParamDir(dir.path());
  ASSERT_TRUE(h.ConnectAndRead());
  const std::size_t mark = h.wire.size();
  h.engine.Post(msg::MassUpload{{"one", "two", "three"}, false});
  ASSERT_TRUE(h.StepUntil([&] {
    return !h.engine.MassUploadRunning() && h.engine.ParamSetRead() && !h.engine.ReplyAwaited();
  }));
  ExpectUpload(h.wire, mark, 2);
  ExpectUpload(h.wire, mark + 13, 1);
  ExpectUpload(h.wire, mark + 26, 0);
  EXPECT_EQ(h.wire[mark + 39].code, 1);
  EXPECT_EQ(h.wire[mark + 39].data[0], 0);
  EXPECT_EQ(h.wire[mark + 40].code, 63);
  EXPECT_EQ(Name(h.processor.Stored(2)).substr(0, 5), "three");
  EXPECT_EQ(Name(h.processor.Stored(0)).substr(0, 3), "one");
  EXPECT_FALSE(h.engine.WaitOpen());
  EXPECT_EQ(h.recorder.waitOpens, 2);  // connecting, then saving
  EXPECT_TRUE(h.engine.MassUpload().complete);
  EXPECT_FALSE(h.engine.MassUpload().running);
  EXPECT_EQ(h.engine.MassUpload().SlotsIn(MassSlotState::kWritten), (std::vector<int>{2, 1, 0}));
}

TEST(EngineTransfer, FactoryMassUploadFinishesInFactorySlotsAndSaysSaved) {
  TempDir dir;
  WritePresetFile(dir.path() / "a", "A");
  WritePresetFile(dir.path() / "b", "B");
  EngineHarness h;
  h.engine.SetParamDir(dir.path());
  ASSERT_TRUE(h.ConnectAndRead());
  const std::size_t mark = h.wire.size();
  const int current = h.engine.CurrentPreset();
  h.engine.Post(msg::MassUpload{{"a", "b"}, true});
  ASSERT_TRUE(h.StepUntil([&] { return !h.engine.MassUploadRunning(); }));
  ASSERT_TRUE(h.Settle());
  ExpectUpload(h.wire, mark, 11);
  ExpectUpload(h.wire, mark + 13, 10);
  EXPECT_EQ(h.wire.size(), mark + 26);  // no recall
  EXPECT_EQ(h.recorder.LastMessage(), "        Saved OK        ");
  EXPECT_EQ(h.engine.CurrentPreset(), current);
  EXPECT_EQ(Name(h.processor.Factory(1)).substr(0, 1), "B");
  EXPECT_FALSE(h.engine.WaitOpen());
}

TEST(EngineTransfer, MassUploadStopsAtABadFile) {
  TempDir dir;
  WritePresetFile(dir.path() / "good", "G");
  std::ofstream(dir.path() / "bad", std::ios::binary) << std::string(1140, '\x01');
  EngineHarness h;
  h.engine.SetParamDir(dir.path());
  ASSERT_TRUE(h.ConnectAndRead());
  const std::size_t mark = h.wire.size();
  h.engine.Post(msg::MassUpload{{"good", "bad", "good"}, false});
  ASSERT_TRUE(h.Settle());
  h.Steps(5);
  ExpectUpload(h.wire, mark, 2);
  EXPECT_EQ(h.wire.size(), mark + 13);
  EXPECT_EQ(h.recorder.LastMessage(),
            "bad Load fail\nWritten: 3\nIn progress, may hold a mix of old and new: none\n"
            "Not reached, unchanged: 2, 1");
  EXPECT_FALSE(h.engine.MassUploadRunning());
  EXPECT_FALSE(h.engine.WaitOpen());
}

// A link lost or a reply missing half way: the user learns which slots hold new presets,
// which one may be half written and which were never touched, in the message and in the
// report a dialog can show.
TEST(EngineTransfer, AMassUploadThatStopsSaysWhichSlotsItWrote) {
  TempDir dir;
  for (const char* n : {"one", "two", "three"}) WritePresetFile(dir.path() / n, n);
  struct Case {
    SimFaultSpec fault;
    std::vector<MassSlotState> states;  // slot 0, 1, 2
    const char* lines;
  };
  // Each upload takes 13 replies (counted from when the fault is set): the 18th is in the
  // second upload.
  const Case cases[] = {
      {{SimFault::kCutAfter, 13 + 5},
       {MassSlotState::kNotReached, MassSlotState::kInProgress, MassSlotState::kWritten},
       "Written: 3\nIn progress, may hold a mix of old and new: 2\nNot reached, unchanged: 1"},
      {{SimFault::kDropReply, 66},
       {MassSlotState::kNotReached, MassSlotState::kNotReached, MassSlotState::kInProgress},
       "Written: none\nIn progress, may hold a mix of old and new: 3\n"
       "Not reached, unchanged: 2, 1"},
  };
  for (const Case& c : cases) {
    EngineHarness h(Link::kStream);
    h.engine.SetParamDir(dir.path());
    ASSERT_TRUE(h.ConnectAndRead());
    h.processor.AddFault(c.fault);
    int progress = 0;
    h.engine.Post(msg::MassUpload{{"one", "two", "three"}, false});
    ASSERT_TRUE(h.StepUntil([&] { return h.engine.State() == ConnState::kIdle; }, 600));
    const MassUploadReport& report = h.engine.MassUpload();
    EXPECT_FALSE(report.running);
    EXPECT_FALSE(report.complete);
    ASSERT_EQ(report.entries.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_EQ(report.entries[i].state, c.states[i]) << "slot " << i;
      EXPECT_EQ(report.entries[i].slot, static_cast<int>(i));
    }
    EXPECT_EQ(report.entries[2].file, "three");
    EXPECT_EQ(h.recorder.LastMessage(),
              std::string("Mass upload stopped before every user mode was written.\n") + c.lines);
    EXPECT_EQ(h.recorder.massProgress.back(), report);
    progress = static_cast<int>(h.recorder.massProgress.size());
    EXPECT_GE(progress, 3);  // start, first slot begun, ..., stopped
    EXPECT_TRUE(h.recorder.massProgress.front().running);
  }
}

TEST(EngineTransfer, UploadFinishedAppliesInitialVolumesThenLimits) {
  EngineHarness h;
  h.processor.SetUseInitVolume(true);
  ASSERT_TRUE(h.ConnectAndRead());
  ASSERT_TRUE(h.engine.UseInitVol());
  auto& b = h.engine.Image().bytes;
  b[img::kMusicInitVolume] = 50;
  b[img::kMusicMaxVolume] = 40;
  b[img::kMicInitVolume] = 30;
  b[img::kEffectInitLevel] = 20;
  h.engine.PostBlock(65, 1);
  ASSERT_TRUE(h.Settle());
  EXPECT_EQ(h.recorder.topBar.music, 40);
  EXPECT_EQ(h.recorder.topBar.mic, 30);
  EXPECT_EQ(h.recorder.topBar.effect, 20);
}

TEST(EngineTransfer, SaveToPcWritesTheFileOrExplainsTheName) {
  TempDir dir;
  EngineHarness h;
  h.engine.SetParamDir(dir.path() / "param_dir");
  h.engine.SetModeNameText("Evening");
  h.engine.Post(msg::SaveToPc{"evening"});
  EXPECT_EQ(h.recorder.LastMessage(), " \t   Save OK\t\t  ");
  const ParamFileResult saved = ReadParamFile(dir.path() / "param_dir" / "evening");
  ASSERT_TRUE(saved.ok()) << saved.message;
  EXPECT_EQ(std::string(saved.data.name.data(), 7), "Evening");
  EXPECT_EQ(h.engine.PcFiles(), (std::vector<std::string>{"evening"}));

  h.engine.Post(msg::SaveToPc{""});
  EXPECT_EQ(h.recorder.LastMessage(), "PC Name is empty ");
  h.engine.Post(msg::SaveToPc{"a/b"});
  EXPECT_EQ(h.recorder.LastMessage(), "Invalid character in PC Name");
  EXPECT_EQ(h.engine.PcFiles().size(), 1u);

  // A save through a link writes the file the link names (Windows users seldom have links).
#ifndef _WIN32
  WritePresetFile(dir.path() / "kept", "Old");
  fs::create_symlink(dir.path() / "kept", dir.path() / "param_dir" / "linked");
  h.engine.Post(msg::SaveToPc{"linked"});
  EXPECT_EQ(h.recorder.LastMessage(), " \t   Save OK\t\t  ");
  EXPECT_TRUE(fs::is_symlink(dir.path() / "param_dir" / "linked"));
  EXPECT_EQ(std::string(ReadParamFile(dir.path() / "kept").data.name.data(), 7), "Evening");
#endif
  // A failed save says why, in the system's words.
  fs::create_directory(dir.path() / "param_dir" / "taken");
  h.engine.Post(msg::SaveToPc{"taken"});
  const std::string& detail = h.recorder.messages.back().detail;
  const std::string taken = (dir.path() / "param_dir" / "taken").string();
#ifndef _WIN32
  EXPECT_TRUE(detail.starts_with("cannot write " + taken + ": ")) << detail;
  EXPECT_TRUE(detail.ends_with("it is a folder")) << detail;
#else
  EXPECT_TRUE(detail.starts_with("cannot replace " + taken + ": ")) << detail;
#endif
  EXPECT_EQ(h.recorder.LastMessage(), " \t  Save Failed  \n" + h.recorder.messages.back().detail);
}

// The cheap check for changes made by another client: one start request when nothing
// changed, a whole read when the body, the preset or the lock did.
TEST(EngineTransfer, AProbeReadsTheWholeSetOnlyWhenTheProcessorAnnouncesAnotherSet) {
  EngineHarness h;
  ASSERT_TRUE(h.ConnectAndRead());
  const int shown = h.recorder.distributions;
  auto probe = [&h] {
    const std::size_t mark = h.wire.size();
    EXPECT_TRUE(h.engine.ProbeSet());
    EXPECT_TRUE(h.engine.Probing());
    EXPECT_TRUE(h.Settle());
    EXPECT_FALSE(h.engine.Probing());
    EXPECT_EQ(h.engine.TransferPhase(), SetTransfer::Phase::kIdle);
    return h.Codes(mark);
  };
  EXPECT_EQ(probe(), std::vector<int>{63});
  EXPECT_EQ(h.recorder.distributions, shown);

  // A single byte changed behind the engine's back changes the checksum.
  h.processor.Current().byte(img::kMusicVolume) += 1;
  const auto reread = probe();
  ASSERT_EQ(reread.size(), 18u);  // the start, then 17 chunks
  EXPECT_EQ(h.engine.Image().byte(img::kMusicVolume),
            h.processor.Current().byte(img::kMusicVolume));
  EXPECT_EQ(h.recorder.distributions, shown + 1);
  EXPECT_EQ(probe().size(), 1u);

  // Same body, another preset or lock: read again too.
  h.processor.SetCurrentPreset(4);
  EXPECT_EQ(probe().size(), 18u);
  EXPECT_EQ(h.engine.CurrentPreset(), 4);
  h.processor.SetAdminMode(2);
  EXPECT_EQ(probe().size(), 18u);
  // The input status follows the signals, not the set.
  h.processor.SetInputStatus(0x06);
  EXPECT_EQ(probe().size(), 1u);

  // Probes as often as one likes: the status poll still goes out when the link has been
  // otherwise idle for its interval.
  const std::size_t mark = h.wire.size();
  for (int i = 0; i < 60; ++i) {
    h.Settle();
    if (h.engine.ProbeSet()) {
      EXPECT_FALSE(h.engine.ProbeSet());  // one at a time
    }
    h.Settle();
    h.Step();
  }
  EXPECT_GE(h.WithCode(63, mark).size(), 55u);
  EXPECT_FALSE(h.WithCode(28, mark).empty());

  // A probe on a link that drops before its answer leaves no probe behind.
  ASSERT_TRUE(h.engine.ProbeSet());
  h.engine.Post(msg::Connect{});  // the user disconnects
  EXPECT_FALSE(h.engine.Probing());
}

}  // namespace
}  // namespace tavelo::test
