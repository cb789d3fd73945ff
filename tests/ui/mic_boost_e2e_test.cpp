// The microphone and boost pages in the main window against the in-process virtual
// processor: one edit of every kind reaches the processor's image, and a download after
// reconnecting shows the same values in the page.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "support/page_driver.h"
#include "ui/controls/SkinSlider.h"
#include "ui/pages/BoostPage.h"
#include "ui/pages/BoostPageTable.h"
#include "ui/pages/MicPage.h"
#include "ui/pages/MicPageTable.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

constexpr int kMicNav = 1, kBoostNav = 11;

class MicBoostEndToEnd : public ::testing::Test, public test::PanelFixture {
 protected:
  void SetUp() override {
    W().show();
    ASSERT_TRUE(ConnectDemo());
  }
  ui::Page* Page(int nav) { return W().PageWidget(nav); }
  QWidget* Control(int nav, int id) { return Page(nav)->Binder().Widget(id); }
  QLineEdit* Edit(int nav, int id) { return qobject_cast<QLineEdit*>(Control(nav, id)); }
  void Click(int nav, int id) { QTest::mouseClick(Control(nav, id), Qt::LeftButton); }
  void Type(int nav, int id, const char* text) {
    QLineEdit* edit = Edit(nav, id);
    edit->setFocus();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
  }
  void DragSlider(int nav, int id, int dx) { test::DragThumb(Control(nav, id), dx); }
  bool Idle() {
    return Pump([this] { return !E().ReplyAwaited() && E().Pending().Empty(); });
  }
  const ParamImage& Device() { return W().Demo().Processor().Current(); }
  // Drops the link, forgets the panel's copy and reads the processor's set again.
  void Reload() {
    W().Connect();
    ASSERT_TRUE(Pump([this] { return E().State() == ConnState::kIdle; }));
    ApplyDefaults(E().Image());
    QSignalSpy shown(&W(), &ui::MainWindow::ParameterSetShown);
    W().Connect();
    ASSERT_TRUE(Pump([&] { return shown.count() > 0 && !E().ReplyAwaited(); }));
  }
};

TEST_F(MicBoostEndToEnd, EveryKindOfMicrophoneEditReachesTheProcessorAndComesBack) {
  E().Post(msg::SetAdjustManner{1});  // "Param": the page owns the tone values
  ASSERT_TRUE(Idle());
  ASSERT_FALSE(E().AdjustLocked());
  W().Navigate(kMicNav);
  Type(kMicNav, mic::Column(2).gainEdit, "7.5");  // band
  Type(kMicNav, mic::kHpfEdit, "125");            // pass filter
  DragSlider(kMicNav, mic::kMicAVolSlider, -30);  // level, bits 0..6
  Click(kMicNav, mic::kMicBVolOn);                // on/off, bit 7
  Click(kMicNav, mic::kCompBypass);               // switch-word bit
  Type(kMicNav, mic::kBassEdit, "-4.5");          // tone value
  ASSERT_TRUE(Idle());
  const ParamImage& device = Device();
  const ParamImage& panel = E().Image();
  EXPECT_EQ(device.set(kEqMicA)[2].gain, 75);
  EXPECT_EQ(device.word(0), 125);
  EXPECT_EQ(device.byte(12), panel.byte(12));
  EXPECT_EQ(device.byte(13), panel.byte(13));
  EXPECT_EQ(device.switchWord, panel.switchWord);
  EXPECT_EQ(device.word(36), 240 - 45);

  // Microphone 2: bypass, then reset of a changed band.
  Click(kMicNav, mic::kMicButtons[1]);
  Type(kMicNav, mic::Column(6).freqEdit, "5100");
  ASSERT_TRUE(Idle());
  EXPECT_EQ(Device().set(kEqMicB)[6].freq, 5100);
  Click(kMicNav, mic::kBypassButton);
  Click(kMicNav, mic::kResetButton);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(Device().switchWord, E().Image().switchWord);
  EXPECT_EQ(Device().set(kEqMicB)[6], (EqBand{0, 0, 4000, 10, 0}));

  const int mic1Volume = E().Image().byte(12) & 0x7f;
  Reload();
  Click(kMicNav, mic::kMicButtons[0]);
  EXPECT_EQ(Edit(kMicNav, mic::Column(2).gainEdit)->text(), "7.5");
  EXPECT_EQ(Edit(kMicNav, mic::kHpfEdit)->text(), "125");
  EXPECT_EQ(Edit(kMicNav, mic::kBassEdit)->text(), "-4.5");
  EXPECT_EQ(qobject_cast<ui::SkinSlider*>(Control(kMicNav, mic::kMicAVolSlider))->GetPos(),
            mic1Volume);
  Click(kMicNav, mic::kMicButtons[1]);
  EXPECT_EQ(Edit(kMicNav, mic::Column(6).freqEdit)->text(), "4000");
}

