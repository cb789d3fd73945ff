// A/B switching on the system page and the comparison with a PC file, against the virtual
// processor: the switch sends exactly the blocks of the values that differ and leaves the
// processor holding the other preset (a fresh download shows it); the comparison lists
// the differing fields with their units and copies them as tab-separated text.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>

#include "core/edits/RowValues.h"
#include "core/edits/SwitchPlan.h"
#include "core/presets/ParamFile.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/MusicPageTable.h"
#include "ui/pages/SysPageTable.h"
#include "ui/pages/SystemPage.h"
#include "ui/panel_test_env.h"
#include "ui/tools/CompareDialog.h"
#include "ui/tools/SystemTools.h"

namespace tavelo {
namespace {

class ToolsE2e : public ::testing::Test, public test::PanelFixture {
 protected:
  void SetUp() override {
    W().show();
    ASSERT_TRUE(ConnectDemo());
    sys_ = W().FindSystemPage();
    ASSERT_NE(sys_, nullptr);
  }
  bool Settled() {
    return Pump([this] { return !E().ReplyAwaited() && E().Pending().Empty(); });
  }
  // A few edits on the music page: a gain row, a band, the equaliser bypass.
  void EditMusic() {
    PageModel& m = W().FindMusicPage()->Model();
    m.SliderMoved(music::kUdiskGain, 3);
    m.SliderMoved(music::Column(3).gainSlider, 100);
    m.ButtonClicked(music::kBypassButton);
    ASSERT_TRUE(Settled());
  }
  void Redownload() {
    int shown = 0;
    QObject::connect(&W(), &ui::MainWindow::ParameterSetShown, [&shown] { ++shown; });
    W().Connect();
    ASSERT_TRUE(Pump([this] { return E().State() == ConnState::kIdle; }));
    W().Connect();
    ASSERT_TRUE(Pump([&] { return shown > 0 && !E().ReplyAwaited(); }));
  }

  ui::SystemPage* sys_ = nullptr;
};

TEST_F(ToolsE2e, TheSwitchSendsOnlyTheDifferingBlocksAndTheProcessorHoldsTheOtherPreset) {
  ui::AbSwitch& ab = sys_->Tools().Ab();
  EXPECT_FALSE(ab.PlanToggle());
  ab.Store(ui::AbSwitch::kA);
  const ParamImage a = E().Image();
  EditMusic();
  ab.Store(ui::AbSwitch::kB);
  const ParamImage b = E().Image();
  EXPECT_EQ(ab.Live(), ui::AbSwitch::kB);

  const SwitchPlan plan = PlanSwitch(b, a);
  ASSERT_TRUE(plan.Complete());
  ASSERT_EQ(plan.requests.size(), 3u);  // the gain block, the band, the switch word
  const std::size_t before = test::WireFrames(W()).size();
  QTest::mouseClick(sys_->Control(ui::sys_page::kAbToggle), Qt::LeftButton);
  ASSERT_TRUE(Settled());
  EXPECT_EQ(ab.Live(), ui::AbSwitch::kA);
  auto* toggle = static_cast<QPushButton*>(sys_->Control(ui::sys_page::kAbToggle));
  EXPECT_EQ(toggle->text(), "Live: A");
  const auto frames = test::WireFrames(W());
  ASSERT_EQ(frames.size(), before + plan.requests.size());
  for (std::size_t i = 0; i < plan.requests.size(); ++i)
    EXPECT_EQ(frames[before + i].code, CodeNumber(plan.requests[i].code)) << i;
  EXPECT_TRUE(ChangedRows(E().Image(), a).empty());
  // The page shows A again.
  EXPECT_EQ(W().FindMusicPage()->Model().Bands()[3], a.set(kEqMusic)[3]);

  ab.Toggle();
  ASSERT_TRUE(Settled());
  EXPECT_EQ(ab.Live(), ui::AbSwitch::kB);
  EXPECT_EQ(toggle->text(), "Live: B");
  Redownload();
  EXPECT_TRUE(ChangedRows(E().Image(), b).empty());
  for (RowId id : ChangedRows(E().Image(), b)) ADD_FAILURE() << RowOf(id).name;
}

TEST_F(ToolsE2e, ValuesNoBlockCarriesAreAskedAboutBeforeAnythingIsSent) {
  ui::AbSwitch& ab = sys_->Tools().Ab();
  ab.Store(ui::AbSwitch::kA);
  E().Image().name[0] = 'Q';  // the preset name travels only with a preset upload
  W().FindMusicPage()->Model().SliderMoved(music::kUdiskGain, 5);
  ASSERT_TRUE(Settled());
  ab.Store(ui::AbSwitch::kB);
  const std::size_t before = test::WireFrames(W()).size();
  ab.Toggle();
  ASSERT_TRUE(Settled());
  EXPECT_EQ(test::WireFrames(W()).size(), before);  // nothing until the user answers
  EXPECT_EQ(ab.Live(), ui::AbSwitch::kB);
  ASSERT_FALSE(sys_->Shown().isEmpty());
  EXPECT_TRUE(sys_->Shown().back().contains("preset_name"));
}

TEST_F(ToolsE2e, CompareListsTheDifferingFieldsWithUnitsAndCopiesThemAsTsv) {
  // The tools on their own, without the page: only the engine and a place for messages.
  QStringList said;
  ui::SystemTools::Hooks hooks;
  hooks.say = [&said](const std::string&, const std::string& text) {
    said << QString::fromStdString(text);
  };
  ui::SystemTools tools(E(), &W(), hooks);
  QTemporaryDir dir;
  const QString path = dir.filePath("room1");
  {
    const auto bytes = BuildParamFile(E().Image());
    std::ofstream(path.toStdString(), std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
  }
  EXPECT_EQ(tools.CompareWith(path), nullptr);  // the same values: a message says so
  ASSERT_FALSE(said.isEmpty());
  EXPECT_TRUE(said.back().contains("room1"));

  W().FindMusicPage()->Model().SliderMoved(music::kUdiskGain, 3);
  W().FindMusicPage()->Model().SliderMoved(music::Column(3).gainSlider, 100);
  ASSERT_TRUE(Settled());
  ui::CompareDialog* dialog = tools.CompareWith(path);
  ASSERT_NE(dialog, nullptr);
  QTableWidget* table = dialog->Table();
  ASSERT_EQ(table->rowCount(), 2);
  EXPECT_EQ(table->item(0, 0)->text(), "music.udisk_gain");
  EXPECT_EQ(table->item(0, 3)->text().toStdString(), UnitText(RowOf(row::kMusicUdiskGain).unit));
  EXPECT_EQ(table->item(1, 0)->text(), "music_eq.band4");

  QGuiApplication::clipboard()->clear();
  table->setFocus();
  QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
  const QStringList lines = QGuiApplication::clipboard()->text().split('\n', Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], "Field\tProcessor\tFile\tUnit");
  EXPECT_TRUE(lines[1].startsWith("music.udisk_gain\t"));
  EXPECT_EQ(lines[1].split('\t').size(), 4);
  dialog->close();

  // A file that is not a preset is refused with the reason.
  const QString bad = dir.filePath("short");
  std::ofstream(bad.toStdString(), std::ios::binary) << "not a preset";
  EXPECT_EQ(tools.CompareWith(bad), nullptr);
  EXPECT_TRUE(said.back().contains("short"));
  EXPECT_TRUE(said.back().contains("size"));
}

}  // namespace
}  // namespace tavelo
