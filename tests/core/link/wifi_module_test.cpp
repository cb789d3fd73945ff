// The wireless module's messages and the rules of the settings connection.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/link/WifiModule.h"

namespace tavelo {
namespace {

TEST(WifiModule, ShortMessagesAreTheirThreeBytes) {
  EXPECT_EQ(BuildModuleHeartbeat(), (ModuleShortMessage{0x04, 0x01, 0x0A}));
  EXPECT_EQ(BuildModuleRestore(), (ModuleShortMessage{0x03, 0x01, 0x0A}));
}

TEST(WifiModule, SettingMessageLaysOutNameAndPasswordFields) {
  const auto m = BuildModuleSetting(ModuleCommand::kSetAp, "ab", "12345678");
  std::vector<std::uint8_t> expected = {0x01, 0x60, 'a', 'b'};
  expected.resize(2 + 40, 0);
  for (char c : std::string("12345678")) expected.push_back(static_cast<std::uint8_t>(c));
  expected.resize(98, 0);
  expected.push_back(0x0A);
  EXPECT_EQ(std::vector<std::uint8_t>(m.begin(), m.end()), expected);

  const auto sta = BuildModuleSetting(ModuleCommand::kSetSta, "n", "");
  EXPECT_EQ(sta[0], 0x02);
  EXPECT_EQ(sta[42], 0);
}

TEST(WifiModule, OverlongTextsNeverSpillIntoTheNextField) {
  const std::string password64(64, 'p');
  const auto m = BuildModuleSetting(ModuleCommand::kSetSta, std::string(45, 'n'), password64);
  EXPECT_EQ(m[2 + 39], 'n');
  EXPECT_EQ(m[42], 'p');  // the 41st name byte did not land in the password field
  EXPECT_EQ(m[97], 'p');  // the password keeps its first 56 characters
  EXPECT_EQ(m[98], 0x0A);
}

TEST(WifiModule, ChecksRunInOrder) {
  const std::string name32(32, 'n'), name33(33, 'n');
  EXPECT_EQ(CheckApSetting("", ""), ModuleSettingCheck::kNameEmpty);
  EXPECT_EQ(CheckApSetting(name33, "12345678"), ModuleSettingCheck::kNameTooLong);
  EXPECT_EQ(CheckApSetting(name32, "1234567"), ModuleSettingCheck::kPasswordTooShort);
  EXPECT_EQ(CheckApSetting(name32, "12345678"), ModuleSettingCheck::kOk);
  // The password field carries 56 bytes: a longer password is refused, never cut.
  EXPECT_EQ(CheckApSetting("x", std::string(57, 'p')), ModuleSettingCheck::kPasswordTooLong);
  EXPECT_EQ(CheckApSetting("x", std::string(56, 'p')), ModuleSettingCheck::kOk);
  EXPECT_EQ(CheckStaSetting("x", std::string(57, 'p')), ModuleSettingCheck::kPasswordTooLong);
  EXPECT_EQ(CheckStaSetting("x", ""), ModuleSettingCheck::kOk);
  EXPECT_EQ(CheckStaSetting(name33, ""), ModuleSettingCheck::kNameTooLong);
  EXPECT_EQ(CheckStaSetting("x", std::string(65, 'p')), ModuleSettingCheck::kPasswordTooLong);

  EXPECT_STREQ(Text(ModuleCheckTextId(ModuleSettingCheck::kPasswordTooShort), Lang::kEnglish),
               "Password length at least 8 bytes");
  EXPECT_STREQ(Text(ModuleCheckTextId(ModuleSettingCheck::kNameEmpty), Lang::kChinese),
               "名称不能为空");
  EXPECT_STREQ(Text(ModuleCheckTextId(ModuleSettingCheck::kPasswordTooLong), Lang::kEnglish),
               "Password is too long");
}

TEST(WifiModule, LengthsAreTheUtf8BytesOnTheWire) {
  // Ten Chinese characters are 30 bytes and fit; twelve are 36 and are refused whole,
  // never cut in the middle of a character.
  std::string ten, twelve;
  for (int i = 0; i < 10; ++i) ten += "音";
  twelve = ten + "乐乐";
  ASSERT_EQ(ten.size(), 30u);
  EXPECT_EQ(CheckStaSetting(ten, ""), ModuleSettingCheck::kOk);
  EXPECT_EQ(CheckStaSetting(twelve, ""), ModuleSettingCheck::kNameTooLong);
  const auto m = BuildModuleSetting(ModuleCommand::kSetSta, ten, "");
  EXPECT_EQ(std::string(m.begin() + 2, m.begin() + 32), ten);
  EXPECT_EQ(m[32], 0);
  // A 20-character password of three-byte characters is 60 bytes: too long.
  std::string password;
  for (int i = 0; i < 20; ++i) password += "密";
  EXPECT_EQ(CheckApSetting("n", password), ModuleSettingCheck::kPasswordTooLong);
}

TEST(WifiModule, RepliesCountOnlyAsExactlyThreeBytes) {
  const std::uint8_t ok[] = {0x55, 0x02, 0x01, 0x00};
  ASSERT_TRUE(ParseModuleReply(ok, 3).has_value());
  EXPECT_EQ(ParseModuleReply(ok, 3)->command, 2);
  EXPECT_FALSE(ParseModuleReply(ok, 4).has_value());
  EXPECT_FALSE(ParseModuleReply(ok, 2).has_value());
  const std::uint8_t wrongStart[] = {0x54, 0x02, 0x01};
  EXPECT_FALSE(ParseModuleReply(wrongStart, 3).has_value());
}

TEST(ModuleSession, SettingAnswersAndPendingCommands) {
  ModuleSession s;
  s.Connected();
  const std::uint8_t staOk[] = {0x55, 0x02, 0x01};
  const std::uint8_t staBad[] = {0x55, 0x02, 0x00};
  const std::uint8_t apOk[] = {0x55, 0x01, 0x01};

  s.CommandSent(ModuleCommand::kSetSta);
  EXPECT_EQ(s.BytesReceived(apOk, 3), ModuleSession::Notice::kNone);  // not the pending one
  EXPECT_EQ(s.Pending(), ModuleCommand::kSetSta);
  EXPECT_EQ(s.BytesReceived(staOk, 3), ModuleSession::Notice::kSetOk);
  EXPECT_EQ(s.Pending(), ModuleCommand::kNone);
  EXPECT_EQ(s.BytesReceived(staOk, 3), ModuleSession::Notice::kNone);  // nothing pending

  s.CommandSent(ModuleCommand::kSetSta);
  EXPECT_EQ(s.BytesReceived(staBad, 3), ModuleSession::Notice::kSetFailed);
  EXPECT_STREQ(Text(ModuleSession::NoticeTextId(ModuleSession::Notice::kSetFailed), Lang::kEnglish),
               "Setting error");
  EXPECT_STREQ(Text(ModuleSession::NoticeTextId(ModuleSession::Notice::kSetOk), Lang::kChinese),
               "设置成功");

  // Set AP: a success clears the pending command without a message, a refusal is said.
  const std::uint8_t apBad[] = {0x55, 0x01, 0x00};
  s.CommandSent(ModuleCommand::kSetAp);
  EXPECT_EQ(s.BytesReceived(apOk, 3), ModuleSession::Notice::kNone);
  EXPECT_EQ(s.Pending(), ModuleCommand::kNone);
  s.CommandSent(ModuleCommand::kSetAp);
  EXPECT_EQ(s.BytesReceived(apBad, 3), ModuleSession::Notice::kSetFailed);
  EXPECT_EQ(s.Pending(), ModuleCommand::kNone);
}

// The module sends three-byte replies and nothing else. Some stray bytes are forgiven (a
// reply split or joined by the network); a peer that keeps sending what is no reply is not
// the module, whatever size its reads come in.
TEST(ModuleSession, APeerThatSendsNoRepliesStopsSpeakingTheProtocol) {
  const std::uint8_t reply[] = {0x55, 0x04, 0x01};
  for (const std::size_t read :
       {std::size_t{1}, std::size_t{7}, std::size_t{4096}, std::size_t{1} << 20}) {
    ModuleSession session;
    session.Connected();
    const std::vector<std::uint8_t> junk(read, 0xAA);
    std::size_t sent = 0;
    while (session.SpeaksProtocol() && sent <= 2 * ModuleSession::kMaxStrayBytes) {
      session.BytesReceived(junk.data(), junk.size());
      sent += junk.size();
    }
    EXPECT_FALSE(session.SpeaksProtocol()) << read;
    EXPECT_LE(sent, ModuleSession::kMaxStrayBytes + read) << read;
    session.Connected();
    EXPECT_TRUE(session.SpeaksProtocol()) << "a new connection starts afresh";
  }
  ModuleSession session;
  session.Connected();
  const std::vector<std::uint8_t> junk(ModuleSession::kMaxStrayBytes, 0xAA);
  for (int i = 0; i < 100; ++i) {
    session.BytesReceived(junk.data(), junk.size());
    session.BytesReceived(reply, sizeof reply);  // a reply in between: still the module
  }
  EXPECT_TRUE(session.SpeaksProtocol());
}

TEST(ModuleSession, HeartbeatsEachSecondAndDropAfterMoreThanThreeMissed) {
  ModuleSession s;
  EXPECT_EQ(s.Second(), ModuleSession::TickAction::kNothing);  // not connected
  s.Connected();
  const std::uint8_t beat[] = {0x55, 0x04, 0x01};
  // A module that answers every heartbeat keeps the count low.
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(s.Second(), ModuleSession::TickAction::kSendHeartbeat);
    s.BytesReceived(beat, 3);
  }
  // Four data bytes are no reply, but they are data: the count is cleared.
  const std::uint8_t four[] = {0x55, 0x04, 0x01, 0x00};
  s.Second();
  s.Second();
  s.BytesReceived(four, 4);
  EXPECT_EQ(s.Missed(), 0);

  // A pending set command holds the heartbeats back, so silence drops the link.
  s.CommandSent(ModuleCommand::kSetAp);
  EXPECT_EQ(s.Second(), ModuleSession::TickAction::kNothing);
  EXPECT_EQ(s.Second(), ModuleSession::TickAction::kNothing);
  EXPECT_EQ(s.Second(), ModuleSession::TickAction::kNothing);
  EXPECT_EQ(s.Second(), ModuleSession::TickAction::kDropUnanswered);  // the user must hear
  EXPECT_FALSE(s.IsConnected());
  EXPECT_EQ(s.Pending(), ModuleCommand::kNone);

  // Plain silence without a setting waiting is a plain drop.
  s.Connected();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(s.Second(), ModuleSession::TickAction::kSendHeartbeat);
  EXPECT_EQ(s.Second(), ModuleSession::TickAction::kDrop);
}

}  // namespace
}  // namespace tavelo
