// tavelo-cli against tavelo-sim over loopback TCP: the Wi-Fi timing class, and a processor
// that outlives each command, so what one command writes the next one reads back.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDeadlineTimer>
#include <QProcess>

#include "core/presets/PresetFolder.h"
#include "e2e_support.h"

namespace tavelo::e2e {
namespace {

ParamImage Preset(const char* name, int seedValue) {
  ParamImage image{};
  ApplyDefaults(image);
  image.byte(img::kMusicMaxVolume) = 60;
  image.byte(img::kMusicVolume) = 80;
  image.word(24) = static_cast<std::uint16_t>(1000 + seedValue);
  image.eq[kEqReverb][1] = EqBand{0, kBandPeak, static_cast<std::int16_t>(300 + seedValue), 25, 45};
  image.switchWord = 0x00C0FFEEu + static_cast<std::uint32_t>(seedValue);
  image.name = SanitisePresetName(name);
  return image;
}

class SimTcp : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(sim_.Started()) << sim_.Output(); }
  CliRun Cli(QStringList args, int limitMs = 30000) { return RunCli(args + sim_.Link(), limitMs); }
  ParamFileData Pull(const std::string& name) {
    const CliRun run = Cli({"pull", dir_.Q(name)});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return ReadParamFileOrFail(dir_.Path(name));
  }

  SimProcess sim_{{"--seed", "3"}};
  TempFolder dir_;
};

TEST_F(SimTcp, APushedPresetReadsBackAfterItsRecall) {
  const ParamImage file = Preset("ROUND TRIP", 1);
  const auto path = WriteParamFile(dir_, "roundtrip", file);

  const CliRun push = Cli({"push", QString::fromStdString(path.string()), "--slot", "5"});
  ASSERT_EQ(push.exitCode, 0) << push.err;
  const CliRun recall = Cli({"recall", "5"});
  ASSERT_EQ(recall.exitCode, 0) << recall.err;
  EXPECT_NE(recall.out.find("current preset: 5 \"ROUND TRIP\""), std::string::npos) << recall.out;

  const ParamFileData back = Pull("back");
  EXPECT_EQ(back.name, file.name);
  EXPECT_EQ(back.words, file.words);
  EXPECT_EQ(back.switchWord, file.switchWord);
  EXPECT_EQ(back.eq[kEqReverb][1], file.eq[kEqReverb][1]);
  // The processor's own volume was kept, then limited by the file's maximum.
  EXPECT_LE(back.bytes[img::kMusicVolume], 60);
  EXPECT_EQ(back.bytes[img::kMusicMaxVolume], 60);
}

// A mass upload carries each file's own name, so a processor can hold a name with control
// characters; no command prints it raw.
TEST_F(SimTcp, NamesWithControlCharactersReachTheConsoleEscaped) {
  ParamImage image = Preset("", 2);
  const char raw[] = "A\x1b[2J\x07Z";
  std::copy(raw, raw + 7, image.name.begin());
  const auto path = WriteParamFile(dir_, "escape", image);
  const QString file = QString::fromStdString(path.string());
  const std::string shown = "\"A\\u001B[2J\\u0007Z\"";
  for (const QStringList& args : {QStringList{"mass-push", file}, QStringList{"recall", "1"},
                                  QStringList{"status"}, QStringList{"push", file}}) {
    const CliRun run = Cli(args);
    const std::string what = args.join(' ').toStdString();
    ASSERT_EQ(run.exitCode, 0) << what << "\n" << run.err;
    for (const std::string* text : {&run.out, &run.err}) {
      EXPECT_EQ(text->find('\x1b'), std::string::npos) << what << "\n" << *text;
      EXPECT_EQ(text->find('\x07'), std::string::npos) << what << "\n" << *text;
    }
    // push stores the name as the processor shows it: control characters become spaces.
    const bool push = args[0] == "push";
    EXPECT_NE(run.out.find(push ? "\"A [2J Z\"" : shown), std::string::npos) << what << "\n"
                                                                             << run.out;
  }
}

