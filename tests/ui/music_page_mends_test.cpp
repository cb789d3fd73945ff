// The music page, its skinned controls and the main window, driven the way a user does:
// real mouse presses, drags and releases, key strokes and wheel turns. Each case holds a
// fault that was found by trying the panel against its own rules.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <QWindow>
#include <utility>
#include <vector>

#include "support/page_driver.h"
#include "support/qt_app.h"
#include "ui/app/TopBarRules.h"
#include "ui/controls/SkinButton.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/controls/SkinSlider.h"
#include "ui/dialogs/WaitDialog.h"
#include "ui/graph/GraphLayout.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/MusicPageTable.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

// The music page inside a window of its own, with a line edit outside the page that can
// take the keyboard focus away from it.
class MusicPageMends : public ::testing::Test {
 protected:
  MusicPageMends() {
    ApplyDefaults(image_);
    window_.resize(1180, 680);
    outside_ = new QLineEdit(&window_);
    outside_->setGeometry(0, 640, 100, 20);
    page_ = new ui::MusicPage(image_, test::RecordPosts(posted_), QSize(1164, 610), &window_);
    page_->Model().SetVrPresent([this] { return vr_; });
    page_->Refresh();
    page_->Model().SetState(PageModel::kData);
    page_->Refresh();
    window_.show();
    QApplication::setActiveWindow(&window_);
    posted_.clear();
  }

  QWidget* W(int id) { return page_->Binder().Widget(id); }
  ui::SkinSlider* Slider(int id) { return qobject_cast<ui::SkinSlider*>(W(id)); }
  QLineEdit* Edit(int id) { return qobject_cast<QLineEdit*>(W(id)); }
  EqBand& Band(int k) { return image_.set(kEqMusic)[k]; }
  static void Wheel(QWidget* target, int delta) { test::Wheel(target, delta); }

  QApplication& app_ = test::QtApp();  // before any widget member
  ParamImage image_;
  bool vr_ = false;
  std::vector<std::pair<int, int>> posted_;
  QWidget window_;
  QLineEdit* outside_ = nullptr;
  ui::MusicPage* page_ = nullptr;
};

TEST_F(MusicPageMends, ACoarseSliderThumbFollowsTheMouseAndTheValueSnaps) {
  ui::SkinSlider* key = Slider(music::kKeySlider);
  ASSERT_NE(key, nullptr);
  ASSERT_EQ(key->GetPos(), image_.byte(9));
  const int start = key->Model().ThumbPos();
  const QPoint grab(start + key->Model().ThumbLength() / 2, key->height() / 2);
  QTest::mousePress(key, Qt::LeftButton, Qt::NoModifier, grab);
  for (int dx = 4; dx <= 32; dx += 4) QTest::mouseMove(key, grab + QPoint(dx, 0));
  EXPECT_EQ(key->Model().ThumbPos(), start + 32);  // not ahead of the mouse
  const int value = key->Model().ValueOfPosition(start + 32);
  EXPECT_EQ(key->GetPos(), value);
  EXPECT_EQ(image_.byte(9), value);
  QTest::mouseRelease(key, Qt::LeftButton, Qt::NoModifier, grab + QPoint(32, 0));
  // Let go, the thumb rests where the value it chose is drawn.
  EXPECT_EQ(key->Model().ThumbPos(), key->Model().PositionOfValue(value));
}

TEST_F(MusicPageMends, TheWheelStepsTheEditWithTheFocusNotTheOneUnderThePointer) {
  const auto& focused = music::Column(1);
  const auto& under = music::Column(3);
  const int f1 = Band(1).freq, f3 = Band(3).freq;
  Edit(focused.freqEdit)->setFocus();
  ASSERT_TRUE(Edit(focused.freqEdit)->hasFocus());
  Wheel(Edit(under.freqEdit), 120);
  EXPECT_EQ(Band(1).freq, f1 + 1);
  EXPECT_EQ(Band(3).freq, f3);
  EXPECT_EQ(Edit(under.freqEdit)->text().toInt(), f3);
}

