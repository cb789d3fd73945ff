// The microphone page driven as a user drives it (mouse presses and drags, keys), asserting
// what lands in the image and which block requests are posted.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <utility>
#include <vector>

#include "support/page_driver.h"
#include "support/qt_app.h"
#include "ui/controls/QStepArrows.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinSlider.h"
#include "ui/graph/GraphLayout.h"
#include "ui/pages/MicPage.h"
#include "ui/pages/MicPageTable.h"

namespace tavelo {
namespace {

using test::Posts;

constexpr int kMicSet[2] = {0, 1};  // set ids of the two microphones
constexpr std::uint32_t kMic1On = 1u << 13, kMic2On = 1u << 14, kCompOn = 1u << 12;

class MicPage : public ::testing::Test {
 protected:
  MicPage() {
    ApplyDefaults(image_);
    // Microphone 2 differs from microphone 1 in every band, and its equaliser is bypassed.
    for (int k = 0; k < 10; ++k) {
      image_.set(kEqMicA)[k].gain = static_cast<std::int16_t>(10 * k);
      image_.set(kEqMicB)[k] =
          EqBand{0, static_cast<std::int8_t>(k % 3), static_cast<std::int16_t>(200 + 100 * k), 15,
                 static_cast<std::int16_t>(-10 * k)};
    }
    image_.switchWord = (image_.switchWord | kMic1On) & ~kMic2On;
    window_.resize(1180, 680);
    page_ = new ui::MicPage(image_, test::RecordPosts(posted_), QSize(1164, 610), &window_);
    page_->Model().SetFlags({[] { return false; }, [this] { return locked_; }});
    page_->Model().SetState(PageModel::kData);
    page_->Refresh();
    window_.show();
    QApplication::setActiveWindow(&window_);
    posted_.clear();
  }

  QWidget* W(int id) { return page_->Binder().Widget(id); }
  ui::SkinSlider* Slider(int id) { return qobject_cast<ui::SkinSlider*>(W(id)); }
  QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(W(id)); }
  QString Shown(int id) {
    if (auto* label = qobject_cast<QLabel*>(W(id))) return label->text();
    return Edit(id)->text();
  }
  void Click(int id) { QTest::mouseClick(W(id), Qt::LeftButton); }
  void Type(int id, const char* text) { test::TypeAndEnter(W(id), text); }
  // Drags a horizontal slider's thumb by dx pixels with the mouse.
  void Drag(int id, int dx) { test::DragThumb(W(id), dx, 4); }
  EqBand& Band(int mic, int k) { return image_.set(mic == 0 ? kEqMicA : kEqMicB)[k]; }
  static int CountColour(const QImage& image, std::uint32_t rgb) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xffffff) == rgb;
    return n;
  }

  QApplication& app_ = test::QtApp();  // before any widget member
  ParamImage image_;
  bool locked_ = false;
  Posts posted_;
  QWidget window_;
  ui::MicPage* page_ = nullptr;
};

TEST_F(MicPage, ShowingMicrophoneTwoAndBackRedrawsInItsColoursAndPostsNothing) {
  const QImage& frame = page_->View().Frame();
  EXPECT_GT(CountColour(frame, mic::kCurveColour[0]), 0);
  EXPECT_EQ(CountColour(frame, mic::kCurveColour[1]), 0);
  EXPECT_FALSE(page_->View().BypassStamp());

  Click(mic::kMicButtons[1]);
  EXPECT_EQ(page_->ShownMicrophone(), 1);
  EXPECT_EQ(CountColour(frame, mic::kCurveColour[0]), 0);
  EXPECT_GT(CountColour(frame, mic::kCurveColour[1]), 0);
  EXPECT_TRUE(page_->View().BypassStamp()) << "microphone 2's equaliser is bypassed";
  EXPECT_TRUE(qobject_cast<ui::SkinButton*>(W(mic::kBypassButton))->Lit());
  EXPECT_EQ(Edit(mic::Column(4).freqEdit)->text(), "600");
  EXPECT_TRUE(qobject_cast<ui::SkinButton*>(W(mic::kMicButtons[1]))->Lit());
  EXPECT_FALSE(qobject_cast<ui::SkinButton*>(W(mic::kMicButtons[0]))->Lit());
  Click(mic::kMicButtons[1]);  // no change: nothing happens
  EXPECT_EQ(page_->ShownMicrophone(), 1);

  Click(mic::kMicButtons[0]);
  EXPECT_GT(CountColour(frame, mic::kCurveColour[0]), 0);
  EXPECT_EQ(CountColour(frame, mic::kCurveColour[1]), 0);
  EXPECT_FALSE(page_->View().BypassStamp());
  EXPECT_EQ(Edit(mic::Column(4).freqEdit)->text(), "1000");
  EXPECT_TRUE(posted_.empty());
}

