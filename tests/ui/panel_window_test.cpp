// The main window against the in-process virtual processor: navigation, hot keys on every
// page, the language switch, connecting and distribution, and what reaches the wire.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include "core/text/Labels.h"
#include "ui/app/TopBarRules.h"
#include "ui/app/UserSettings.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinSlider.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/MusicPageTable.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

constexpr int kMusicSetId = 2;  // the music band set in band arguments

using test::CountCode;
using test::WireFrames;

class PanelWindowTest : public ::testing::Test, public test::PanelFixture {
 protected:
  void SetUp() override { W().show(); }
  QString LabelText(int id) { return static_cast<QLabel*>(W().Control(id))->text(); }
};

TEST_F(PanelWindowTest, NavigationShowsOnePageAtATime) {
  EXPECT_TRUE(W().FindMusicPage()->isVisible());
  EXPECT_TRUE(W().NavButton(0)->Lit());
  QTest::mouseClick(W().NavButton(2), Qt::LeftButton);
  EXPECT_EQ(W().CurrentPage(), 2);
  EXPECT_TRUE(W().PageWidget(2)->isVisible());
  EXPECT_FALSE(W().FindMusicPage()->isVisible());
  EXPECT_TRUE(W().NavButton(2)->Lit());
  EXPECT_FALSE(W().NavButton(0)->Lit());
  QTest::mouseClick(W().NavButton(2), Qt::LeftButton);  // the page already shown
  EXPECT_TRUE(W().PageWidget(2)->isVisible());

  QTest::mouseClick(W().NavButton(nav::kCalibrate), Qt::LeftButton);  // no page of its own
  for (int k = 0; k < nav::kNavCount; ++k) {
    const QWidget* page = W().PageWidget(k);
    if (!page) continue;
    EXPECT_FALSE(page->isVisible()) << k;
  }
  EXPECT_FALSE(W().NavButton(nav::kSurroundRight)->isVisible());
  EXPECT_FALSE(W().NavButton(nav::kBoost)->isVisible());
  for (int k : {1, 3, 4, 5, 6, 7, 8, 0}) {
    QTest::mouseClick(W().NavButton(k), Qt::LeftButton);
    EXPECT_TRUE(W().PageWidget(k)->isVisible()) << k;
  }
}

TEST_F(PanelWindowTest, HotkeysStepLevelsFromAnyPageAndReachTheWire) {
  ASSERT_TRUE(ConnectDemo());
  auto& image = E().Image();
  image.byte(img::kOutputDisplay) = 0;
  image.byte(img::kMusicMaxVolume) = 84;
  const int music = image.byte(img::kMusicVolume);
  // With a band edit of the music page focused.
  auto* edit = W().FindMusicPage()->Binder().Widget(music::Column(0).gainEdit);
  edit->setFocus();
  QTest::keyClick(edit, Qt::Key_F2);
  EXPECT_EQ(image.byte(img::kMusicVolume), music + 1);
  EXPECT_EQ(LabelText(topbar::kMusicValue), QString::number(music + 1));
  EXPECT_EQ(static_cast<ui::SkinSlider*>(W().Control(topbar::kMusicSlider))->GetPos(), music + 1);
  ASSERT_TRUE(Pump([this] { return !E().ReplyAwaited() && E().Pending().Empty(); }));
  EXPECT_EQ(WireFrames(W()).back().code, 2);
  EXPECT_EQ(WireFrames(W()).back().data[0], music + 1);

  // On another page, F3 lowers the microphone and F7 (on release) toggles the mute.
  QTest::mouseClick(W().NavButton(3), Qt::LeftButton);
  const int mic = image.byte(img::kMicVolume);
  QTest::keyClick(W().PageWidget(3), Qt::Key_F3);
  EXPECT_EQ(image.byte(img::kMicVolume), std::max(mic - 1, 0));
  QTest::keyClick(W().PageWidget(3), Qt::Key_F7);
  EXPECT_TRUE(W().Muted());
  ASSERT_TRUE(Pump([this] { return !E().ReplyAwaited() && E().Pending().Empty(); }));
  const auto frames = WireFrames(W());
  ASSERT_GE(frames.size(), 2u);
  EXPECT_EQ(frames.back().code, 21);
  EXPECT_EQ(frames.back().data[0], 1);
  EXPECT_TRUE(W().Demo().Processor().Muted());
}

TEST_F(PanelWindowTest, LanguageSwitchRelabelsEverythingAndIsRemembered) {
  W().SetLanguage(Lang::kChinese, true);
  EXPECT_EQ(W().NavButton(0)->text(), QString::fromUtf8("音乐"));
  EXPECT_EQ(static_cast<QPushButton*>(W().Control(ui::mainid::kConnect))->text(),
            QString::fromUtf8("连接"));
  EXPECT_EQ(LabelText(ui::mainid::kMusicCaption), QString::fromUtf8("音乐:"));
  EXPECT_EQ(W().FindMusicPage()->Binder().CaptionOf(music::kKeySlider)->text(),
            QString::fromUtf8("音乐音调"));
  EXPECT_EQ(
      static_cast<QPushButton*>(W().FindMusicPage()->Binder().Widget(music::kBypassButton))->text(),
      QString::fromUtf8("均衡器旁路"));
  EXPECT_EQ(LoadLanguage(), Lang::kChinese);
  EXPECT_EQ(E().Language(), Lang::kChinese);

  W().SetLanguage(Lang::kEnglish, true);
  EXPECT_EQ(W().NavButton(0)->text(), "Music");
  EXPECT_EQ(W().FindMusicPage()->Binder().CaptionOf(music::kKeySlider)->text(), "Music Key");
  EXPECT_EQ(LoadLanguage(), Lang::kEnglish);
  W().SetLanguage(Lang::kChinese, false);  // re-applied only: nothing stored
  EXPECT_EQ(LoadLanguage(), Lang::kEnglish);
}

