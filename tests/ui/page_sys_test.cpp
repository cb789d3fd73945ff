// The system page in the main window, over the demo link: slider readouts at their ends and
// the blocks they send, the output switches, enabling by typed length, lock roll-back,
// service codes typed into the edit, the language buttons and the overwrite question.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/engine/engine_harness.h"
#include "core/presets/PresetFolder.h"
#include "ui/app/UserSettings.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinSlider.h"
#include "ui/pages/SysPageTable.h"
#include "ui/pages/SystemPage.h"
#include "ui/panel_test_env.h"
#include "ui/system/ServiceCodes.h"

namespace tavelo {
namespace {

using namespace ui::sys_page;
using test::WireFrames;

class SysPageTest : public ::testing::Test, public test::PanelFixture {
 protected:
  void SetUp() override {
    W().show();
    ASSERT_TRUE(ConnectDemo());
    W().Navigate(nav::kNavTable[8].index);
    page_ = W().FindSystemPage();
    ASSERT_NE(page_, nullptr);
    ASSERT_TRUE(page_->isVisible());
  }

  template <typename T = QWidget>
  T* C(int id) {
    return qobject_cast<T*>(page_->Control(id));
  }
  QString Readout(int slider) { return C<QLabel>(kReadoutOffset + slider)->text(); }
  void Move(int slider, int value) {
    emit C<ui::SkinSlider>(slider)->Moved(slider, value);
    Settle();
  }
  void Click(int id) { QTest::mouseClick(C<QPushButton>(id), Qt::LeftButton); }
  void Type(int id, const QString& text) {
    C<QLineEdit>(id)->clear();
    QTest::keyClicks(C<QLineEdit>(id), text);
  }
  bool Lit(int id) { return C<ui::SkinButton>(id)->Lit(); }
  // The last request of `code` that reached the processor (its command data).
  std::vector<std::uint8_t> Last(int code) {
    Pump([this] { return !E().ReplyAwaited() && E().Pending().Empty(); });
    std::vector<std::uint8_t> data;
    for (const auto& f : WireFrames(W()))
      if (f.code == code) data = f.data;
    return data;
  }

