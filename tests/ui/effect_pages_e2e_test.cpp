// The echo and reverb pages in the main window against the virtual processor: one edit of
// every kind reaches the processor's image, and a download afterwards shows the same
// values on the page.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "support/page_driver.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/controls/SkinSlider.h"
#include "ui/pages/EchoPage.h"
#include "ui/pages/EchoPageTable.h"
#include "ui/pages/ReverbPage.h"
#include "ui/pages/ReverbPageTable.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

constexpr int kReverbNav = 2, kEchoNav = 3;

class EffectPagesE2e : public ::testing::Test, public test::PanelFixture {
 protected:
  ui::EffectPage* Open(int nav) {
    W().Navigate(nav);
    auto* page = qobject_cast<ui::EffectPage*>(W().PageWidget(nav));
    page_ = page;
    return page;
  }
  QWidget* Wd(int id) { return page_->Binder().Widget(id); }
  ui::SkinSlider* Slider(int id) { return qobject_cast<ui::SkinSlider*>(Wd(id)); }
  std::string Text(int id) {
    if (auto* e = qobject_cast<QLineEdit*>(Wd(id))) return e->text().toStdString();
    return qobject_cast<QLabel*>(Wd(id))->text().toStdString();
  }
  void Type(int id, const char* text) { test::TypeAndEnter(Wd(id), text); }
  void Click(int id) { QTest::mouseClick(Wd(id), Qt::LeftButton); }
  void DragToMax(int id) { test::DragThumbTo(Wd(id), Wd(id)->width() + 300); }
  bool Idle() {
    return Pump([this] { return !E().ReplyAwaited() && E().Pending().Empty(); });
  }
  // The front panel's knobs hand their values to the page.
  void HandBackQuickValues() {
    if (!E().AdjustLocked()) return;
    Click(effect::kVrOffButton);
    ASSERT_TRUE(Idle());
    ASSERT_FALSE(E().AdjustLocked());
  }
  // Reads the whole set again after the panel forgot it, as a new connection would.
  bool DownloadAgain() {
    ApplyDefaults(E().Image());
    page_->Refresh();
    const int chunks = test::CountCode(W(), 64);
    E().PostBlock(63);
    return Pump([&] {
      return test::CountCode(W(), 64) >= chunks + 17 && !E().ReplyAwaited() &&
             E().Pending().Empty();
    });
  }

  ui::EffectPage* page_ = nullptr;
};

TEST_F(EffectPagesE2e, EchoEditsReachTheProcessorAndComeBackWithADownload) {
  ASSERT_TRUE(ConnectDemo());
  ASSERT_NE(Open(kEchoNav), nullptr);
  HandBackQuickValues();
  const ParamImage& device = W().Demo().Processor().Current();

  // The echo type: the processor answers with the dual type's values and the page is
  // laid out for them.
  auto* list = qobject_cast<ui::SkinComboBox*>(Wd(echo::kTypeList));
  ASSERT_NE(list, nullptr);
  page_->Model().ListChanged(echo::kTypeList, echo::kDual);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(device.byte(img::kEchoType), echo::kDual);
  EXPECT_FALSE(Wd(echo::kRightRepeatSlider)->isHidden());
  EXPECT_EQ(Text(echo::kRightDelayText), std::to_string(device.word(28)) + "ms");

  Click(effect::kResetButton);
  Type(effect::Column(2).gainEdit, "6.5");
  Type(effect::kLpfEdit, "5000");
  DragToMax(effect::kLevelSlider);
  DragToMax(echo::kRightLevelSlider);
  Click(echo::kDirectSwitch);
  Click(effect::kBypassButton);
  ASSERT_TRUE(Idle());

  const ParamImage& panel = E().Image();
  EXPECT_EQ(device.set(kEqEcho)[2].gain, 65);
  EXPECT_EQ(device.set(kEqEcho)[0].freq, 125);
  EXPECT_EQ(device.word(23), 5000);
  EXPECT_EQ(device.byte(115) & 0x7f, 100);
  EXPECT_EQ(device.byte(117) & 0x7f, 100);
  EXPECT_EQ(device.byte(119), panel.byte(119));
  EXPECT_FALSE(device.switchWord & (1u << 25));
  for (int i = 114; i <= 122; ++i) EXPECT_EQ(device.byte(i), panel.byte(i)) << i;
  for (int k = 22; k <= 29; ++k) EXPECT_EQ(device.word(k), panel.word(k)) << k;
  for (int b = 0; b < 5; ++b) EXPECT_EQ(device.set(kEqEcho)[b], panel.set(kEqEcho)[b]) << b;

  ASSERT_TRUE(DownloadAgain());
  EXPECT_EQ(Text(effect::Column(2).gainEdit), "6.5");
  EXPECT_EQ(Text(effect::kLpfEdit), "5000");
  EXPECT_EQ(Text(effect::kLevelText), "100");
  EXPECT_EQ(Text(echo::kRightLevelText), "100");
  EXPECT_EQ(page_->Model().Controls().Lit(echo::kDirectSwitch), (device.byte(119) & 0x80) != 0);
  EXPECT_TRUE(page_->Model().Bypassed());
  EXPECT_FALSE(Wd(echo::kRightRepeatSlider)->isHidden());
  EXPECT_EQ(list->currentIndex(), echo::kDual);
}