TEST_F(PanelWindowTest, ConnectingFillsTheMusicPageWithTheProcessorsValues) {
  EXPECT_EQ(W().FindMusicPage()->Model().State(), PageModel::kNoData);
  const QImage empty = W().FindMusicPage()->View().Frame().copy();
  ASSERT_TRUE(ConnectDemo());
  EXPECT_EQ(W().WaitOpenCount(), 1);
  EXPECT_EQ(W().WaitCloseCount(), 1);
  EXPECT_EQ(W().OpenWaitDialog(), nullptr);
  EXPECT_EQ(CountCode(W(), 63), 1);
  EXPECT_EQ(CountCode(W(), 64), 17);  // 937 bytes: sixteen chunks of 58 and one of 9

  const ParamImage& device = W().Demo().Processor().Current();
  auto& page = *W().FindMusicPage();
  const auto& c = page.Model().Controls();
  EXPECT_EQ(page.Model().State(), PageModel::kData);
  for (int k = 0; k < music::kEqBands; ++k) {
    const EqBand& band = device.set(kEqMusic)[k];
    EXPECT_EQ(c.Text(music::Column(k).gainEdit), FormatTenths(band.gain)) << k;
    EXPECT_EQ(c.Text(music::Column(k).freqEdit), FormatInt(band.freq)) << k;
    EXPECT_EQ(
        static_cast<ui::SkinSlider*>(page.Binder().Widget(music::Column(k).gainSlider))->GetPos(),
        240 - band.gain);
  }
  const auto readout = [&](int id) {
    return static_cast<QLabel*>(page.Binder().Widget(id))->text().toStdString();
  };
  EXPECT_EQ(readout(music::kKeyText), FormatReadout({ReadoutKind::kMusicKey}, device.byte(9)));
  EXPECT_EQ(readout(music::kGateText),
            FormatReadout({ReadoutKind::kDecibelsOrOff, 91}, device.byte(5)));
  EXPECT_EQ(static_cast<QLineEdit*>(page.Binder().Widget(music::kBtGainText))->text().toStdString(),
            FormatReadout({ReadoutKind::kSigned, 12}, device.byte(24)));
  EXPECT_EQ(static_cast<QLineEdit*>(page.Binder().Widget(music::kHpfEdit))->text().toStdString(),
            FormatInt(device.word(2)));
  EXPECT_NE(page.View().Frame(), empty);  // curves and markers drawn over the grid
  EXPECT_EQ(LabelText(topbar::kMusicValue), QString::number(device.byte(0)));
}

TEST_F(PanelWindowTest, TypedValuesOnTheMusicPageReachTheProcessor) {
  ASSERT_TRUE(ConnectDemo());
  auto* page = W().FindMusicPage();
  auto* gain = static_cast<QLineEdit*>(page->Binder().Widget(music::Column(3).gainEdit));
  gain->setFocus();
  gain->selectAll();
  QTest::keyClicks(gain, "24.04");
  QTest::keyClick(gain, Qt::Key_Return);
  EXPECT_EQ(gain->text(), "24.0");
  EXPECT_EQ(E().Image().set(kEqMusic)[3].gain, 240);
  gain->selectAll();
  QTest::keyClicks(gain, "24.05");
  QTest::keyClick(gain, Qt::Key_Return);
  EXPECT_EQ(gain->text(), "24.05");  // refused: the text stays, nothing changes

  auto* q = static_cast<QLineEdit*>(page->Binder().Widget(music::Column(3).qEdit));
  q->setFocus();
  q->selectAll();
  QTest::keyClicks(q, "0.3");
  QTest::keyClick(q, Qt::Key_Return);
  EXPECT_EQ(q->text(), "0.7");
  ASSERT_TRUE(Pump([this] { return !E().ReplyAwaited() && E().Pending().Empty(); }));
  const EqBand& sent = W().Demo().Processor().Current().set(kEqMusic)[3];
  EXPECT_EQ(sent.gain, 240);
  EXPECT_EQ(sent.q, 7);
  int bandFrames = 0;
  for (const auto& f : WireFrames(W())) {
    if (f.code != 3) continue;
    ++bandFrames;
    EXPECT_EQ(f.data[0], kMusicSetId);
    EXPECT_EQ(f.data[1], 3);
  }
  EXPECT_EQ(bandFrames, 2);
}

}  // namespace
}  // namespace tavelo