TEST_F(MusicPageMends, AGraphClickOnOverlappingMarkersAsksTheRealKeyboardFocus) {
  Band(2) = Band(0);  // markers 0 and 2 on the same spot
  page_->Refresh();
  Slider(music::Column(2).gainSlider)->setFocus();
  ASSERT_EQ(page_->Model().Selected(), 2);
  outside_->setFocus();  // the focus leaves the page; band 2 stays selected
  ASSERT_TRUE(outside_->hasFocus());
  const QPoint marker = ui::BandPointOf(page_->View().Geometry(), Band(0));
  QTest::mouseClick(page_->Graph(), Qt::LeftButton, Qt::NoModifier, marker);
  EXPECT_EQ(page_->Model().Selected(), 0);  // the lower index wins

  // With band 2's slider really holding the focus, band 2 keeps the click.
  Slider(music::Column(2).gainSlider)->setFocus();
  QTest::mouseClick(page_->Graph(), Qt::LeftButton, Qt::NoModifier, marker);
  EXPECT_EQ(page_->Model().Selected(), 2);
}

TEST_F(MusicPageMends, TypeButtonsAndSlopeListsSelectTheirBand) {
  const auto& col = music::Column(4);
  QTest::mouseClick(W(col.typeButtons[Band(4).type]), Qt::LeftButton);  // the type it has
  EXPECT_EQ(page_->Model().Selected(), 4);
  page_->Model().ListChanged(music::kHpfList, image_.byte(7));  // the slope it has
  EXPECT_EQ(page_->Model().Selected(), music::kHighPassBand);
  page_->Model().ListChanged(music::kLpfList, image_.byte(8));
  EXPECT_EQ(page_->Model().Selected(), music::kLowPassBand);
  EXPECT_TRUE(posted_.empty());
}

TEST_F(MusicPageMends, SlopeListsTakeOnlyTheirOwnEntries) {
  const int stored = image_.byte(7);
  page_->Model().ListChanged(music::kHpfList, 8);
  page_->Model().ListChanged(music::kHpfList, -1);
  EXPECT_EQ(image_.byte(7), stored);
  EXPECT_TRUE(posted_.empty());
  EXPECT_EQ(page_->Model().Controls().Index(music::kHpfList), stored);
  auto* list = qobject_cast<ui::SkinComboBox*>(W(music::kHpfList));
  list->setFocus();
  QTest::keyClicks(list, "butter");
  QTest::keyClick(list, Qt::Key_Return);
  EXPECT_EQ(list->count(), kSlopeCount);
  EXPECT_EQ(image_.byte(7), stored);
}

TEST_F(MusicPageMends, ButtonCaptionsAlignAsTheirKind) {
  const auto& col = music::Column(0);
  for (int id : col.typeButtons)
    EXPECT_EQ(qobject_cast<ui::SkinButton*>(W(id))->Align(), ui::kAlignRight);
  EXPECT_EQ(qobject_cast<ui::SkinButton*>(W(music::kBypassButton))->Align(), ui::kAlignLeft);
  EXPECT_EQ(qobject_cast<ui::SkinButton*>(W(music::kResetButton))->Align(), ui::kAlignCentre);
  EXPECT_EQ(qobject_cast<ui::SkinButton*>(W(music::kInputButtons[0]))->Align(), ui::kAlignCentre);
}

TEST_F(MusicPageMends, ANormalClickOpensASlopeListAndLeavesItOpen) {
  auto* list = qobject_cast<ui::SkinComboBox*>(W(music::kLpfList));
  // Through the window, as the desktop delivers them: the release goes to whatever holds
  // the mouse by then (the open list).
  QWindow* window = window_.windowHandle();
  const QPoint middle = list->mapTo(&window_, QPoint(list->width() / 2, list->height() / 2));
  QTest::mousePress(window, Qt::LeftButton, Qt::NoModifier, middle);
  QTest::mouseRelease(window, Qt::LeftButton, Qt::NoModifier, middle);
  QCoreApplication::processEvents();
  EXPECT_TRUE(list->view()->isVisible());
  EXPECT_TRUE(list->Pressed());
  list->hidePopup();
  EXPECT_FALSE(list->Pressed());
}

