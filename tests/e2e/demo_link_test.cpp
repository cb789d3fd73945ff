// tavelo-cli against the virtual processor built into it (--link demo): the simulated HID
// exchange, one 64-byte report per reply. The processor lives and dies with each run, so
// these tests check what the command printed and wrote, and the request frames it sent
// (--trace), against a processor built here from the same seed.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <algorithm>
#include <cstdio>

#include "core/params/Bodies.h"
#include "core/presets/PresetFolder.h"
#include "core/sim/VirtualProcessor.h"
#include "e2e_support.h"

namespace tavelo::e2e {
namespace {

constexpr std::uint32_t kSeed = 7;
const QStringList kDemo = {"--link", "demo", "--demo-seed", "7"};

QStringList Demo(QStringList args) {
  return args + kDemo;
}

std::string Trimmed(const std::array<char, kPresetNameSize>& name) {
  std::string text(name.begin(), name.end());
  while (!text.empty() && (text.back() == ' ' || text.back() == '\0')) text.pop_back();
  return text;
}

// The parts of a preset the processor stores: settings, words, the bands that travel,
// the switch word and the name.
void ExpectSamePreset(const ParamImage& a, const ParamImage& b) {
  for (int i = 0; i < kSettingsBytes; ++i) EXPECT_EQ(a.byte(i), b.byte(i)) << "image " << i;
  for (int k = 0; k < kWordCount; ++k) EXPECT_EQ(a.word(k), b.word(k)) << "W" << k;
  for (int s = 0; s < kEqSetCount; ++s) {
    const auto& info = kEqSets[static_cast<std::size_t>(s)];
    for (int band = 0; band < info.wireBands; ++band) {
      EqBand x = a.eq[static_cast<std::size_t>(s)][static_cast<std::size_t>(band)];
      EqBand y = b.eq[static_cast<std::size_t>(s)][static_cast<std::size_t>(band)];
      x.slope = y.slope = 0;  // not carried by the processor
      EXPECT_EQ(x, y) << info.name << " band " << band;
    }
  }
  EXPECT_EQ(a.switchWord, b.switchWord);
  EXPECT_EQ(a.name, b.name);
}

ParamImage ImageOf(const ParamFileData& data) {
  ParamImage image{};
  ApplyDefaults(image);
  image.bytes = data.bytes;
  image.words = data.words;
  image.eq = data.eq;
  image.switchWord = data.switchWord;
  image.name = data.name;
  return image;
}

// A preset unlike the seeded ones: every value a file can carry differs somewhere.
ParamImage DistinctPreset(const char* name) {
  ParamImage image{};
  ApplyDefaults(image);
  image.byte(img::kMusicVolume) = 80;
  image.byte(img::kMusicMaxVolume) = 60;
  image.byte(img::kMicVolume) = 5;
  image.word(24) = 1234;
  image.eq[kEqMusic][2] = EqBand{0, kBandHighShelf, 5000, 7, -55};
  image.switchWord = 0x01234567;
  image.name = SanitisePresetName(name);
  return image;
}

// The 654-byte body the code-66 frames carried, in offset order.
std::vector<std::uint8_t> UploadedBody(const std::string& err, std::vector<int>& counts) {
  std::vector<std::uint8_t> body(kUploadBodySize, 0);
  for (const auto& f : SentFrames(err, 66)) {
    const int offset = f[4] | f[5] << 8;
    const int count = f[6] | f[7] << 8;
    counts.push_back(count);
    EXPECT_EQ(f.size(), static_cast<std::size_t>(count + 9 + 4)) << "N = count + 9";
    if (offset + count <= kUploadBodySize) {
      std::copy(f.begin() + 8, f.begin() + 8 + count, body.begin() + offset);
    }
  }
  return body;
}

TEST(DemoLink, StatusAndPullShowTheProcessorsCurrentPreset) {
  const VirtualProcessor processor = VirtualProcessor::Seeded(kSeed);
  const std::string name = Trimmed(processor.Current().name);

  const CliRun status = RunCli(Demo({"status"}));
  ASSERT_EQ(status.exitCode, 0) << status.err;
  EXPECT_NE(status.out.find("protocol version: 3\n"), std::string::npos) << status.out;
  EXPECT_NE(status.out.find("current preset: " + std::to_string(processor.CurrentPreset() + 1) +
                            " \"" + name + "\"\n"),
            std::string::npos)
      << status.out;
  EXPECT_NE(status.out.find("lock: off\nadmin mode: 1\n"), std::string::npos);
  EXPECT_EQ(LinesStartingWith(status.out, "music tone: bass ").size(), 1u);
  EXPECT_EQ(LinesStartingWith(status.out, "reverb: level ").size(), 1u);
  EXPECT_NE(status.err.find("status: connected"), std::string::npos);
  EXPECT_NE(status.err.find("status: Idle"), std::string::npos) << "disconnects at the end";

  TempFolder dir;
  const CliRun pull = RunCli(Demo({"pull", dir.Q("current")}));
  ASSERT_EQ(pull.exitCode, 0) << pull.err;
  ExpectSamePreset(ImageOf(ReadParamFileOrFail(dir.Path("current"))), processor.Current());

  // --name renames the preset inside the file, and a relative file lies in --param-dir.
  const CliRun named =
      RunCli(Demo({"pull", "renamed", "--name", "Lobby\tBar", "--param-dir", dir.Q("")}));
  ASSERT_EQ(named.exitCode, 0) << named.err;
  const ParamFileData renamed = ReadParamFileOrFail(dir.Path("renamed"));
  EXPECT_EQ(std::string(renamed.name.begin(), renamed.name.end()), "Lobby Bar       ");
  EXPECT_EQ(renamed.words, ReadParamFileOrFail(dir.Path("current")).words);
}

TEST(DemoLink, PushUploadsTheLoadedFileWithTheCurrentVolumesKept) {
  const VirtualProcessor processor = VirtualProcessor::Seeded(kSeed);
  TempFolder dir;
  const ParamImage file = DistinctPreset("FROM FILE");
  const auto path = WriteParamFile(dir, "preset", file);

  for (const bool intoSlot : {true, false}) {
    SCOPED_TRACE(intoSlot ? "--slot 3" : "current preset");
    QStringList args = {"push", QString::fromStdString(path.string()), "--trace"};
    if (intoSlot) args += QStringList{"--slot", "3"};
    const CliRun run = RunCli(Demo(args));
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const auto starts = SentFrames(run.err, 65);
    ASSERT_EQ(starts.size(), 1u);
    const std::vector<std::uint8_t> start(starts[0].begin(), starts[0].begin() + 12);
    std::vector<int> counts;
    const auto body = UploadedBody(run.err, counts);
    EXPECT_EQ(counts, (std::vector<int>{60, 60, 60, 60, 60, 60, 60, 60, 60, 60, 54}));
    EXPECT_EQ(start[4] | start[5] << 8, kUploadBodySize);
    EXPECT_EQ(start[6], BodyChecksum(body.data(), body.size()));

    ParamImage sent{};
    DecodeUploadBody(body.data(), sent);
    EXPECT_EQ(sent.name, file.name) << "the preset name comes from the file";
    EXPECT_EQ(sent.words, file.words);
    EXPECT_EQ(sent.eq[kEqMusic][2], file.eq[kEqMusic][2]);
    EXPECT_EQ(sent.switchWord, file.switchWord);
    // The processor's volumes stay, limited by the file's maxima.
    const auto& current = processor.Current();
    EXPECT_EQ(sent.byte(img::kMusicVolume),
              std::min(current.byte(img::kMusicVolume), file.byte(img::kMusicMaxVolume)));
    EXPECT_EQ(sent.byte(img::kEffectVolume), current.byte(img::kEffectVolume));

    const auto finish = SentFrames(run.err, 67);
    ASSERT_EQ(finish.size(), 1u);
    const int slotByte = intoSlot ? 2 : (processor.CurrentPreset() | 0x80);
    EXPECT_EQ(finish[0][4], slotByte);
    const int shownSlot = intoSlot ? 3 : processor.CurrentPreset() + 1;
    EXPECT_NE(run.out.find("into user mode " + std::to_string(shownSlot) + ": \"FROM FILE\""),
              std::string::npos)
        << run.out;
  }

  // A name with characters the processor cannot show: the report gives the stored form.
  ParamImage odd = DistinctPreset("");
  const char raw[] = "Caf\xE9{ok}x";
  std::copy(raw, raw + 9, odd.name.begin());
  const auto oddPath = WriteParamFile(dir, "odd", odd);
  const CliRun run = RunCli(Demo({"push", QString::fromStdString(oddPath.string())}));
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find(": \"Caf  ok x\"\n"), std::string::npos) << run.out;
}

TEST(DemoLink, SetSendsEachChangedBlockAsThePanelWould) {
  const VirtualProcessor processor = VirtualProcessor::Seeded(kSeed);
  const int musicMax = processor.Current().byte(img::kMusicMaxVolume);
  const CliRun run =
      RunCli(Demo({"set", "music.volume=84", "mode=sing", "eq.main.2=peak,1000,1.0,-3.5", "mute=on",
                   "effect.volume=7", "--trace"}));
  ASSERT_EQ(run.exitCode, 0) << run.err;

  const auto music = SentFrames(run.err, 2);
  ASSERT_EQ(music.size(), 1u);
  EXPECT_EQ(music[0][4], musicMax) << "the volume is limited to its maximum before sending";
  EXPECT_NE(run.out.find("music.volume=" + std::to_string(musicMax) + "\n"), std::string::npos);

  const auto mode = SentFrames(run.err, 34);
  ASSERT_EQ(mode.size(), 1u);
  EXPECT_EQ(mode[0][4], kModeSing);

  // In Sing the main output's set id 3 names its first set; the band travels as its wire
  // record.
  const auto band = SentFrames(run.err, 3);
  ASSERT_EQ(band.size(), 1u);
  EXPECT_EQ(std::vector<std::uint8_t>(band[0].begin() + 4, band[0].begin() + 11),
            (std::vector<std::uint8_t>{3, 1, 0xE8, 0x03, 0x0A, 0x80, 0x23}));
  EXPECT_NE(run.out.find("(main_eq_1)"), std::string::npos) << run.out;

  const auto mute = SentFrames(run.err, 21);
  ASSERT_EQ(mute.size(), 1u);
  EXPECT_EQ(mute[0][4], 1);
  const auto effect = SentFrames(run.err, 9);
  ASSERT_EQ(effect.size(), 1u);
  EXPECT_EQ(effect[0][4], 7);
}

TEST(DemoLink, PresetActionsEndWithTheRecallAndARead) {
  const VirtualProcessor processor = VirtualProcessor::Seeded(kSeed);
  const auto codes = [](const std::string& err) {
    std::vector<int> out;
    for (const auto& f : SentFrames(err)) {
      if (f[3] != 28 && f[3] != 64) out.push_back(f[3]);  // polls and chunks aside
    }
    return out;
  };

  const CliRun recall = RunCli(Demo({"recall", "4", "--trace"}));
  ASSERT_EQ(recall.exitCode, 0) << recall.err;
  EXPECT_EQ(codes(recall.err), (std::vector<int>{63, 1, 63}));
  EXPECT_EQ(SentFrames(recall.err, 1)[0][4], 3) << "user mode 4 is slot 3";
  EXPECT_NE(recall.out.find("current preset: 4 \"" + Trimmed(processor.Stored(3).name) + "\""),
            std::string::npos)
      << recall.out;

  const CliRun reset = RunCli(Demo({"reset-all", "--yes", "--trace"}));
  ASSERT_EQ(reset.exitCode, 0) << reset.err;
  EXPECT_EQ(codes(reset.err), (std::vector<int>{63, 20, 1, 63}));
  EXPECT_EQ(SentFrames(reset.err, 1)[0][4], processor.CurrentPreset());
  EXPECT_NE(reset.err.find("        Reset all OK        \n"), std::string::npos);

  const CliRun restore = RunCli(Demo({"restore-factory", "--yes", "--trace"}));
  ASSERT_EQ(restore.exitCode, 0) << restore.err;
  EXPECT_EQ(codes(restore.err), (std::vector<int>{63, 75, 1, 63}));
  EXPECT_EQ(SentFrames(restore.err, 1)[0][4], 0);
  EXPECT_NE(restore.err.find("        Restore to factory OK        \n"), std::string::npos);
  EXPECT_NE(restore.out.find("current preset: 1 "), std::string::npos) << restore.out;
}

TEST(DemoLink, MassPushWritesTheLastFileFirstAndEndsAsTheVariantSays) {
  TempFolder dir;
  QStringList files;
  for (int i = 1; i <= 3; ++i) {
    const std::string name = "MASS " + std::to_string(i);
    files << QString::fromStdString(
        WriteParamFile(dir, name, DistinctPreset(name.c_str())).string());
  }
  const auto slotBytes = [](const std::string& err) {
    std::vector<int> out;
    for (const auto& f : SentFrames(err, 67)) out.push_back(f[4]);
    return out;
  };

  const CliRun normal = RunCli(Demo(QStringList{"mass-push"} + files + QStringList{"--trace"}));
  ASSERT_EQ(normal.exitCode, 0) << normal.err;
  EXPECT_EQ(slotBytes(normal.err), (std::vector<int>{2, 1, 0}));
  const auto recalls = SentFrames(normal.err, 1);
  ASSERT_EQ(recalls.size(), 1u);
  EXPECT_EQ(recalls[0][4], 0) << "a normal run recalls user mode 1";
  EXPECT_EQ(SentFrames(normal.err, 63).size(), 2u) << "and reads it";
  EXPECT_NE(normal.out.find("user mode 3: \"MASS 3\""), std::string::npos) << normal.out;

  const CliRun factory =
      RunCli(Demo(QStringList{"mass-push", "--factory"} + files + QStringList{"--trace"}));
  ASSERT_EQ(factory.exitCode, 0) << factory.err;
  EXPECT_EQ(slotBytes(factory.err), (std::vector<int>{12, 11, 10}));
  EXPECT_TRUE(SentFrames(factory.err, 1).empty());
  EXPECT_NE(factory.err.find("        Saved OK        \n"), std::string::npos);
}

TEST(DemoLink, LockedProcessorNeedsTheRightKey) {
  const QStringList locked = {"--demo-fault", "locked"};
  const CliRun noKey = RunCli(Demo(QStringList{"status"} + locked));
  EXPECT_EQ(noKey.exitCode, 1);
  EXPECT_NE(noKey.err.find("--lock-key"), std::string::npos) << noKey.err;
  EXPECT_NE(noKey.err.find("Open failed: "), std::string::npos) << noKey.err;
  EXPECT_EQ(noKey.err.find("Open failed1"), std::string::npos) << noKey.err;
  EXPECT_EQ(noKey.out, "");

  const CliRun wrong = RunCli(Demo(QStringList{"status", "--lock-key", "4321"} + locked));
  EXPECT_EQ(wrong.exitCode, 1);
  EXPECT_NE(wrong.err.find("        Password error        \n"), std::string::npos) << wrong.err;
  EXPECT_NE(wrong.err.find("Open failed: the processor's settings are locked and were not "
                           "unlocked"),
            std::string::npos)
      << wrong.err;

  const CliRun right =
      RunCli(Demo(QStringList{"status", "--lock-key", "1234", "--trace"} + locked));
  ASSERT_EQ(right.exitCode, 0) << right.err;
  EXPECT_NE(right.out.find("lock: on\n"), std::string::npos);
  const auto unlock = SentFrames(right.err, 43);
  ASSERT_EQ(unlock.size(), 1u);
  EXPECT_EQ(std::vector<std::uint8_t>(unlock[0].begin(), unlock[0].begin() + 9),
            (std::vector<std::uint8_t>{0xAA, 0x07, 0x00, 43, 1, 2, 3, 4, 1}));
}

TEST(DemoLink, ProcessorFaultsEndTheCommandWithTheirMessage) {
  struct Case {
    const char* fault;
    const char* expected;
  };
  const Case cases[] = {
      // "Open failed" (the panel's code digit left out), then which check failed at which step.
      {"wrong-version",
       "(Open failed: the processor speaks protocol version 2; this program "
       "needs version 3)"},
      {"wrong-signature",
       "(Open failed: reading the parameter set: the start reply carries a wrong signature)"},
      {"bad-body-checksum",
       "(Open failed: reading the parameter set: the checksum does not "
       "match: the set changed during the download"},
      {"oversized-total",
       "(Open failed: reading the parameter set: the processor announces "
       "5000 bytes, not the 937 of a parameter set)"},
      {"unplug-after=6",
       "(the link went down: request 64 could not be sent (the processor was "
       "unplugged))"},
      {"drop-reply=64",
       "(the link went down while waiting for the answer to request 64 (no "
       "answer from the processor within 3 s))"},
  };
  TempFolder dir;
  for (const auto& c : cases) {
    const CliRun run = RunCli(Demo({"pull", dir.Q("never"), "--demo-fault", c.fault}));
    EXPECT_TRUE(run.finished) << c.fault;
    EXPECT_EQ(run.exitCode, 1) << c.fault;
    EXPECT_NE(run.err.find(c.expected), std::string::npos) << c.fault << ": " << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("never"))) << c.fault;
  }
  // A short total is refused before anything is stored: the user's file stays as it was.
  const auto kept = WriteParamFile(dir, "kept", DistinctPreset("KEPT"));
  const auto before = ReadParamFileOrFail(kept);
  for (const char* fault : {"short-total=0", "short-total=100", "short-total=653"}) {
    const CliRun run = RunCli(Demo({"pull", dir.Q("kept"), "--demo-fault", fault}));
    EXPECT_EQ(run.exitCode, 1) << fault;
    EXPECT_NE(run.err.find("Open failed: "), std::string::npos) << fault << ": " << run.err;
    ExpectSamePreset(ImageOf(ReadParamFileOrFail(kept)), ImageOf(before));
  }
  const CliRun version = RunCli(Demo({"status", "--demo-fault", "wrong-version"}));
  EXPECT_NE(version.err.find("Device version is not matched.\nPlease contact your vendor.\n"),
            std::string::npos);
}

