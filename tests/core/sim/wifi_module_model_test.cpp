// The wireless module model answers the settings messages the dialog builds.
#include <gtest/gtest.h>

#include <chrono>

#include "core/link/WifiModule.h"
#include "core/sim/WifiModuleModel.h"

namespace tavelo {
namespace {

std::vector<std::uint8_t> Feed(WifiModuleModel& m, const std::uint8_t* bytes, std::size_t size) {
  return m.Feed(bytes, size);
}

TEST(WifiModuleModel, AnswersHeartbeatsSettingsAndRestore) {
  WifiModuleModel m;
  const auto heartbeat = BuildModuleHeartbeat();
  EXPECT_EQ(Feed(m, heartbeat.data(), heartbeat.size()), (std::vector<std::uint8_t>{0x55, 4, 1}));
  EXPECT_EQ(m.Heartbeats(), 1);

  const auto ap = BuildModuleSetting(ModuleCommand::kSetAp, "Lounge", "secret123");
  // Split anywhere: the answer comes once the message is complete.
  EXPECT_TRUE(Feed(m, ap.data(), 50).empty());
  EXPECT_EQ(Feed(m, ap.data() + 50, ap.size() - 50), (std::vector<std::uint8_t>{0x55, 1, 1}));
  EXPECT_EQ(m.ApName(), "Lounge");
  EXPECT_EQ(m.ApPassword(), "secret123");

  const auto sta = BuildModuleSetting(ModuleCommand::kSetSta, "Venue", "");
  m.SetRefuseSettings(true);
  EXPECT_EQ(Feed(m, sta.data(), sta.size()), (std::vector<std::uint8_t>{0x55, 2, 0}));
  m.SetRefuseSettings(false);
  std::vector<std::uint8_t> two(sta.begin(), sta.end());
  two.insert(two.end(), heartbeat.begin(), heartbeat.end());
  EXPECT_EQ(Feed(m, two.data(), two.size()), (std::vector<std::uint8_t>{0x55, 2, 1, 0x55, 4, 1}));
  EXPECT_EQ(m.StaName(), "Venue");

  const auto restore = BuildModuleRestore();
  EXPECT_EQ(Feed(m, restore.data(), restore.size()), (std::vector<std::uint8_t>{0x55, 3, 1}));
  EXPECT_EQ(m.ApName(), "TAVELO-SIM");
  EXPECT_TRUE(m.StaName().empty());
}

TEST(WifiModuleModel, SkipsGarbageAndStaysQuietWhenSilent) {
  WifiModuleModel m;
  const std::uint8_t garbage[] = {0x00, 0x99, 0x04, 0x01, 0x0A};
  EXPECT_EQ(Feed(m, garbage, sizeof garbage), (std::vector<std::uint8_t>{0x55, 4, 1}));
  m.SetSilent(true);
  const auto heartbeat = BuildModuleHeartbeat();
  EXPECT_TRUE(Feed(m, heartbeat.data(), heartbeat.size()).empty());
  EXPECT_EQ(m.Heartbeats(), 2);
}

// A flood of bytes that start no message costs time in proportion to its size: the simulator
// serves every room from one thread, so a slow skip would freeze them all.
TEST(WifiModuleModel, SixtyFourMebibytesOfGarbageAreSkippedInAMoment) {
  WifiModuleModel m;
  const std::vector<std::uint8_t> read(64 * 1024, 0xAA);
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < 1024; ++i) EXPECT_TRUE(Feed(m, read.data(), read.size()).empty());
  const std::vector<std::uint8_t> whole(std::size_t{16} << 20, 0x99);
  EXPECT_TRUE(Feed(m, whole.data(), whole.size()).empty());
  const auto heartbeat = BuildModuleHeartbeat();
  EXPECT_EQ(Feed(m, heartbeat.data(), heartbeat.size()), (std::vector<std::uint8_t>{0x55, 4, 1}));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

}  // namespace
}  // namespace tavelo