TEST_F(EffectPagesE2e, ReverbEditsReachTheProcessorAndComeBackWithADownload) {
  ASSERT_TRUE(ConnectDemo());
  ASSERT_NE(Open(kReverbNav), nullptr);
  HandBackQuickValues();
  const ParamImage& device = W().Demo().Processor().Current();

  Click(effect::kResetButton);
  Type(effect::Column(4).gainEdit, "-3.0");
  Type(effect::kHpfEdit, "400");
  DragToMax(reverb::kDecaySlider);
  Click(effect::kLevelSwitch);
  Click(effect::kBypassButton);
  ASSERT_TRUE(Idle());

  const ParamImage& panel = E().Image();
  EXPECT_EQ(device.set(kEqReverb)[4].gain, -30);
  EXPECT_EQ(device.word(20), 400);
  EXPECT_EQ(device.word(24), 5000);
  EXPECT_EQ(device.byte(108), panel.byte(108));
  EXPECT_FALSE(device.switchWord & (1u << 24));
  for (int b = 0; b < 5; ++b) EXPECT_EQ(device.set(kEqReverb)[b], panel.set(kEqReverb)[b]) << b;

  ASSERT_TRUE(DownloadAgain());
  EXPECT_EQ(Text(effect::Column(4).gainEdit), "-3.0");
  EXPECT_EQ(Text(effect::kHpfEdit), "400");
  EXPECT_EQ(Text(reverb::kDecayText), "5000ms");
  EXPECT_EQ(page_->Model().Controls().Lit(effect::kLevelSwitch), (device.byte(108) & 0x80) != 0);
  EXPECT_TRUE(page_->Model().Bypassed());
}

TEST_F(EffectPagesE2e, FrontPanelKnobsReachTheOpenEchoPageUnderTheLock) {
  W().Demo().Processor().Current().byte(img::kAdjustManner) = 0;  // "VR": the knobs own them
  ASSERT_TRUE(ConnectDemo());
  ASSERT_TRUE(E().AdjustLocked());
  Open(kEchoNav);
  // Echo quick values sit in the upper halves of position bytes 4..6.
  W().Demo().Processor().SetPanelPositions({0x66, 0x66, 0x66, 0x66, 0x36, 0xC6, 0x06});
  ASSERT_TRUE(Pump([this] { return Text(echo::kDelayText) == "500ms"; }));
  EXPECT_EQ(Text(effect::kLevelText), "25");
  EXPECT_EQ(Text(echo::kRepeatText), "0");

  // The reverb's sit in the lower halves.
  Open(kReverbNav);
  EXPECT_EQ(Text(reverb::kDecayText), "2450ms");
  W().Demo().Processor().SetPanelPositions({0x66, 0x66, 0x66, 0x66, 0x33, 0xCC, 0x00});
  ASSERT_TRUE(Pump([this] { return Text(reverb::kDecayText) == "5000ms"; }));
  EXPECT_EQ(Text(effect::kLevelText), "25");
  EXPECT_EQ(Text(reverb::kPredelayText), "0ms");
  EXPECT_NE(E().Image().word(24), 5000);  // shown, not stored
}

}  // namespace
}  // namespace tavelo
