// Ctrl+C in the middle of a long command: the run ends with the shell's 130, and the folder
// it was saving into holds whole parameter files or none, never a half-written one.
#include <gtest/gtest.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <algorithm>
#include <csignal>
#include <filesystem>

#include "fleet_support.h"

namespace tavelo::e2e {
namespace {

struct Interrupted {
  int exitCode = -1;
  std::string out;
  std::string err;
};

// Starts tavelo-cli, sends SIGINT once its stderr holds `marker`, and waits for its end.
Interrupted InterruptWhenSeen(const QStringList& args, const std::string& marker) {
  QProcess cli;
  cli.start(QStringLiteral(TAVELO_CLI_PATH), args);
  Interrupted run;
  if (!cli.waitForStarted(5000)) return run;
  QDeadlineTimer deadline(20000);
  while (run.err.find(marker) == std::string::npos && !deadline.hasExpired() &&
         cli.state() == QProcess::Running) {
    cli.waitForReadyRead(50);
    run.err += cli.readAllStandardError().toStdString();
    run.out += cli.readAllStandardOutput().toStdString();
  }
  if (run.err.find(marker) == std::string::npos) {
    cli.kill();
    cli.waitForFinished(5000);
    return run;
  }
  ::kill(static_cast<pid_t>(cli.processId()), SIGINT);
  if (!cli.waitForFinished(10000)) {
    cli.kill();
    cli.waitForFinished(5000);
    return run;
  }
  run.err += cli.readAllStandardError().toStdString();
  run.out += cli.readAllStandardOutput().toStdString();
  if (cli.exitStatus() == QProcess::NormalExit) run.exitCode = cli.exitCode();
  return run;
}

std::vector<std::string> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

TEST(Interrupt, APullCutShortExits130AndLeavesNoFile) {
  // 150 ms a reply: reading the whole set takes about three seconds.
  SimProcess sim({"--latency-ms", "150"});
  ASSERT_TRUE(sim.Started()) << sim.Output();
  TempFolder dir;
  std::filesystem::create_directory(dir.Path("saved"));
  const Interrupted run =
      InterruptWhenSeen(QStringList{"pull", dir.Q("saved/room.par")} + sim.Link(), "link: ");
  EXPECT_EQ(run.exitCode, 130) << run.err;
  EXPECT_NE(run.err.find("interrupted"), std::string::npos) << run.err;
  EXPECT_EQ(FilesIn(dir.Path("saved")), std::vector<std::string>{});
}

TEST(Interrupt, AFleetPullCutShortExits130WithWholeFilesOnly) {
  constexpr int kRooms = 6;
  FleetSim sim(kRooms, {"--seed", "7", "--latency-ms", "60"});
  ASSERT_TRUE(sim.Started()) << sim.Output();
  TempFolder dir;
  const auto venue = QString::fromStdString(WriteInventory(dir, "venue.txt", sim.Ports()).string());
  std::filesystem::create_directory(dir.Path("pulled"));
  // One room at a time: interrupted once the first is saved, the second is under way.
  const Interrupted run = InterruptWhenSeen(
      {"fleet", "pull", venue, dir.Q("pulled"), "--jobs", "1"}, "[1/" + std::to_string(kRooms));
  EXPECT_EQ(run.exitCode, 130) << run.out << run.err;
  const auto files = FilesIn(dir.Path("pulled"));
  ASSERT_FALSE(files.empty());
  EXPECT_LT(files.size(), static_cast<std::size_t>(kRooms)) << run.out;
  for (const auto& name : files) {
    EXPECT_EQ(name.rfind("room-", 0), 0u) << "a stray file: " << name;
    ReadParamFileOrFail(dir.Path("pulled/" + name));
  }
  // The table still says what became of every room.
  EXPECT_NE(run.out.find("interrupted"), std::string::npos) << run.out;
  EXPECT_EQ(TableRow(run.out, RoomName(kRooms - 1)).at(1), "failed at start") << run.out;
}

}  // namespace
}  // namespace tavelo::e2e