  ui::SystemPage* page_ = nullptr;
};

TEST_F(SysPageTest, SliderReadoutsAtTheirEndsAndTheOutputSwitches) {
  const struct {
    int slider, position;
    const char* readout;
  } cases[] = {
      {kOutputVol, 75, "0.0dB"}, {kOutputVol, 99, "12.0dB"},    {kOutputVol, 1, "-37.0dB"},
      {kOutputVol, 0, "OFF"},    {kSwMicThreshold, 0, "-60db"}, {kSwMicThreshold, 60, "0db"},
      {kSwMicTime, 1, "1s"},     {kSwMicTime, 30, "30s"},       {kMusicMax, 84, "84"},
      {kMusicLeft, 100, "100%"}, {kEffectLeft, 0, "0%"}};
  for (const auto& c : cases) {
    Move(c.slider, c.position);
    EXPECT_EQ(Readout(c.slider), c.readout) << c.slider << " at " << c.position;
  }
  // The four levels travel together with code 57, each with its switch in bit 7.
  Move(kOutputVol, 80);
  const int before = Last(57).at(0);
  EXPECT_EQ(before & 0x7F, 80);
  Click(kOutputVolOn);
  const int toggled = Last(57).at(0);
  EXPECT_EQ(toggled, before ^ 0x80);
  EXPECT_EQ(Lit(kOutputVolOn), (toggled & 0x80) != 0);
  Move(kOutputVol, 10);  // a slider change keeps the switch
  EXPECT_EQ(Last(57).at(0), (toggled & 0x80) | 10);
  // The dance microphone trigger goes with the application-mode block.
  Move(kSwMicTime, 12);
  EXPECT_EQ(Last(34).at(2), 12);
}

TEST_F(SysPageTest, LockButtonsFollowTheTypedLengthAndARefusalRollsBack) {
  Type(kLockPassword, "123");
  EXPECT_FALSE(C(kUnlock)->isEnabled());
  EXPECT_FALSE(C(kLock)->isEnabled());
  QTest::keyClicks(C<QLineEdit>(kLockPassword), "4");
  EXPECT_TRUE(C(kLock)->isEnabled());
  EXPECT_TRUE(Lit(kUnlock));
  const int sent = test::CountCode(W(), 43);
  Click(kUnlock);  // already unlocked: nothing is sent
  EXPECT_EQ(test::CountCode(W(), 43), sent);
  Click(kLock);
  EXPECT_EQ(Last(43), (std::vector<std::uint8_t>{1, 2, 3, 4, 1, 0}));
  EXPECT_TRUE(Lit(kLock));

  Type(kLockPassword, "9999");
  Click(kUnlock);
  EXPECT_TRUE(Lit(kUnlock));  // shown at once
  Last(43);
  EXPECT_TRUE(Lit(kLock));  // refused: back to locked
  EXPECT_FALSE(Lit(kUnlock));
  EXPECT_EQ(W().Messages().back().text, "        Password error        ");

  Type(kAdminPassword, "12345");
  EXPECT_FALSE(C(kAdminUser)->isEnabled());
  QTest::keyClicks(C<QLineEdit>(kAdminPassword), "6");
  EXPECT_TRUE(C(kAdminUser)->isEnabled());
  EXPECT_FALSE(C(kAdminModify)->isEnabled());
  Type(kAdminNewPassword, "654321");
  EXPECT_TRUE(C(kAdminModify)->isEnabled());
}

TEST_F(SysPageTest, ServiceCodesTypedIntoTheNewLockKeyEdit) {
  for (int id : {kWifi, kLogoSet, kLogoLine1, kPowerMode, kDeletePc, kRestoreFactory})
    EXPECT_TRUE(C(id)->isHidden()) << id;
  const std::string wifi = ui::ServiceCodeText(ui::ServiceCode::kWifi);
  QTest::keyClicks(C<QLineEdit>(kLockNewPassword), QString::fromStdString(wifi));
  EXPECT_TRUE(C<QLineEdit>(kLockNewPassword)->text().isEmpty());
  EXPECT_FALSE(C(kWifi)->isHidden());
  QTest::keyClicks(C<QLineEdit>(kLockNewPassword),
                   QString::fromStdString(ui::ServiceCodeText(ui::ServiceCode::kLogo)));
  EXPECT_FALSE(C(kLogoSet)->isHidden());
  EXPECT_FALSE(C(kPowerMode)->isHidden());

  // The boost code: the boost page and its button appear and the page is selected.
  EXPECT_TRUE(W().NavButton(nav::kBoost)->isHidden());
  QTest::keyClicks(C<QLineEdit>(kLockNewPassword),
                   QString::fromStdString(ui::ServiceCodeText(ui::ServiceCode::kBoost)));
  EXPECT_FALSE(W().NavButton(nav::kBoost)->isHidden());
  EXPECT_EQ(W().CurrentPage(), nav::kBoost);
  EXPECT_TRUE(W().PageWidget(nav::kBoost)->isVisible());
  W().Navigate(8);
  ASSERT_FALSE(C(kDeletePc)->isHidden());
  Click(kDeletePc);
  EXPECT_TRUE(W().NavButton(nav::kBoost)->isHidden());
  EXPECT_FALSE(W().BoostAvailable());
  EXPECT_TRUE(page_->isVisible());

  // The logo goes out as typed, space padded.
  Type(kLogoLine1, "WELCOME");
  Click(kLogoSet);
  const auto logo = Last(23);
  ASSERT_GE(logo.size(), 33u);
  EXPECT_EQ(logo[0], 1);
  EXPECT_EQ(std::string(logo.begin() + 1, logo.begin() + 17), "WELCOME         ");
}

TEST_F(SysPageTest, LanguageButtonsChangeEveryWindowAtOnce) {
  Click(kChinese);
  EXPECT_EQ(W().Language(), Lang::kChinese);
  EXPECT_EQ(LoadLanguage(), Lang::kChinese);  // kept for the next start
  EXPECT_TRUE(Lit(kChinese));
  EXPECT_EQ(W().NavButton(8)->text(), QString::fromUtf8("系统"));
  EXPECT_EQ(C<QPushButton>(kSaveToPc)->text(), QString::fromUtf8("存储模式到电脑"));
  Click(kEnglish);
  EXPECT_EQ(W().Language(), Lang::kEnglish);
  EXPECT_EQ(W().NavButton(8)->text(), "System");
}

TEST_F(SysPageTest, SaveToPcAnsweredNoSavesNothing) {
  Type(kPcNameEdit, "CON");
  Click(kSaveToPc);
  EXPECT_TRUE(page_->Shown().back().startsWith("This PC Name is reserved for a device on Windows"))
      << page_->Shown().back().toStdString();
  for (auto* box : page_->findChildren<QMessageBox*>()) box->done(QMessageBox::Ok);
  Type(kPcNameEdit, "evening");
  Click(kSaveToPc);
  ASSERT_EQ(page_->PcList()->topLevelItemCount(), 1);
  EXPECT_EQ(page_->PcList()->topLevelItem(0)->text(1), "evening");
  const auto path = E().ParamDir() / "evening";
  const auto written = std::filesystem::last_write_time(path);

  Click(kSaveToPc);
  EXPECT_EQ(page_->Shown().back(), "overwrite ?");
  auto* question = page_->findChild<QMessageBox*>("userQuestion");
  ASSERT_NE(question, nullptr);
  QTest::mouseClick(question->button(QMessageBox::No), Qt::LeftButton);
  Settle();
  EXPECT_EQ(page_->PcList()->topLevelItemCount(), 1);
  EXPECT_EQ(std::filesystem::last_write_time(path), written);

  // Choosing the row puts its name back into the edit; Load From PC sends it to the
  // processor's current mode.
  C<QLineEdit>(kPcNameEdit)->clear();
  page_->PcList()->setCurrentItem(page_->PcList()->topLevelItem(0));
  EXPECT_EQ(C<QLineEdit>(kPcNameEdit)->text(), "evening");
  const int uploads = test::CountCode(W(), 65);
  Click(kLoadFromPc);
  Last(67);
  EXPECT_EQ(test::CountCode(W(), 65), uploads + 1);
  EXPECT_EQ(W().Messages().back().text, " \t   Load OK\t\t  ");
}

// After a download the user-mode list shows the processor's current preset, so Save writes
// into that preset and not into user mode 1.
TEST(SysPageDownload, SaveAfterADownloadWritesTheCurrentPreset) {
  test::PanelFixture panel;
  auto& processor = panel.W().Demo().Processor();
  processor.SetCurrentPreset(6);
  processor.SetAdminMode(1);
  const auto firstBefore = processor.Stored(0).name;
  panel.W().show();
  ASSERT_TRUE(panel.ConnectDemo());
  panel.W().Navigate(nav::kNavTable[8].index);
  auto* page = panel.W().FindSystemPage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(qobject_cast<QComboBox*>(page->Control(kModeCombo))->currentIndex(), 6);
  qobject_cast<QLineEdit*>(page->Control(kModeNameEdit))->setText("Lounge");
  QTest::mouseClick(qobject_cast<QPushButton*>(page->Control(kSaveEquipment)), Qt::LeftButton);
  const auto named = [&](int slot) {
    return std::string(processor.Stored(slot).name.data(), 6) == "Lounge";
  };
  ASSERT_TRUE(panel.Pump([&] { return named(6) || named(0); }));
  EXPECT_TRUE(named(6));
  EXPECT_EQ(processor.Stored(0).name, firstBefore);
}

// The panel's Save To PC and the command line's pull write the same file for the same
// processor state, pass-filter bands included (the processor does not store those).
TEST(SysPageFiles, SaveToPcWritesTheFileAPullWritesOfTheSameState) {
  const VirtualProcessor varied = VirtualProcessor::Seeded(17);
  test::PanelFixture panel;
  panel.W().Demo().Processor() = varied;
  panel.W().show();
  ASSERT_TRUE(panel.ConnectDemo());
  QTemporaryDir dir;
  panel.E().SetParamDir(dir.path().toStdString());
  panel.E().Post(msg::SaveToPc{"panel"});
  ASSERT_TRUE(panel.Pump([&] { return panel.E().PcFiles().size() == 1; }));

  // What `pull` does: read the set, keep its name, write it.
  test::EngineHarness pull;
  pull.processor = varied;
  ASSERT_TRUE(pull.ConnectAndRead());
  ParamImage image = pull.engine.Image();
  image.name = SanitisePresetName(PresetNameText(image.name));
  ASSERT_TRUE(SaveParamFile(dir.path().toStdString(), "pulled", image).ok);

  const auto read = [&](const char* name) {
    std::ifstream in(dir.filePath(name).toStdString(), std::ios::binary);
    return std::vector<char>(std::istreambuf_iterator<char>(in), {});
  };
  const auto panelFile = read("panel"), pulledFile = read("pulled");
  ASSERT_EQ(panelFile.size(), kParamFileSize);
  std::size_t firstDifference = 0;
  while (firstDifference < panelFile.size() &&
         panelFile[firstDifference] == pulledFile.at(firstDifference))
    ++firstDifference;
  EXPECT_EQ(firstDifference, panelFile.size()) << "the files differ from byte " << firstDifference;
}

}  // namespace
}  // namespace tavelo