// ---- the main window -------------------------------------------------------------------

class PanelMends : public ::testing::Test, public test::PanelFixture {
 protected:
  void SetUp() override {
    W().show();
    QApplication::setActiveWindow(&W());
  }
  ui::MusicPage* Music() { return W().FindMusicPage(); }
  QWidget* PageControl(int id) { return Music()->Binder().Widget(id); }
};

TEST_F(PanelMends, PagesShowTheDefaultsBeforeAnyConnection) {
  EXPECT_EQ(Music()->Model().State(), PageModel::kNoData);
  const EqBand* bands = E().Image().set(kEqMusic);
  for (int k = 0; k < music::kEqBands; ++k) {
    const auto& col = music::Column(k);
    EXPECT_EQ(qobject_cast<ui::SkinSlider*>(PageControl(col.gainSlider))->GetPos(),
              240 - bands[k].gain);
    EXPECT_EQ(qobject_cast<QLineEdit*>(PageControl(col.freqEdit))->text().toInt(), bands[k].freq);
    EXPECT_FALSE(qobject_cast<QLineEdit*>(PageControl(col.gainEdit))->text().isEmpty());
    EXPECT_FALSE(qobject_cast<QLineEdit*>(PageControl(col.qEdit))->text().isEmpty());
  }
  EXPECT_FALSE(qobject_cast<QLineEdit*>(PageControl(music::kHpfEdit))->text().isEmpty());
}

TEST_F(PanelMends, AFrontPanelChangeLeavesWhatTheUserIsTyping) {
  ASSERT_TRUE(ConnectDemo());
  const auto& col = music::Column(3);
  auto* freq = qobject_cast<QLineEdit*>(PageControl(col.freqEdit));
  freq->setFocus();
  freq->selectAll();
  QTest::keyClicks(freq, "5432");
  // The processor's knobs moved: the tone bands changed, nothing else.
  E().Image().toneGroups[0][1].gain = 35;
  W().OnFrontPanel(E().Panel());
  EXPECT_EQ(freq->text(), "5432");
  QTest::keyClick(freq, Qt::Key_Return);
  EXPECT_EQ(E().Image().set(kEqMusic)[3].freq, 5432);
}

TEST_F(PanelMends, TheEffectSliderRunsOverTheWholeEffectVolume) {
  auto* effect = qobject_cast<ui::SkinSlider*>(W().Control(topbar::kEffectSlider));
  ASSERT_NE(effect, nullptr);
  EXPECT_EQ(effect->Model().Max(), 99);
  W().Hotkey(3, true);
  E().Image().byte(img::kEffectVolume) = 98;
  W().Hotkey(3, true);
  EXPECT_EQ(effect->GetPos(), 99);
}

TEST_F(PanelMends, TheInputStatusIndicatorFollowsTheSelectedSourcesBit) {
  W().Demo().Processor().SetInputStatus(1u << 2);  // bit 2 belongs to source 2
  ASSERT_TRUE(ConnectDemo());
  QWidget* indicator = W().findChild<QWidget*>("inputStatus");
  ASSERT_NE(indicator, nullptr);
  auto* input = qobject_cast<ui::SkinComboBox*>(W().Control(1859));
  input->setCurrentIndex(2);
  emit input->activated(2);
  EXPECT_TRUE(indicator->isVisible());
  input->setCurrentIndex(3);
  emit input->activated(3);
  EXPECT_FALSE(indicator->isVisible());
}

TEST_F(PanelMends, EscapeLeavesTheWaitDialogUpUntilTheWorkEnds) {
  W().OnWaitOpen(WaitKind::kConnecting);
  ui::WaitDialog* wait = W().OpenWaitDialog();
  ASSERT_NE(wait, nullptr);
  QTest::keyClick(wait, Qt::Key_Escape);
  Settle();
  EXPECT_EQ(W().OpenWaitDialog(), wait);
  EXPECT_TRUE(wait->isVisible());
  W().OnWaitClose();
  Settle();
  EXPECT_EQ(W().OpenWaitDialog(), nullptr);
}

}  // namespace
}  // namespace tavelo
