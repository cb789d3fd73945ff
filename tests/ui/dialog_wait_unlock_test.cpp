// The wait and unlock dialogs over a running engine: they are window-modal yet never stop
// the ticks, replies and posted messages underneath.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "core/text/Texts.h"
#include "ui/app/MessageCaption.h"
#include "ui/dialogs/UnlockDialog.h"
#include "ui/dialogs/WaitDialog.h"
#include "ui/pages/MusicPage.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

using test::CountCode;
using test::WireFrames;

class DialogTest : public ::testing::Test, public test::PanelFixture {
 protected:
  void SetUp() override { W().show(); }

  ui::UnlockDialog* ConnectLocked() {
    W().Demo().Processor().SetLockEngaged(true);  // the virtual processor's key is 1234
    W().ChooseLink(LinkChoice::kDemo);
    W().Connect();
    if (!Pump([this] { return W().OpenUnlockDialog() != nullptr; })) return nullptr;
    return W().OpenUnlockDialog();
  }
  void Submit(ui::UnlockDialog* dialog, const char* password) {
    dialog->PasswordEdit()->setText(password);
    dialog->OkButton()->click();
  }
};

TEST_F(DialogTest, UnlockRefusesShortThenWrongThenTakesTheRightPassword) {
  ui::UnlockDialog* dialog = ConnectLocked();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(W().OpenWaitDialog(), nullptr);  // closed just before the prompt
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_EQ(dialog->windowModality(), Qt::WindowModal);
  EXPECT_EQ(dialog->windowTitle(), "Unlock");
  EXPECT_EQ(W().FindMusicPage()->Model().State(), PageModel::kNoData);  // not filled yet

  Submit(dialog, "123");  // too short: nothing goes out
  Settle();
  EXPECT_EQ(CountCode(W(), 43), 0);

  Submit(dialog, "0000");
  ASSERT_TRUE(Pump([this] { return !W().Messages().empty(); }));
  EXPECT_EQ(W().Messages().back().text, "        Password error        ");
  EXPECT_EQ(MessageCaption(W().Messages().back().captionKind, Lang::kEnglish), " ");
  EXPECT_EQ(W().OpenUnlockDialog(), dialog);  // stays for another try
  EXPECT_TRUE(dialog->isVisible());
  const auto frames = WireFrames(W());
  ASSERT_EQ(CountCode(W(), 43), 1);
  for (const auto& f : frames) {
    if (f.code != 43) continue;
    EXPECT_EQ(std::vector<std::uint8_t>(f.data.begin(), f.data.begin() + 5),
              (std::vector<std::uint8_t>{0, 0, 0, 0, 1}));
  }

  Submit(dialog, "1234");
  ASSERT_TRUE(Pump([this] { return W().Distributed(); }));
  EXPECT_EQ(W().OpenUnlockDialog(), nullptr);
  EXPECT_EQ(W().FindMusicPage()->Model().State(), PageModel::kData);
  EXPECT_TRUE(E().ParamSetShown());
  EXPECT_EQ(CountCode(W(), 63), 1);  // the pages fill without a second read
}

TEST_F(DialogTest, KeepAlivePollsGoOnWhileTheUnlockPromptIsUp) {
  ASSERT_NE(ConnectLocked(), nullptr);
  const int polls = CountCode(W(), 28);
  for (int i = 0; i < 160; ++i) {
    E().Tick();
    Settle(3);
  }
  EXPECT_GE(CountCode(W(), 28), polls + 3);  // one every 50 idle ticks
  EXPECT_EQ(E().State(), ConnState::kConnected);
  ASSERT_NE(W().OpenUnlockDialog(), nullptr);
  EXPECT_TRUE(W().OpenUnlockDialog()->isVisible());
}

TEST_F(DialogTest, ClosingTheUnlockPromptAbandonsTheConnection) {
  ui::UnlockDialog* dialog = ConnectLocked();
  ASSERT_NE(dialog, nullptr);
  dialog->CloseButton()->click();
  ASSERT_TRUE(Pump([this] { return E().State() == ConnState::kIdle; }));
  EXPECT_EQ(W().StatusText(), "Open failed1");
  EXPECT_EQ(W().OpenUnlockDialog(), nullptr);
  EXPECT_TRUE(W().Control(ui::mainid::kDemo)->isEnabled());
  EXPECT_EQ(W().FindMusicPage()->Model().State(), PageModel::kNoData);
}

TEST_F(DialogTest, OneWaitDialogAtATimeOpenedAndClosedOnce) {
  E().Post(msg::OpenWait{WaitKind::kLoading});
  E().Post(msg::OpenWait{WaitKind::kSaving});
  EXPECT_EQ(W().WaitOpenCount(), 1);
  ASSERT_NE(W().OpenWaitDialog(), nullptr);
  EXPECT_EQ(W().OpenWaitDialog()->Text(), "Loading...");
  EXPECT_EQ(W().OpenWaitDialog()->windowModality(), Qt::WindowModal);
  const int keepAlive = E().KeepAliveCountdown();
  E().Tick();  // the engine runs underneath
  EXPECT_EQ(E().KeepAliveCountdown(), keepAlive);
  E().Post(msg::CloseWait{});
  EXPECT_EQ(W().OpenWaitDialog(), nullptr);
  EXPECT_EQ(W().WaitCloseCount(), 1);
  E().Post(msg::CloseWait{});  // none open: nothing happens
  EXPECT_EQ(W().WaitCloseCount(), 1);
  E().Post(msg::OpenWait{WaitKind::kConnecting});
  EXPECT_EQ(W().WaitOpenCount(), 2);
}

TEST_F(DialogTest, AWaitDialogOutlivesEscapeAndGoesWhenTheTransferEnds) {
  E().Post(msg::OpenWait{WaitKind::kConnecting});
  ui::WaitDialog* dialog = W().OpenWaitDialog();
  ASSERT_NE(dialog, nullptr);
  QTest::keyClick(dialog, Qt::Key_Escape);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(W().OpenWaitDialog(), dialog);  // still up
  E().Post(msg::CloseWait{});               // the transfer ends
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_EQ(W().OpenWaitDialog(), nullptr);
  EXPECT_EQ(W().WaitCloseCount(), 1);
  E().Post(msg::OpenWait{WaitKind::kLoading});
  ASSERT_NE(W().OpenWaitDialog(), nullptr);  // and the next transfer shows its own
  EXPECT_EQ(W().OpenWaitDialog()->Text(), "Loading...");
}

TEST_F(DialogTest, WaitBarSweepsAndStartsAgainAfterAHundred) {
  ui::WaitDialog dialog(WaitKind::kConnecting, Lang::kChinese, &W());
  EXPECT_EQ(dialog.Text(), QString::fromUtf8("正在联机..."));
  for (int i = 0; i < 100; ++i) dialog.Step();
  EXPECT_EQ(dialog.Position(), 100);
  dialog.Step();
  EXPECT_EQ(dialog.Position(), 0);
  EXPECT_EQ(ui::WaitDialog(WaitKind::kSaving, Lang::kEnglish, &W()).Text(), "Saving...");
}

}  // namespace
}  // namespace tavelo