TEST_F(SimTcp, SetChangesReadBackAndFollowTheApplicationMode) {
  const ParamFileData before = Pull("before");
  const CliRun set =
      Cli({"set", "mic.volume=3", "mode=dance", "eq.mic1.2=lowshelf,200,0.7,6",
           "eq.main.1=peak,2500,4.0,-12", "eq.echo.5=highshelf,8000,1.5,3.5", "effect.volume=42"});
  ASSERT_EQ(set.exitCode, 0) << set.err;
  EXPECT_NE(set.out.find("eq.main.1=peak,2500,4.0,-12.0 (main_eq_2)"), std::string::npos)
      << set.out;

  const ParamFileData after = Pull("after");
  EXPECT_EQ(after.bytes[img::kMicVolume], 3);
  EXPECT_EQ(after.bytes[img::kEffectVolume], 42);
  EXPECT_EQ(after.bytes[img::kAppMode], kModeDance);
  EXPECT_EQ(after.eq[kEqMicA][1], (EqBand{0, kBandLowShelf, 200, 7, 60}));
  EXPECT_EQ(after.eq[kEqEcho][4], (EqBand{0, kBandHighShelf, 8000, 15, 35}));
  // In Dance the main output's code-3 set is its second one; the first stays.
  EXPECT_EQ(after.eq[kEqMainSecond][0], (EqBand{0, kBandPeak, 2500, 40, -120}));
  EXPECT_EQ(after.eq[kEqMainFirst][0], before.eq[kEqMainFirst][0]);
}

TEST_F(SimTcp, MassPushFillsTheUserModesAndFactoryPushFillsTheFactorySet) {
  QStringList files;
  for (int i = 1; i <= 3; ++i) {
    const std::string name = "ROOM " + std::to_string(i);
    files << QString::fromStdString(WriteParamFile(dir_, name, Preset(name.c_str(), i)).string());
  }
  const CliRun mass = Cli(QStringList{"mass-push"} + files);
  ASSERT_EQ(mass.exitCode, 0) << mass.err;
  const CliRun status = Cli({"status"});
  EXPECT_NE(status.out.find("current preset: 1 \"ROOM 1\""), std::string::npos) << status.out;
  const CliRun third = Cli({"recall", "3"});
  EXPECT_NE(third.out.find("current preset: 3 \"ROOM 3\""), std::string::npos) << third.out;
  EXPECT_EQ(Pull("room3").words[24], 1003);

  // The factory set only shows once reset all copies it into the user modes.
  const CliRun factory = Cli(QStringList{"mass-push", "--factory"} + files.mid(1));
  ASSERT_EQ(factory.exitCode, 0) << factory.err;
  EXPECT_NE(factory.err.find("        Saved OK        "), std::string::npos);
  EXPECT_NE(Cli({"recall", "1"}).out.find("\"ROOM 1\""), std::string::npos);
  const CliRun reset = Cli({"reset-all", "--yes"});
  ASSERT_EQ(reset.exitCode, 0) << reset.err;
  EXPECT_NE(Cli({"recall", "2"}).out.find("current preset: 2 \"ROOM 3\""), std::string::npos);
  const CliRun restore = Cli({"restore-factory", "--yes"});
  ASSERT_EQ(restore.exitCode, 0) << restore.err;
  EXPECT_NE(restore.out.find("current preset: 1 \"ROOM 2\""), std::string::npos) << restore.out;
}

