// Undo and redo across the pages, end to end against the virtual processor: an undo puts
// the earlier value back in the image and on the processor by its block, a drag on the
// graph is one step, and a download or a loaded preset forgets the history.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QTest>

#include "core/edits/RowValues.h"
#include "ui/app/TopBarRules.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinSlider.h"
#include "ui/pages/MicPage.h"
#include "ui/pages/MicPageTable.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/MusicPageTable.h"
#include "ui/pages/OutputPage.h"
#include "ui/pages/OutputPageTable.h"
#include "ui/pages/SysPageTable.h"
#include "ui/pages/SystemPage.h"
#include "ui/panel_test_env.h"
#include "ui/tools/EditTools.h"

namespace tavelo {
namespace {

constexpr int kMicNav = 1, kMainNav = 4;

class UndoE2e : public ::testing::Test, public test::PanelFixture {
 protected:
  void SetUp() override {
    W().show();
    ASSERT_TRUE(ConnectDemo());
  }
  bool Settled() {
    return Pump([this] { return !E().ReplyAwaited() && E().Pending().Empty(); });
  }
  ui::EditTools& Edits() { return W().Edits(); }
  const ParamImage& Device() { return W().Demo().Processor().Current(); }
  // The values the processor and the panel hold for a row agree.
  bool InStep(RowId id) { return !RowDiffers(E().Image(), Device(), RowOf(id)); }
  int Value(RowId id) { return ReadValue(E().Image(), RowOf(id)); }
};

TEST_F(UndoE2e, ASliderOnTheMusicPageUndoneAndRedoneByKeysAndButtons) {
  ui::MusicPage* page = W().FindMusicPage();
  const int before = Value(row::kMusicBtGain);
  page->Model().SliderMoved(music::kBtGain, 2);
  ASSERT_TRUE(Settled());
  const int after = Value(row::kMusicBtGain);
  ASSERT_NE(after, before);
  ASSERT_TRUE(InStep(row::kMusicBtGain));
  EXPECT_TRUE(Edits().UndoButton()->isEnabled());
  EXPECT_FALSE(Edits().RedoButton()->isEnabled());

  const std::size_t frames = test::WireFrames(W()).size();
  QTest::keyClick(&W(), Qt::Key_Z, Qt::ControlModifier);
  ASSERT_TRUE(Settled());
  EXPECT_EQ(Value(row::kMusicBtGain), before);
  EXPECT_TRUE(InStep(row::kMusicBtGain));
  // The page shows it, and exactly the row's block went out.
  EXPECT_EQ(page->Model().Controls().Position(music::kBtGain),
            ReadValue(E().Image(), RowOf(row::kMusicBtGain)) - RowOf(row::kMusicBtGain).min);
  const auto sent = test::WireFrames(W());
  ASSERT_EQ(sent.size(), frames + 1);
  EXPECT_EQ(sent.back().code, CodeNumber(RowOf(row::kMusicBtGain).carrier.code));

  QTest::keyClick(&W(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
  ASSERT_TRUE(Settled());
  EXPECT_EQ(Value(row::kMusicBtGain), after);
  EXPECT_TRUE(InStep(row::kMusicBtGain));

  QTest::mouseClick(Edits().UndoButton(), Qt::LeftButton);
  ASSERT_TRUE(Settled());
  EXPECT_EQ(Value(row::kMusicBtGain), before);
  EXPECT_FALSE(Edits().UndoButton()->isEnabled());
  EXPECT_TRUE(Edits().RedoButton()->isEnabled());
}

TEST_F(UndoE2e, ABandDragOnTheMicPageIsOneStep) {
  W().Navigate(kMicNav);
  auto* page = qobject_cast<ui::MicPage*>(W().PageWidget(kMicNav));
  ASSERT_NE(page, nullptr);
  ASSERT_TRUE(Settled());
  const EqBand before = page->Model().Bands()[2];
  const RowId bandRow = BandRow(static_cast<EqSet>(page->Model().BandSide().View().set), 2);
  QWidget* graph = page->Graph();
  const QPoint grab = page->View().BandPoint(page->Model().Bands(), 2);
  QTest::mousePress(graph, Qt::LeftButton, {}, grab);
  for (int step = 1; step <= 6; ++step) QTest::mouseMove(graph, grab + QPoint(step * 8, -step * 6));
  QTest::mouseRelease(graph, Qt::LeftButton, {}, grab + QPoint(48, -36));
  ASSERT_TRUE(Settled());
  ASSERT_FALSE(page->Model().Bands()[2] == before);
  EXPECT_EQ(Edits().History().UndoCount(), 1u);

  ASSERT_TRUE(Edits().Undo());
  ASSERT_TRUE(Settled());
  EXPECT_EQ(page->Model().Bands()[2], before);
  EXPECT_TRUE(InStep(bandRow));
  EXPECT_FALSE(Edits().History().CanUndo());
}

TEST_F(UndoE2e, AValueOnAnOutputPageAndTheHistoryForgottenByADownload) {
  W().Navigate(kMainNav);
  auto* page = qobject_cast<ui::OutputPage*>(W().PageWidget(kMainNav));
  ASSERT_NE(page, nullptr);
  const RowId delay = row::kMainLeftDelayMs;
  const int before = Value(delay);
  page->Model().SliderMoved(output::kLeftDelay, 40);
  ASSERT_TRUE(Settled());
  ASSERT_NE(Value(delay), before);
  page->Model().ButtonClicked(output::kLeftMute);
  ASSERT_TRUE(Settled());
  EXPECT_EQ(Edits().History().UndoCount(), 2u);

  ASSERT_TRUE(Edits().Undo());  // the mute
  ASSERT_TRUE(Edits().Undo());  // the delay
  ASSERT_TRUE(Settled());
  EXPECT_EQ(Value(delay), before);
  EXPECT_TRUE(InStep(delay));
  EXPECT_TRUE(InStep(row::kSwitchMainLeftMute));

  // A download replaces the image: nothing before it can be undone or redone.
  page->Model().SliderMoved(output::kLeftDelay, 10);
  ASSERT_TRUE(Settled());
  ASSERT_TRUE(Edits().History().CanUndo());
  W().Connect();  // disconnect
  ASSERT_TRUE(Pump([this] { return E().State() == ConnState::kIdle; }));
  int shown = 0;
  QObject::connect(&W(), &ui::MainWindow::ParameterSetShown, [&shown] { ++shown; });
  W().Connect();
  ASSERT_TRUE(Pump([&] { return shown > 0 && !E().ReplyAwaited(); }));
  EXPECT_FALSE(Edits().History().CanUndo());
  EXPECT_FALSE(Edits().History().CanRedo());
  EXPECT_FALSE(Edits().Undo());
}

TEST_F(UndoE2e, ATopBarDragAndTheSystemPagePowerModeAreStepsAndALoadedPresetForgetsThem) {
  E().SetModeNameText("Lobby");
  E().Post(msg::SaveToPc{"lobby"});
  ASSERT_TRUE(Settled());
  ASSERT_EQ(E().PcFiles(), std::vector<std::string>{"lobby"});

  // A drag of the top bar's music level, press to release: one step whatever it posted.
  const int sliderId = topbar::InfoOf(topbar::Level::kMusic).slider;
  auto* slider = qobject_cast<ui::SkinSlider*>(W().Control(sliderId));
  ASSERT_NE(slider, nullptr);
  const int level = Value(row::kMusicVolume);
  const QPoint grab(slider->width() / 2, slider->height() / 2);
  QTest::mousePress(slider, Qt::LeftButton, {}, grab);
  for (int step = 1; step <= 5; ++step) QTest::mouseMove(slider, grab - QPoint(step * 6, 0));
  QTest::mouseRelease(slider, Qt::LeftButton, {}, grab - QPoint(30, 0));
  ASSERT_TRUE(Settled());
  ASSERT_NE(Value(row::kMusicVolume), level);
  EXPECT_EQ(Edits().History().UndoCount(), 1u);

  auto* power = qobject_cast<QComboBox*>(W().FindSystemPage()->Control(ui::sys_page::kPowerMode));
  ASSERT_NE(power, nullptr);
  const int mode = Value(row::kPowerMode);
  emit power->activated(mode == 0 ? 1 : 0);
  ASSERT_TRUE(Settled());
  ASSERT_NE(Value(row::kPowerMode), mode);
  EXPECT_EQ(Edits().History().UndoCount(), 2u);

  ASSERT_TRUE(Edits().Undo());
  ASSERT_TRUE(Settled());
  EXPECT_EQ(Value(row::kPowerMode), mode);
  EXPECT_EQ(power->currentIndex(), mode);
  EXPECT_TRUE(InStep(row::kPowerMode));
  ASSERT_TRUE(Edits().Undo());
  ASSERT_TRUE(Settled());
  EXPECT_EQ(Value(row::kMusicVolume), level);
  EXPECT_EQ(slider->GetPos(), level);
  EXPECT_TRUE(InStep(row::kMusicVolume));

  // Loading a preset from the PC replaces the image: the redo steps are gone too.
  ASSERT_TRUE(Edits().History().CanRedo());
  E().Post(msg::LoadFromPc{0, {}});
  ASSERT_TRUE(Settled());
  EXPECT_FALSE(Edits().History().CanUndo());
  EXPECT_FALSE(Edits().History().CanRedo());
  EXPECT_FALSE(Edits().RedoButton()->isEnabled());
}

}  // namespace
}  // namespace tavelo
