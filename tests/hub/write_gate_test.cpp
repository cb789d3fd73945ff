// The write gate: a request passes whole or not at all; names and values are the catalogue's,
// staff are held to their list and every role to the room's caps.
#include <gtest/gtest.h>

#include <QJsonDocument>

#include "hub/WriteGate.h"

namespace tavelo::hub {
namespace {

QJsonObject Body(const char* json) {
  return QJsonDocument::fromJson(json).object();
}

const Caller kStaff{QStringLiteral("sam"), Role::Staff};
const Caller kInstaller{QStringLiteral("ian"), Role::Installer};
const std::map<QString, int> kCaps{{QStringLiteral("music.volume"), 70}};

TEST(WriteGateTest, ShowJsonFormsAndSetTextBothRead) {
  EXPECT_EQ(SetTextFor(QJsonValue(70)), QStringLiteral("70"));
  EXPECT_EQ(SetTextFor(QJsonValue(QStringLiteral("sing"))), QStringLiteral("sing"));
  EXPECT_EQ(SetTextFor(QJsonValue(true)), QStringLiteral("on"));
  EXPECT_EQ(SetTextFor(Body(R"({"v": {"level": 75, "on": false}})").value(QStringLiteral("v"))),
            QStringLiteral("75 off"));
  EXPECT_TRUE(SetTextFor(Body(R"({"v": [1, 2]})").value(QStringLiteral("v"))).isEmpty());

  const GateVerdict verdict = JudgeWrites(
      kInstaller, DefaultStaffNames(), kCaps,
      Body(R"({"music.volume": 60, "mic.mic1_volume": {"level": 75, "on": true}, "mute": "on"})"));
  ASSERT_EQ(verdict.status, 200) << verdict.message.toStdString();
  ASSERT_EQ(verdict.edits.size(), 3u);
}

TEST(WriteGateTest, RefusalsNameTheirReasonAndPassNothing) {
  struct Case {
    const Caller* caller;
    const char* body;
    int status;
    const char* says;
  };
  const Case cases[] = {
      {&kInstaller, R"({})", 422, "no value"},
      {&kInstaller, R"({"music.nonsense": 1})", 422, "music.nonsense"},
      {&kInstaller, R"({"music.volume": 85})", 422, "music.volume"},
      {&kInstaller, R"({"music.volume": [1]})", 422, "show --json"},
      {&kInstaller, R"({"music.volume": 71})", 403, "at most 70"},
      {&kStaff, R"({"music.volume": 71})", 403, "at most 70"},
      {&kStaff, R"({"music.volume": 50, "mic.comp_ratio": 4})", 403,
       "staff may not change mic.comp_ratio"},
  };
  for (const Case& c : cases) {
    const GateVerdict verdict = JudgeWrites(*c.caller, DefaultStaffNames(), kCaps, Body(c.body));
    EXPECT_EQ(verdict.status, c.status) << c.body;
    EXPECT_TRUE(verdict.message.contains(QLatin1String(c.says)))
        << c.body << " -> " << verdict.message.toStdString();
    EXPECT_TRUE(verdict.edits.empty()) << c.body;
  }
  EXPECT_EQ(JudgeWrites(kStaff, DefaultStaffNames(), kCaps, Body(R"({"music.volume": 70})")).status,
            200);
  EXPECT_TRUE(MayRecall(kStaff, DefaultStaffNames()));
  EXPECT_FALSE(MayRecall(kStaff, {QStringLiteral("music.volume")}));
  EXPECT_TRUE(MayRecall(kInstaller, {}));
}

}  // namespace
}  // namespace tavelo::hub