TEST_F(SimTcp, MonitorEndsAtItsTimeOutOrOnInterrupt) {
  const CliRun status = Cli({"status"});
  ASSERT_EQ(status.exitCode, 0) << status.err;
  EXPECT_NE(status.out.find("protocol version: 3\n"), std::string::npos);

  const CliRun timed = Cli({"monitor", "--timeout", "1"});
  EXPECT_EQ(timed.exitCode, 0) << timed.err;
  EXPECT_GE(timed.elapsedMs, 1000);
  EXPECT_LT(timed.elapsedMs, 6000);
  EXPECT_EQ(LinesStartingWith(timed.out, "music tone: ").size(), 1u) << timed.out;
  EXPECT_EQ(LinesStartingWith(timed.out, "indicators: ").size(), 1u) << timed.out;

  QProcess monitor;
  monitor.start(QStringLiteral(TAVELO_CLI_PATH), QStringList{"monitor"} + sim_.Link());
  ASSERT_TRUE(monitor.waitForStarted(5000));
  // Interrupted once it monitors (its first report is out), not while it still reads the set.
  std::string err;
  std::string out;
  QDeadlineTimer deadline(10000);
  while (out.find("indicators: ") == std::string::npos && !deadline.hasExpired()) {
    monitor.waitForReadyRead(100);
    err += monitor.readAllStandardError().toStdString();
    out += monitor.readAllStandardOutput().toStdString();
  }
  ASSERT_NE(out.find("indicators: "), std::string::npos) << err;
  ::kill(static_cast<pid_t>(monitor.processId()), SIGINT);
  ASSERT_TRUE(monitor.waitForFinished(3000));
  EXPECT_EQ(monitor.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(monitor.exitCode(), 0);
  err += monitor.readAllStandardError().toStdString();
  EXPECT_NE(err.find("status: Idle"), std::string::npos) << "the link was closed: " << err;
}

// Faults of the processor end each command with exit 1, the reason and the message, never
// with a hang.
TEST(SimFaults, EachFaultEndsTheCommandAsItShould) {
  struct Case {
    const char* fault;
    const char* expected;
  };
  const Case cases[] = {
      {"wrong-version", "Device version is not matched.\nPlease contact your vendor.\n"},
      {"wrong-version=4", "Open failed: "},
      {"wrong-signature", "Open failed: "},
      {"bad-body-checksum", "Open failed: "},
      {"oversized-total", "Open failed: "},
      {"drop-after=4", "the link went down"},
  };
  TempFolder dir;
  for (const auto& c : cases) {
    SimProcess sim({"--fault", c.fault});
    ASSERT_TRUE(sim.Started()) << sim.Output();
    const CliRun run = RunCli(QStringList{"pull", dir.Q("never")} + sim.Link(), 20000);
    EXPECT_EQ(run.exitCode, 1) << c.fault;
    EXPECT_NE(run.err.find(c.expected), std::string::npos) << c.fault << ": " << run.err;
    // The panel's status codes ("Open failed1") are said in words on the console.
    EXPECT_EQ(run.err.find("Open failed0"), std::string::npos) << c.fault << ": " << run.err;
    EXPECT_EQ(run.err.find("Open failed1"), std::string::npos) << c.fault << ": " << run.err;
    EXPECT_FALSE(std::filesystem::exists(dir.Path("never"))) << c.fault;
  }
}

TEST(SimFaults, ALockedProcessorOpensOnlyWithItsKey) {
  SimProcess sim({"--fault", "locked", "--lock-key", "2468"});
  ASSERT_TRUE(sim.Started()) << sim.Output();
  const CliRun wrong = RunCli(QStringList{"status", "--lock-key", "1234"} + sim.Link());
  EXPECT_EQ(wrong.exitCode, 1);
  EXPECT_NE(wrong.err.find("        Password error        "), std::string::npos) << wrong.err;
  const CliRun right = RunCli(QStringList{"status", "--lock-key", "2468"} + sim.Link());
  EXPECT_EQ(right.exitCode, 0) << right.err;
  EXPECT_NE(right.out.find("lock: on"), std::string::npos);
}

// The Wi-Fi reply time-out (130 ticks) ends a transfer the processor stops answering.
TEST(SimFaults, AnUnansweredChunkFailsAtTheReplyTimeOut) {
  SimProcess sim({"--fault", "drop-reply=64"});
  ASSERT_TRUE(sim.Started()) << sim.Output();
  const CliRun run = RunCli(QStringList{"status"} + sim.Link(), 20000);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_GE(run.elapsedMs, 6400);
  EXPECT_LT(run.elapsedMs, 12000);
  EXPECT_NE(run.err.find("(failed: the processor did not answer request 64 in time)"),
            std::string::npos)
      << run.err;
}

TEST(SimFaults, NoProcessorListeningFailsToOpen) {
  const int port = UnusedPort();
  const CliRun run =
      RunCli({"status", "--host", "127.0.0.1", "--port", QString::number(port)}, 20000);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_LT(run.elapsedMs, 8000);
  EXPECT_NE(run.err.find("Open failed"), std::string::npos) << run.err;
  // Which link it tried, and why that failed.
  const std::string where = "127.0.0.1:" + std::to_string(port);
  EXPECT_NE(run.err.find("link: Wi-Fi " + where + "\n"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("connection refused by " + where), std::string::npos) << run.err;
}

}  // namespace
}  // namespace tavelo::e2e
