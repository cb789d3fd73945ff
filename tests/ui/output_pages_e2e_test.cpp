// The four output pages end to end: the panel connected to the virtual processor, in Sing
// and in Dance, one edit of every kind on each page must land in the processor's image in
// the set of the mode; the code-14 payload names the page's channel and carries its bytes
// and delay words; a fresh download shows the same values on the page.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "panel_test_env.h"
#include "support/page_driver.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/pages/OutputPage.h"

namespace tavelo {
namespace {

using namespace output;

struct E2eCase {
  int navIndex;
  const char* name;
  int channel;     // code-14 argument
  int firstByte;   // first image byte of its 16-byte output block
  int delayWord;   // W30 + channel
  int secondWord;  // the second delay word in the payload, -1 for none (zeros)
  int mode;
};

const E2eCase kCases[] = {
    {4, "main_sing", 0, 28, 30, 31, kModeSing},  {4, "main_dance", 0, 28, 30, 31, kModeDance},
    {5, "sur_sing", 2, 48, 32, 33, kModeSing},   {5, "sur_dance", 2, 48, 32, 33, kModeDance},
    {6, "cout_sing", 4, 68, 34, -1, kModeSing},  {6, "cout_dance", 4, 68, 34, -1, kModeDance},
    {7, "swout_sing", 5, 88, 35, -1, kModeSing}, {7, "swout_dance", 5, 88, 35, -1, kModeDance},
};

class OutputPagesE2e : public ::testing::TestWithParam<E2eCase>, public test::PanelFixture {
 protected:
  ui::OutputPage* Page() {
    return qobject_cast<ui::OutputPage*>(W().PageWidget(GetParam().navIndex));
  }
  QWidget* Widget(int id) { return Page()->Binder().Widget(id); }
  bool Settled() {
    return Pump([this] { return !E().ReplyAwaited() && E().Pending().Empty(); });
  }
  const ParamImage& Device() { return W().Demo().Processor().Current(); }
  void Type(int id, const char* text) {
    test::TypeAndEnter(Widget(id), text);
    ASSERT_TRUE(Settled());
  }
  void Click(int id) {
    QTest::mouseClick(Widget(id), Qt::LeftButton);
    ASSERT_TRUE(Settled());
  }
  void Slide(int id, int position) {
    Page()->Model().SliderMoved(id, position);
    ASSERT_TRUE(Settled());
  }
};

TEST_P(OutputPagesE2e, EveryKindOfEditReachesTheProcessorInTheModesSet) {
  const E2eCase& c = GetParam();
  ASSERT_TRUE(ConnectDemo());
  // Code 61 follows the distribution, carrying the output display selector.
  int displayFrames = 0;
  for (const auto& f : test::WireFrames(W()))
    if (f.code == 61) {
      ++displayFrames;
      EXPECT_EQ(f.data.at(0), E().Image().byte(img::kOutputDisplay));
    }
  EXPECT_EQ(displayFrames, 1);
  W().ChooseAppMode(c.mode);
  ASSERT_TRUE(Settled());
  ASSERT_EQ(Device().byte(img::kAppMode), c.mode);
  W().Navigate(c.navIndex);
  ASSERT_NE(Page(), nullptr);
  ASSERT_FALSE(Page()->isHidden());
  const OutputPageSpec& table = Page()->Table();
  const int s = c.mode == kModeSing ? 0 : 1;
  const EqSet set = static_cast<EqSet>(table.firstSet + s);

  Slide(kLeftVolume, 60);
  Click(kLeftVolumeOn);
  Slide(kEchoMix, 77);
  Slide(kCompAttack, 45);
  Slide(kLeftDelay, 12);
  const bool wasMuted = Page()->Model().Controls().Lit(kLeftMute);
  Click(kLeftMute);
  Click(kCompBypass);
  Click(kEqBypass);
  Type(output::Column(1).gainEdit, "-7.5");
  Type(output::Column(2).freqEdit, "777");
  Type(kHpfEdit, "90");
  auto* list = qobject_cast<ui::SkinComboBox*>(Widget(kLpfList));
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  ASSERT_TRUE(Settled());

  const ParamImage& panel = E().Image();
  const ParamImage& device = Device();
  EXPECT_EQ(panel.byte(c.firstByte + s) & 0x7F, 60);
  for (int b = c.firstByte; b < c.firstByte + 20; ++b)
    EXPECT_EQ(device.byte(b), panel.byte(b)) << "image byte " << b;
  for (int w = 4; w < 20; ++w) EXPECT_EQ(device.word(w), panel.word(w)) << "W" << w;
  EXPECT_EQ(device.word(c.delayWord), 12);
  EXPECT_EQ(device.switchWord, panel.switchWord);
  EXPECT_EQ(device.set(set)[1].gain, -75);
  EXPECT_EQ(device.set(set)[2].freq, 777);
  const EqSet other = static_cast<EqSet>(table.firstSet + 1 - s);
  EXPECT_NE(device.set(other)[1].gain, -75) << "the other set is untouched";

  // EQ Reset resets the mode's set on the processor too.
  Click(kEqReset);
  EXPECT_EQ(device.set(set)[1].gain, 0);

  // The last output block on the wire: channel, the 16 bytes, the delay words.
  std::vector<std::uint8_t> block;
  for (const auto& f : test::WireFrames(W()))
    if (f.code == 14) block = f.data;
  ASSERT_GE(block.size(), 21u);
  EXPECT_EQ(block[0], c.channel);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(block[1 + i], panel.byte(c.firstByte + i)) << i;
  EXPECT_EQ(block[17] | block[18] << 8, panel.word(c.delayWord));
  const int second = c.secondWord < 0 ? 0 : panel.word(c.secondWord);
  EXPECT_EQ(block[19] | block[20] << 8, second);

  // Disconnect, forget the values, connect again: the page shows what the processor kept.
  const ParamImage kept = device;
  W().Connect();
  ASSERT_TRUE(Pump([this] { return E().State() == ConnState::kIdle; }));
  ApplyDefaults(E().Image());
  Page()->Refresh();
  ASSERT_TRUE(ConnectDemo());
  const auto& controls = Page()->Model().Controls();
  EXPECT_EQ(controls.Position(kEchoMix), kept.byte(c.firstByte + 10 + s) & 0x7F);
  EXPECT_EQ(controls.Text(kLeftDelayText), FormatReadout({ReadoutKind::kDelayDistance}, 12));
  EXPECT_EQ(controls.Text(kHpfEdit), "90");
  EXPECT_EQ(controls.Text(output::Column(1).gainEdit), "0.0");
  EXPECT_EQ(controls.Lit(kLeftMute), !wasMuted);
}

INSTANTIATE_TEST_SUITE_P(Pages, OutputPagesE2e, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tavelo
