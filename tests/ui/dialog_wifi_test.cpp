// The Wi-Fi settings dialog against the virtual processor's wireless module on loopback:
// the checks and their messages in both languages, the bytes a setting sends, the answers
// and the drop of a silent module.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTcpServer>
#include <QTest>

#include "platform/SimServer.h"
#include "support/event_loop.h"
#include "support/qt_app.h"
#include "ui/dialogs/WifiDialog.h"

namespace tavelo {
namespace {

using ui::WifiDialog;

using test::WaitFor;

void CloseBoxes(QWidget* window) {
  for (auto* box : window->findChildren<QMessageBox*>()) box->done(QMessageBox::Ok);
  QCoreApplication::processEvents();
}

struct Rig {
  explicit Rig(Lang lang = Lang::kEnglish) {
    test::QtApp();
    EXPECT_TRUE(server.Listen(QHostAddress::LocalHost, 0, 0));
    dialog =
        std::make_unique<WifiDialog>(lang, NetEndpoint{"127.0.0.1", server.ModulePort()}, nullptr);
    dialog->Socket().SetTimerEnabled(false);  // the test plays the seconds
  }
  bool Connect() {
    QTest::mouseClick(dialog->Button(WifiDialog::kConnectId), Qt::LeftButton);
    return WaitFor([this] { return dialog->Socket().IsConnected(); });
  }
  void Type(int id, const QString& text) { dialog->Edit(id)->setText(text); }
  void Click(int id) { QTest::mouseClick(dialog->Button(id), Qt::LeftButton); }
  QString Last() const { return dialog->Shown().isEmpty() ? QString() : dialog->Shown().back(); }