// A link that dies halfway through an upload fails the command; it never reports success.
TEST(DemoLink, ALinkLostDuringAnUploadFailsTheCommand) {
  TempFolder dir;
  const auto path = WriteParamFile(dir, "preset", DistinctPreset("LOST"));
  const QString file = QString::fromStdString(path.string());
  // Connecting takes 19 replies (28, 63 and 17 chunks); the upload's start is the 20th.
  const CliRun push =
      RunCli(Demo({"push", file, "--slot", "2", "--demo-fault", "unplug-after=23"}));
  EXPECT_EQ(push.exitCode, 1);
  EXPECT_NE(push.err.find("upload of " + path.string() + " failed (the link went down"),
            std::string::npos)
      << push.err;
  EXPECT_EQ(push.err.find("Load OK"), std::string::npos) << push.err;
  EXPECT_EQ(push.out, "");

  const CliRun mass =
      RunCli(Demo({"mass-push", file, file, file, "--demo-fault", "unplug-after=40"}));
  EXPECT_EQ(mass.exitCode, 1);
  EXPECT_NE(mass.err.find("mass upload failed"), std::string::npos) << mass.err;
  // Connecting takes 19 replies, each upload 13: the link dies in the second upload.
  EXPECT_NE(mass.err.find("Mass upload stopped before every user mode was written.\nWritten: "
                          "3\nIn progress, may hold a mix of old and new: 2\nNot reached, "
                          "unchanged: 1\n"),
            std::string::npos)
      << mass.err;
  EXPECT_EQ(mass.out, "");

  const CliRun set = RunCli(Demo({"set", "mute=on", "--demo-fault", "unplug-after=19"}));
  EXPECT_EQ(set.exitCode, 1);
  EXPECT_NE(set.err.find("not every change was answered"), std::string::npos) << set.err;
}

