// The Wi-Fi settings dialog against the virtual processor's wireless module on loopback:
// the checks and their messages in both languages, the bytes a setting sends, the answers
// and the drop of a silent module.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

#include "platform/SimServer.h"
#include "ui/QtApp.h"
#include "ui/dialogs/CDlgWifi.h"

namespace tavelo {
namespace {

using ui::CDlgWifi;

bool WaitFor(const std::function<bool()>& done, int timeoutMs = 3000) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < timeoutMs)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  return done();
}

void CloseBoxes(QWidget* window) {
  for (auto* box : window->findChildren<QMessageBox*>()) box->done(QMessageBox::Ok);
  QCoreApplication::processEvents();
}

struct Rig {
  explicit Rig(Lang lang = Lang::kEnglish) {
    test::QtApp();
    EXPECT_TRUE(server.Listen(QHostAddress::LocalHost, 0, 0));
    dialog =
        std::make_unique<CDlgWifi>(lang, NetEndpoint{"127.0.0.1", server.ModulePort()}, nullptr);
    dialog->Socket().SetTimerEnabled(false);  // the test plays the seconds
  }
  bool Connect() {
    QTest::mouseClick(dialog->Button(CDlgWifi::kConnectId), Qt::LeftButton);
    return WaitFor([this] { return dialog->Socket().IsConnected(); });
  }
  void Type(int id, const QString& text) { dialog->Edit(id)->setText(text); }
  void Click(int id) { QTest::mouseClick(dialog->Button(id), Qt::LeftButton); }
  QString Last() const { return dialog->Shown().isEmpty() ? QString() : dialog->Shown().back(); }

  VirtualProcessor processor;
  SimServer server{processor};
  std::unique_ptr<CDlgWifi> dialog;
};

TEST(CDlgWifi, ButtonsFollowTheConnectionAndDisconnectEndsIt) {
  Rig rig;
  for (int id : {CDlgWifi::kSetApId, CDlgWifi::kSetStaId, CDlgWifi::kRestoreId})
    EXPECT_FALSE(rig.dialog->Button(id)->isEnabled());
  ASSERT_TRUE(rig.Connect());
  EXPECT_EQ(rig.dialog->Button(CDlgWifi::kConnectId)->text(), "Disconnect");
  for (int id : {CDlgWifi::kSetApId, CDlgWifi::kSetStaId, CDlgWifi::kRestoreId})
    EXPECT_TRUE(rig.dialog->Button(id)->isEnabled());

  rig.dialog->Socket().Second();  // one heartbeat, answered
  ASSERT_TRUE(WaitFor([&] { return rig.server.Module().Heartbeats() == 1; }));

  rig.Click(CDlgWifi::kConnectId);
  EXPECT_FALSE(rig.dialog->Socket().IsConnected());
  EXPECT_EQ(rig.dialog->Button(CDlgWifi::kConnectId)->text(), "Connect");
  EXPECT_FALSE(rig.dialog->Button(CDlgWifi::kSetApId)->isEnabled());
}

TEST(CDlgWifi, ChecksRefuseWithTheirMessageAndSendNothing) {
  Rig rig;
  ASSERT_TRUE(rig.Connect());
  const QString chinese12 = QString::fromUtf8("音乐厅音乐厅音乐厅音乐厅");  // 36 bytes
  const QString chinese10 = QString::fromUtf8("音乐厅音乐厅音乐厅音");      // 30 bytes
  const struct {
    int name, password;
    QString nameText, passwordText;
    int button;
    const char* message;
  } refused[] = {
      {CDlgWifi::kApNameId, CDlgWifi::kApPasswordId, "", "12345678", CDlgWifi::kSetApId,
       "Name is empty"},
      {CDlgWifi::kApNameId, CDlgWifi::kApPasswordId, QString(33, 'n'), "12345678",
       CDlgWifi::kSetApId, "Name is too long"},
      {CDlgWifi::kApNameId, CDlgWifi::kApPasswordId, chinese12, "12345678", CDlgWifi::kSetApId,
       "Name is too long"},
      {CDlgWifi::kApNameId, CDlgWifi::kApPasswordId, "Room", "1234567", CDlgWifi::kSetApId,
       "Password length at least 8 bytes"},
      {CDlgWifi::kApNameId, CDlgWifi::kApPasswordId, "Room", QString(57, 'p'), CDlgWifi::kSetApId,
       "Password is too long"},
      {CDlgWifi::kStaNameId, CDlgWifi::kStaPasswordId, "Venue", QString(64, 'p'),
       CDlgWifi::kSetStaId, "Password is too long"},
      {CDlgWifi::kStaNameId, CDlgWifi::kStaPasswordId, chinese12, "", CDlgWifi::kSetStaId,
       "Name is too long"},
  };
  for (const auto& c : refused) {
    rig.Type(c.name, c.nameText);
    rig.Type(c.password, c.passwordText);
    rig.Click(c.button);
    EXPECT_EQ(rig.Last(), QString::fromUtf8(c.message)) << c.nameText.toStdString();
    EXPECT_EQ(rig.dialog->Socket().Session().Pending(), ModuleCommand::kNone);
    CloseBoxes(rig.dialog.get());
  }
  // Nothing reached the module: its factory settings stand.
  rig.dialog->Socket().Second();
  ASSERT_TRUE(WaitFor([&] { return rig.server.Module().Heartbeats() == 1; }));
  EXPECT_EQ(rig.server.Module().ApName(), "TAVELO-SIM");
  EXPECT_TRUE(rig.server.Module().StaName().empty());

  // Ten Chinese characters (30 bytes) fit and arrive whole; 56 password bytes go out whole.
  rig.Type(CDlgWifi::kStaNameId, chinese10);
  rig.Type(CDlgWifi::kStaPasswordId, QString(56, 'x'));
  rig.Click(CDlgWifi::kSetStaId);
  ASSERT_TRUE(WaitFor([&] { return rig.Last() == "OK"; }));
  EXPECT_EQ(rig.server.Module().StaName(), chinese10.toUtf8().toStdString());
  EXPECT_EQ(rig.server.Module().StaPassword(), std::string(56, 'x'));
}