  VirtualProcessor processor;
  SimServer server{processor};
  std::unique_ptr<WifiDialog> dialog;
};

TEST(WifiDialog, ButtonsFollowTheConnectionAndDisconnectEndsIt) {
  Rig rig;
  for (int id : {WifiDialog::kSetApId, WifiDialog::kSetStaId, WifiDialog::kRestoreId})
    EXPECT_FALSE(rig.dialog->Button(id)->isEnabled());
  ASSERT_TRUE(rig.Connect());
  EXPECT_EQ(rig.dialog->Button(WifiDialog::kConnectId)->text(), "Disconnect");
  for (int id : {WifiDialog::kSetApId, WifiDialog::kSetStaId, WifiDialog::kRestoreId})
    EXPECT_TRUE(rig.dialog->Button(id)->isEnabled());

  rig.dialog->Socket().Second();  // one heartbeat, answered
  ASSERT_TRUE(WaitFor([&] { return rig.server.Module().Heartbeats() == 1; }));

  rig.Click(WifiDialog::kConnectId);
  EXPECT_FALSE(rig.dialog->Socket().IsConnected());
  EXPECT_EQ(rig.dialog->Button(WifiDialog::kConnectId)->text(), "Connect");
  EXPECT_FALSE(rig.dialog->Button(WifiDialog::kSetApId)->isEnabled());
}

TEST(WifiDialog, ChecksRefuseWithTheirMessageAndSendNothing) {
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
      {WifiDialog::kApNameId, WifiDialog::kApPasswordId, "", "12345678", WifiDialog::kSetApId,
       "Name is empty"},
      {WifiDialog::kApNameId, WifiDialog::kApPasswordId, QString(33, 'n'), "12345678",
       WifiDialog::kSetApId, "Name is too long"},
      {WifiDialog::kApNameId, WifiDialog::kApPasswordId, chinese12, "12345678",
       WifiDialog::kSetApId, "Name is too long"},
      {WifiDialog::kApNameId, WifiDialog::kApPasswordId, "Room", "1234567", WifiDialog::kSetApId,
       "Password length at least 8 bytes"},
      {WifiDialog::kApNameId, WifiDialog::kApPasswordId, "Room", QString(57, 'p'),
       WifiDialog::kSetApId, "Password is too long"},
      {WifiDialog::kStaNameId, WifiDialog::kStaPasswordId, "Venue", QString(64, 'p'),
       WifiDialog::kSetStaId, "Password is too long"},
      {WifiDialog::kStaNameId, WifiDialog::kStaPasswordId, chinese12, "", WifiDialog::kSetStaId,
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
  rig.Type(WifiDialog::kStaNameId, chinese10);
  rig.Type(WifiDialog::kStaPasswordId, QString(56, 'x'));
  rig.Click(WifiDialog::kSetStaId);
  ASSERT_TRUE(WaitFor([&] { return rig.Last() == "OK"; }));
  EXPECT_EQ(rig.server.Module().StaName(), chinese10.toUtf8().toStdString());
  EXPECT_EQ(rig.server.Module().StaPassword(), std::string(56, 'x'));
}

TEST(WifiDialog, ChineseMessagesAndAnswersToBothSettings) {
  Rig rig(Lang::kChinese);
  EXPECT_EQ(rig.dialog->windowTitle(), QString::fromUtf8("WIFI模块设置"));
  ASSERT_TRUE(rig.Connect());
  EXPECT_EQ(rig.dialog->Button(WifiDialog::kConnectId)->text(), QString::fromUtf8("断开连接"));
  rig.Click(WifiDialog::kSetApId);
  EXPECT_EQ(rig.Last(), QString::fromUtf8("名称不能为空"));
  CloseBoxes(rig.dialog.get());

  // Set AP: a success is answered without a box, a refusal is shown.
  rig.Type(WifiDialog::kApNameId, "ab");
  rig.Type(WifiDialog::kApPasswordId, "12345678");
  rig.Click(WifiDialog::kSetApId);
  ASSERT_TRUE(WaitFor([&] {
    return rig.server.Module().ApName() == "ab" &&
           rig.dialog->Socket().Session().Pending() == ModuleCommand::kNone;
  }));
  EXPECT_EQ(rig.server.Module().ApPassword(), "12345678");
  EXPECT_EQ(rig.dialog->Shown().size(), 1u);

  rig.server.Module().SetRefuseSettings(true);
  rig.Click(WifiDialog::kSetApId);
  ASSERT_TRUE(WaitFor([&] { return rig.dialog->Shown().size() == 2; }));
  EXPECT_EQ(rig.Last(), QString::fromUtf8("设置失败"));
  rig.Type(WifiDialog::kStaNameId, "Venue");
  rig.Click(WifiDialog::kSetStaId);
  ASSERT_TRUE(WaitFor([&] { return rig.dialog->Shown().size() == 3; }));
  EXPECT_EQ(rig.Last(), QString::fromUtf8("设置失败"));
}

TEST(WifiDialog, ASilentModuleIsDroppedAndAnUnansweredSettingIsShown) {
  Rig rig;
  ASSERT_TRUE(rig.Connect());
  rig.server.Module().SetSilent(true);
  rig.Type(WifiDialog::kStaNameId, "Venue");
  rig.Click(WifiDialog::kSetStaId);
  ASSERT_TRUE(WaitFor([&] { return rig.server.Module().StaName() == "Venue"; }));
  for (int second = 0; second < 3; ++second) {
    rig.dialog->Socket().Second();
    EXPECT_TRUE(rig.dialog->Socket().IsConnected());
  }
  rig.dialog->Socket().Second();  // more than 3 silent seconds
  EXPECT_FALSE(rig.dialog->Socket().IsConnected());
  EXPECT_EQ(rig.dialog->Button(WifiDialog::kConnectId)->text(), "Connect");
  EXPECT_FALSE(rig.dialog->Button(WifiDialog::kSetStaId)->isEnabled());
  EXPECT_EQ(rig.Last(), Text(TextId::kMsgWifiNoAnswer, Lang::kEnglish));
}

TEST(WifiDialog, RestoreAsksFirstAndTheAddressFieldIsChecked) {
  Rig rig;
  ASSERT_TRUE(rig.Connect());
  rig.Type(WifiDialog::kApNameId, "Room");
  rig.Type(WifiDialog::kApPasswordId, "12345678");
  rig.Click(WifiDialog::kSetApId);
  ASSERT_TRUE(WaitFor([&] { return rig.server.Module().ApName() == "Room"; }));
  CloseBoxes(rig.dialog.get());

  // No keeps the settings; Yes restores them.
  for (auto answer : {QMessageBox::No, QMessageBox::Yes}) {
    rig.Click(WifiDialog::kRestoreId);
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

  rig.Click(WifiDialog::kConnectId);  // disconnect
  rig.dialog->AddressEdit()->setText("not an address");
  rig.Click(WifiDialog::kConnectId);
  EXPECT_EQ(rig.Last(), Text(TextId::kMsgWifiBadAddress, Lang::kEnglish));

  // A module that is not there is reported in the dialog, not silently ignored.
  QTcpServer probe;
  ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
  const QString nowhere = QString("127.0.0.1:%1").arg(probe.serverPort());
  probe.close();
  rig.dialog->AddressEdit()->setText(nowhere);
  rig.Click(WifiDialog::kConnectId);
  ASSERT_TRUE(WaitFor([&] { return !rig.dialog->StatusLabel()->text().isEmpty(); }));
  EXPECT_TRUE(rig.dialog->StatusLabel()->text().contains(nowhere));
}

}  // namespace
}  // namespace tavelo