// CPU seconds used by the test's finished child processes so far.
double ChildCpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// A processor unplugged right after the connection's last reply leaves the command idle
// until the next keep-alive poll finds the link gone; meanwhile it waits, it does not spin.
TEST(DemoLink, AnUnpluggedProcessorLeavesTheWaitingCommandIdle) {
  const double before = ChildCpuSeconds();
  const CliRun run =
      RunCli(Demo({"monitor", "--timeout", "1.5", "--demo-fault", "unplug-after=19"}));
  ASSERT_TRUE(run.finished) << run.err;
  EXPECT_NE(run.err.find("status: connected"), std::string::npos) << run.err;
  EXPECT_LT(ChildCpuSeconds() - before, 0.5) << "busy for " << run.elapsedMs << " ms";
}

// The demo processor's knobs turn one step a second; the keep-alive poll every 2.5 s sees
// them, and monitor prints each new position set and indicator byte once.
TEST(DemoLink, MonitorPrintsTheFrontPanelWhenItChanges) {
  const CliRun run = RunCli(Demo({"monitor", "--demo-knobs", "--timeout", "4.5"}));
  EXPECT_EQ(run.exitCode, 0) << run.err;
  const auto music = LinesStartingWith(run.out, "music tone: ");
  const auto echo = LinesStartingWith(run.out, "echo: ");
  ASSERT_EQ(music.size(), 2u) << run.out;
  ASSERT_EQ(echo.size(), 2u) << run.out;
  EXPECT_NE(music[0], music[1]);
  // The poll at 2.5 s finds both knobs k steps up (k = 2; more on a slow machine): bass at
  // +2k dB and the echo level at its table entry for that position.
  const char* kEchoLevels[] = {"level 66,", "level 75,", "level 83,"};
  bool consistent = false;
  for (int k = 2; k <= 4; ++k) {
    char bass[80];
    std::snprintf(bass, sizeof bass, "bass +%d.0 dB, middle +0.0 dB at 1000 Hz, treble +0.0 dB",
                  2 * k);
    consistent |= music[1] == bass && echo[1].rfind(kEchoLevels[k - 2], 0) == 0;
  }
  EXPECT_TRUE(consistent) << music[1] << "\n" << echo[1];
  EXPECT_EQ(LinesStartingWith(run.out, "indicators: "),
            (std::vector<std::string>{"00 00", "01 00"}));
}

// Over USB a missing report fails the link after the reader's 3 s, before the reply
// time-out.
TEST(DemoLink, AnUnansweredRequestFailsWithinTheReadTimeOut) {
  const CliRun run = RunCli(Demo({"status", "--demo-fault", "drop-reply=28"}));
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_GE(run.elapsedMs, 2900);
  EXPECT_LT(run.elapsedMs, 8000);
  EXPECT_NE(run.err.find("cannot connect"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tavelo::e2e