TEST_F(MicBoostEndToEnd, TheLinkGoesOutOnceAndLinkedEditsNameTheShownMicrophone) {
  W().Navigate(kMicNav);
  Click(kMicNav, mic::kMicButtons[1]);
  Click(kMicNav, mic::kLinkButton);
  Type(kMicNav, mic::Column(4).gainEdit, "-2.0");
  ASSERT_TRUE(Idle());
  std::vector<test::WireFrame> links, bands;
  for (const auto& f : test::WireFrames(W())) {
    if (f.code == 60) links.push_back(f);
    if (f.code == 3) bands.push_back(f);
  }
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].data[0], 1);  // shown microphone
  EXPECT_EQ(links[0].data[1], 1);  // link on
  ASSERT_EQ(bands.size(), 1u);
  EXPECT_EQ(bands[0].data[0], 1);  // set id of microphone 2
  EXPECT_EQ(bands[0].data[1], 4);
  EXPECT_EQ(E().Image().set(kEqMicA)[4].gain, -20);
}

TEST_F(MicBoostEndToEnd, AFrontPanelKnobReachesTheMicrophonePageAndLeavesTypedText) {
  E().Post(msg::SetAdjustManner{0});  // "VR": the knobs own the tone values
  ASSERT_TRUE(Idle());
  ASSERT_TRUE(E().AdjustLocked());
  W().Navigate(kMicNav);
  QLineEdit* mid = Edit(kMicNav, mic::kMidEdit);
  mid->setFocus();
  mid->selectAll();
  QTest::keyClicks(mid, "1.5");
  // Microphone bass knob at position 9: +6.0 dB; middle and treble in the centre.
  W().Demo().Processor().SetPanelPositions({0x09, 0x06, 0x06, 0x06, 0, 0, 0});
  ASSERT_TRUE(Pump([this] { return Edit(kMicNav, mic::kBassEdit)->text() == "6.0"; }));
  EXPECT_EQ(qobject_cast<ui::SkinSlider*>(Control(kMicNav, mic::kBassSlider))->GetPos(), 300);
  EXPECT_EQ(mid->text(), "1.5");
}

TEST_F(MicBoostEndToEnd, BoostEditsSwitchesAndTheStoredBlockReachTheProcessor) {
  W().Navigate(kBoostNav);
  ASSERT_TRUE(Page(kBoostNav)->isVisible());
  Click(kBoostNav, boost::kChannelButtons[3]);
  Type(kBoostNav, boost::Column(2).gainEdit, "3.5");
  const bool echoOn = E().Image().boost.switches & 0x08;
  Click(kBoostNav, boost::kBoostBoxes[3]);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(Device().boost.bands[3][2].gain, 35);
  EXPECT_EQ((Device().boost.switches & 0x08) != 0, !echoOn);

  Click(kBoostNav, boost::kStoreButton);
  ASSERT_TRUE(Idle());
  EXPECT_EQ(test::CountCode(W(), 51), 1);
  EXPECT_EQ(Device().boost, E().Image().boost);

  Reload();
  Click(kBoostNav, boost::kChannelButtons[3]);
  EXPECT_EQ(Edit(kBoostNav, boost::Column(2).gainEdit)->text(), "3.5");
}

}  // namespace
}  // namespace tavelo