TEST(CDlgWifi, ChineseMessagesAndAnswersToBothSettings) {
  Rig rig(Lang::kChinese);
  EXPECT_EQ(rig.dialog->windowTitle(), QString::fromUtf8("WIFI模块设置"));
  ASSERT_TRUE(rig.Connect());
  EXPECT_EQ(rig.dialog->Button(CDlgWifi::kConnectId)->text(), QString::fromUtf8("断开连接"));
  rig.Click(CDlgWifi::kSetApId);
  EXPECT_EQ(rig.Last(), QString::fromUtf8("名称不能为空"));
  CloseBoxes(rig.dialog.get());

  // Set AP is answered like set STA: success and refusal are both shown.
  rig.Type(CDlgWifi::kApNameId, "ab");
  rig.Type(CDlgWifi::kApPasswordId, "12345678");
  rig.Click(CDlgWifi::kSetApId);
  ASSERT_TRUE(WaitFor([&] { return rig.dialog->Shown().size() == 2; }));
  EXPECT_EQ(rig.Last(), QString::fromUtf8("设置成功"));
  EXPECT_EQ(rig.server.Module().ApName(), "ab");
  EXPECT_EQ(rig.server.Module().ApPassword(), "12345678");

  rig.server.Module().SetRefuseSettings(true);
  rig.Click(CDlgWifi::kSetApId);
  ASSERT_TRUE(WaitFor([&] { return rig.dialog->Shown().size() == 3; }));
  EXPECT_EQ(rig.Last(), QString::fromUtf8("设置失败"));
  rig.Type(CDlgWifi::kStaNameId, "Venue");
  rig.Click(CDlgWifi::kSetStaId);
  ASSERT_TRUE(WaitFor([&] { return rig.dialog->Shown().size() == 4; }));
  EXPECT_EQ(rig.Last(), QString::fromUtf8("设置失败"));
}

TEST(CDlgWifi, ASilentModuleIsDroppedAndAnUnansweredSettingIsShown) {
  Rig rig;
  ASSERT_TRUE(rig.Connect());
  rig.server.Module().SetSilent(true);
  rig.Type(CDlgWifi::kStaNameId, "Venue");
  rig.Click(CDlgWifi::kSetStaId);
  ASSERT_TRUE(WaitFor([&] { return rig.server.Module().StaName() == "Venue"; }));
  for (int second = 0; second < 3; ++second) {
    rig.dialog->Socket().Second();
    EXPECT_TRUE(rig.dialog->Socket().IsConnected());
  }
  rig.dialog->Socket().Second();  // more than 3 silent seconds
  EXPECT_FALSE(rig.dialog->Socket().IsConnected());
  EXPECT_EQ(rig.dialog->Button(CDlgWifi::kConnectId)->text(), "Connect");
  EXPECT_FALSE(rig.dialog->Button(CDlgWifi::kSetStaId)->isEnabled());
  EXPECT_EQ(rig.Last(), Text(TextId::kMsgWifiNoAnswer, Lang::kEnglish));
}

TEST(CDlgWifi, RestoreAsksFirstAndTheAddressFieldIsChecked) {
  Rig rig;
  ASSERT_TRUE(rig.Connect());
  rig.Type(CDlgWifi::kApNameId, "Room");
  rig.Type(CDlgWifi::kApPasswordId, "12345678");
  rig.Click(CDlgWifi::kSetApId);
  ASSERT_TRUE(WaitFor([&] { return rig.server.Module().ApName() == "Room"; }));
  CloseBoxes(rig.dialog.get());

  // No keeps the settings; Yes restores them.
  for (auto answer : {QMessageBox::No, QMessageBox::Yes}) {
    rig.Click(CDlgWifi::kRestoreId);
    EXPECT_EQ(rig.Last(), "Confirm restore Wifi?");
    auto* box = rig.dialog->findChild<QMessageBox*>("userQuestion");
    ASSERT_NE(box, nullptr);
    QTest::mouseClick(box->button(answer), Qt::LeftButton);
    if (answer == QMessageBox::No) {
      rig.dialog->Socket().Second();
      ASSERT_TRUE(WaitFor([&] { return rig.server.Module().Heartbeats() == 1; }));
      EXPECT_EQ(rig.server.Module().ApName(), "Room");
    }
  }
  ASSERT_TRUE(WaitFor([&] { return rig.server.Module().ApName() == "TAVELO-SIM"; }));

  rig.Click(CDlgWifi::kConnectId);  // disconnect
  rig.dialog->AddressEdit()->setText("not an address");
  rig.Click(CDlgWifi::kConnectId);
  EXPECT_EQ(rig.Last(), Text(TextId::kMsgWifiBadAddress, Lang::kEnglish));

  // A module that is not there is reported in the dialog, not silently ignored.
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const QString nowhere = QString("127.0.0.1:%1").arg(probe.serverPort());
  probe.close();
  rig.dialog->AddressEdit()->setText(nowhere);
  rig.Click(CDlgWifi::kConnectId);
  ASSERT_TRUE(WaitFor([&] { return !rig.dialog->StatusLabel()->text().isEmpty(); }));
  EXPECT_TRUE(rig.dialog->StatusLabel()->text().contains(nowhere));
}

}  // namespace
}  // namespace tavelo