TEST_F(MicPage, OnAScreenOfAnotherScaleTheGraphIsRedrawnForItInItsColours) {
  Click(mic::kMicButtons[1]);  // microphone 2: its own colours and the bypass stamp
  const QSize points = page_->Graph()->size();
  page_->DrawGraphFor(2.0);
  const QImage& frame = page_->View().Frame();
  EXPECT_DOUBLE_EQ(frame.devicePixelRatio(), 2.0);
  EXPECT_EQ(frame.size(), points * 2);
  EXPECT_EQ(page_->Graph()->size(), points);
  EXPECT_GT(CountColour(frame, mic::kCurveColour[1]), 0);
  EXPECT_EQ(CountColour(frame, mic::kCurveColour[0]), 0);
  EXPECT_TRUE(page_->View().BypassStamp());
  // Back on this screen (the window moved again): drawn for its ratio once more.
  QEvent moved(QEvent::ScreenChangeInternal);
  QApplication::sendEvent(page_, &moved);
  EXPECT_DOUBLE_EQ(page_->View().Frame().devicePixelRatio(), page_->devicePixelRatioF());
  EXPECT_EQ(page_->View().Frame().size(), points * page_->devicePixelRatioF());
  EXPECT_TRUE(posted_.empty());
}

TEST_F(MicPage, TheLinkCopiesTheShownMicrophoneAndLinkedEditsPostOnlyIt) {
  Click(mic::kMicButtons[1]);
  Click(mic::kLinkButton);
  EXPECT_EQ(posted_, (Posts{{60, 256 + 1}}));
  for (int k = 0; k < 12; ++k) EXPECT_EQ(Band(0, k), Band(1, k)) << k;
  EXPECT_EQ(image_.switchWord & kMic1On, 0u) << "microphone 2's enable bit copied";

  // A band edit of microphone 2: both change, one code 3 for microphone 2.
  posted_.clear();
  Type(mic::Column(3).gainEdit, "6.5");
  EXPECT_EQ(Band(1, 3).gain, 65);
  EXPECT_EQ(Band(0, 3).gain, 65);
  EXPECT_EQ(posted_, (Posts{{3, 3 * 256 + kMicSet[1]}}));

  // Bypass and reset are copied too; each posts for microphone 2 only.
  posted_.clear();
  Click(mic::kBypassButton);  // microphone 2 becomes active
  EXPECT_NE(image_.switchWord & kMic2On, 0u);
  EXPECT_NE(image_.switchWord & kMic1On, 0u);
  Click(mic::kResetButton);
  EXPECT_EQ(Band(0, 3), (EqBand{0, 0, 500, 10, 0}));
  EXPECT_EQ(posted_, (Posts{{15, 0}, {4, kMicSet[1]}}));

  // Off: one code 60 with the state clear; edits stay with their microphone again.
  posted_.clear();
  Click(mic::kLinkButton);
  EXPECT_EQ(posted_, (Posts{{60, 1}}));
  Type(mic::Column(2).gainEdit, "-3.0");
  EXPECT_EQ(Band(1, 2).gain, -30);
  EXPECT_EQ(Band(0, 2).gain, 0);
}

TEST_F(MicPage, TurningTheLinkOnWhileTheFlagIsAlreadySetCopiesButPostsNothing) {
  image_.micEqLink = 1;
  Click(mic::kLinkButton);
  EXPECT_TRUE(page_->LinkOn());
  for (int k = 0; k < 12; ++k) EXPECT_EQ(Band(1, k), Band(0, k)) << k;
  EXPECT_NE(image_.switchWord & kMic2On, 0u);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(MicPage, TheHighPassSliderWritesBothMicrophonesWhileATypedFrequencyWritesOne) {
  Drag(mic::kHpfSlider, 40);
  const int freq = image_.word(0);
  EXPECT_GT(freq, 50);
  EXPECT_EQ(Slider(mic::kHpfSlider)->GetPos(), freq);
  EXPECT_EQ(Band(0, mic::kHighPassBand).freq, freq);
  EXPECT_EQ(Band(1, mic::kHighPassBand).freq, freq);
  ASSERT_FALSE(posted_.empty());
  for (const auto& p : posted_) EXPECT_EQ(p, (std::pair{17, 0}));

  posted_.clear();
  Type(mic::kHpfEdit, "250");
  EXPECT_EQ(image_.word(0), 250);
  EXPECT_EQ(Band(0, mic::kHighPassBand).freq, 250);
  EXPECT_EQ(Band(1, mic::kHighPassBand).freq, freq);
  EXPECT_EQ(Slider(mic::kHpfSlider)->GetPos(), 250);
  EXPECT_EQ(page_->Model().Selected(), mic::kHighPassBand);
  EXPECT_EQ(posted_, (Posts{{17, 0}}));
  // Later reloads (another page posts, a knob turns) and showing microphone 2 leave its
  // filter where it was; a new parameter set builds both from the filter word again.
  page_->ReloadChanged();
  Click(mic::kMicButtons[1]);
  page_->ReloadChanged();
  EXPECT_EQ(Band(1, mic::kHighPassBand).freq, freq);
  EXPECT_EQ(Band(0, mic::kHighPassBand).freq, 250);
  page_->ShowParameterSet();
  EXPECT_EQ(Band(1, mic::kHighPassBand).freq, 250);

  // Out of range: the stored frequency comes back, nothing is posted.
  posted_.clear();
  Type(mic::kLpfEdit, "20001");
  EXPECT_EQ(Edit(mic::kLpfEdit)->text(), "20000");
  EXPECT_TRUE(posted_.empty());
}

TEST_F(MicPage, EveryReadoutAtTheEndsOfItsRange) {
  struct Case {
    RowId row;
    int readout;
    int value;
    const char* text;
  };
  using enum row::Id;
  const Case cases[] = {
      {kMicFbx, mic::kFbxText, 0, "0"},
      {kMicFbx, mic::kFbxText, 4, "4"},
      {kMicNoiseGate, mic::kGateText, 0, "OFF"},
      {kMicNoiseGate, mic::kGateText, 1, "-80db"},
      {kMicNoiseGate, mic::kGateText, 41, "-40db"},
      {kMicMic1Volume, mic::kMicAVolText, 0, "0"},
      {kMicMic2Volume, mic::kMicBVolText, 100, "100"},
      {kMicCompThreshold, mic::kCompThText, 0, "-50db"},
      {kMicCompThreshold, mic::kCompThText, 50, "0db"},
      {kMicCompRatio, mic::kCompRatioText, 2, "1:2"},
      {kMicCompRatio, mic::kCompRatioText, 100, "1:100"},
      {kMicCompAttack, mic::kCompAttackText, 1, "1ms"},
      {kMicCompAttack, mic::kCompAttackText, 90, "90ms"},
      {kMicCompRelease, mic::kCompReleaseText, 1, "0.1s"},
      {kMicCompRelease, mic::kCompReleaseText, 25, "2.5s"},
      {kMicToneBass, mic::kBassEdit, 0, "-24.0"},
      {kMicToneTreble, mic::kTrebleEdit, 480, "24.0"},
      {kMicToneMidHz, mic::kMidFreqEdit, 20, "20"},
      {kMicToneMidHz, mic::kMidFreqEdit, 20000, "20000"},
      {kMicHpfHz, mic::kHpfEdit, 20, "20"},
      {kMicLpfHz, mic::kLpfEdit, 20000, "20000"},
  };
  for (const Case& c : cases) {
    WriteValue(image_, RowOf(c.row), c.value);
    page_->Refresh();
    EXPECT_EQ(Shown(c.readout), c.text) << RowOf(c.row).name << " = " << c.value;
  }
  // A volume shows its level only, whatever its on bit.
  image_.byte(12) = 0x80 | 37;
  page_->Refresh();
  EXPECT_EQ(Shown(mic::kMicAVolText), "37");
}

TEST_F(MicPage, TheAdjustmentLockIgnoresToneMovementsAndShowsTheFrontPanel) {
  locked_ = true;
  image_.toneGroups[1][1].gain = 30;  // the processor's bass knob: +3.0 dB
  page_->Refresh();
  EXPECT_EQ(Shown(mic::kBassEdit), "3.0");
  const int bassWord = image_.word(36);

  Drag(mic::kBassSlider, 30);
  EXPECT_EQ(Slider(mic::kBassSlider)->GetPos(), 270) << "the thumb goes back";
  Type(mic::kBassEdit, "5.0");
  EXPECT_EQ(Shown(mic::kBassEdit), "3.0");
  Type(mic::kMidFreqEdit, "2000");
  EXPECT_EQ(image_.word(36), bassWord);
  EXPECT_EQ(image_.word(38), 1000);
  EXPECT_TRUE(posted_.empty());

  // The front panel turns the treble while the user is typing a middle gain: the treble
  // is shown, the typed text stays.
  Edit(mic::kMidEdit)->setFocus();
  Edit(mic::kMidEdit)->selectAll();
  QTest::keyClicks(Edit(mic::kMidEdit), "1.5");
  image_.toneGroups[1][3].gain = -60;
  page_->ReloadChanged();
  EXPECT_EQ(Shown(mic::kTrebleEdit), "-6.0");
  EXPECT_EQ(Shown(mic::kMidEdit), "1.5");

  // Values the lock does not own still move.
  Drag(mic::kFbxSlider, -40);
  ASSERT_FALSE(posted_.empty());
  for (const auto& p : posted_) EXPECT_EQ(p, (std::pair{5, 0}));
}

TEST_F(MicPage, QSpinsStepTheQBothWaysAndStopAtTheRangeEnds) {
  const auto& col = mic::Column(5);
  auto* spin = W(col.qSpin);
  ASSERT_TRUE(spin && spin->isVisible());
  const QPoint up(spin->width() / 2, 3), down(spin->width() / 2, spin->height() - 3);
  QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier, up);
  EXPECT_EQ(Band(0, 5).q, 11);
  EXPECT_EQ(Edit(col.qEdit)->text(), "1.1");
  EXPECT_TRUE(Edit(col.qEdit)->hasFocus());
  EXPECT_EQ(page_->Model().Selected(), 5);
  QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier, down);
  QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier, down);
  EXPECT_EQ(Band(0, 5).q, 9);
  EXPECT_EQ(posted_, (Posts{{3, 5 * 256}, {3, 5 * 256}, {3, 5 * 256}}));

  // The step's sign as the spin notification carries it: +1 lowers, -1 raises.
  page_->Model().SpinStep(col.qSpin, +1);
  EXPECT_EQ(Band(0, 5).q, 8);
  page_->Model().SpinStep(col.qSpin, -1);
  page_->Model().SpinStep(col.qSpin, -1);
  EXPECT_EQ(Band(0, 5).q, 10);

  // At the bottom of the range a lowering step leaves 0.4 and posts nothing.
  Band(0, 5).q = 4;
  page_->Refresh();
  posted_.clear();
  QTest::mouseClick(spin, Qt::LeftButton, Qt::NoModifier, down);
  EXPECT_EQ(Band(0, 5).q, 4);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(MicPage, ToneBandsAreDrawnAsMarkersButAreNotClickable) {
  // Tone bands away from every equaliser marker: bass 40 Hz +9 dB, middle, treble.
  image_.word(36) = 240 + 90;
  page_->Refresh();
  const EqBand* tones = page_->Model().ToneBands();
  ASSERT_EQ(page_->Model().ToneCount(), 3);
  ASSERT_EQ(tones[0].gain, 90);
  const QPoint bass = ui::BandPointOf(page_->View().Geometry(), tones[0]);
  int changed = 0;
  const QImage& frame = page_->View().Frame();
  const QImage& background = page_->View().Background();
  for (int y = bass.y() - 12; y <= bass.y() + 12; ++y)
    for (int x = bass.x() - 12; x <= bass.x() + 12; ++x)
      changed += frame.pixel(x, y) != background.pixel(x, y);
  EXPECT_GT(changed, 60) << "a marker is drawn at the bass band";

  const int selected = page_->Model().Selected();
  QTest::mouseClick(page_->Graph(), Qt::LeftButton, Qt::NoModifier, bass);
  QTest::mousePress(page_->Graph(), Qt::LeftButton, Qt::NoModifier, bass);
  QTest::mouseMove(page_->Graph(), bass + QPoint(0, 30));
  QTest::mouseRelease(page_->Graph(), Qt::LeftButton, Qt::NoModifier, bass + QPoint(0, 30));
  EXPECT_EQ(page_->Model().Selected(), selected);
  EXPECT_EQ(image_.word(36), 240 + 90);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(MicPage, VolumeButtonsSwitchBitSevenAndCompBypassSwitchesBitTwelve) {
  const int level = image_.byte(12) & 0x7f;
  const bool on = image_.byte(12) & 0x80;
  Click(mic::kMicAVolOn);
  EXPECT_EQ((image_.byte(12) & 0x80) != 0, !on);
  EXPECT_EQ(image_.byte(12) & 0x7f, level);
  EXPECT_EQ(posted_, (Posts{{5, 0}}));

  posted_.clear();
  const bool compOn = image_.switchWord & kCompOn;
  Click(mic::kCompBypass);
  Click(mic::kCompBypass);
  Click(mic::kCompBypass);
  EXPECT_EQ((image_.switchWord & kCompOn) != 0, !compOn);
  EXPECT_EQ(posted_, (Posts{{15, 0}, {15, 0}, {15, 0}}));
}

}  // namespace
}  // namespace tavelo
