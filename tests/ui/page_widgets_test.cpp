// The music page's real widgets against its page rules: what a skinned slider shows must
// stay what the band or value holds, however the selection moves afterwards.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>
#include <utility>
#include <vector>

#include "support/page_driver.h"
#include "support/qt_app.h"
#include "ui/controls/SkinSlider.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/MusicPageTable.h"

namespace tavelo {
namespace {

class MusicPageWidgetsTest : public ::testing::Test {
 protected:
  MusicPageWidgetsTest() {
    test::QtApp();
    ApplyDefaults(image_);
    page_ = std::make_unique<ui::MusicPage>(image_, test::RecordPosts(posted_), QSize(1164, 610),
                                            nullptr);
    page_->Model().SetVrPresent([this] { return vr_; });
    page_->Refresh();
    posted_.clear();
  }

  ui::SkinSlider* Slider(int id) {
    return qobject_cast<ui::SkinSlider*>(page_->Binder().Widget(id));
  }
  static void Wheel(QWidget* widget, int delta) { test::Wheel(widget, delta); }
  const EqBand& Band(int k) const { return image_.set(kEqMusic)[k]; }

  ParamImage image_;
  bool vr_ = false;
  std::vector<std::pair<int, int>> posted_;
  std::unique_ptr<ui::MusicPage> page_;
};

TEST_F(MusicPageWidgetsTest, GainSlidersKeepWhatTheUserSetWhenTheSelectionMoves) {
  ui::SkinSlider* slider3 = Slider(music::Column(3).gainSlider);
  ASSERT_NE(slider3, nullptr);
  const int start = slider3->GetPos();
  ASSERT_EQ(start, 240 - Band(3).gain);

  // Two notches over the slider of a band that is not selected: +0.2 dB.
  Wheel(slider3, 120);
  Wheel(slider3, 120);
  EXPECT_EQ(page_->Model().Selected(), 3);
  EXPECT_EQ(Band(3).gain, 240 - (start - 2));
  EXPECT_EQ(slider3->GetPos(), start - 2);
  EXPECT_EQ(posted_, (std::vector<std::pair<int, int>>{{3, 3 * 256 + 2}, {3, 3 * 256 + 2}}));

  // Selecting another band takes the highlight away but must not move the thumb back.
  page_->Model().FocusGained(music::Column(4).qEdit);
  EXPECT_EQ(page_->Model().Selected(), 4);
  EXPECT_EQ(slider3->GetPos(), start - 2);
  EXPECT_EQ(slider3->GetPos(), 240 - Band(3).gain);
}

TEST_F(MusicPageWidgetsTest, ATypeChangeCommitsTheQAsItStandsInTheEdit) {
  const auto& col = music::Column(2);
  page_->Model().EditReturn(col.qEdit, "1.0");
  ASSERT_EQ(Band(2).q, 10);
  auto* q = qobject_cast<QLineEdit*>(page_->Binder().Widget(col.qEdit));
  ASSERT_NE(q, nullptr);
  // Typed without Return, then the band becomes a shelf: 3.0 is too much for one.
  q->selectAll();
  QTest::keyClicks(q, "3.0");
  QTest::mouseClick(page_->Binder().Widget(col.typeButtons[kBandLowShelf]), Qt::LeftButton);
  EXPECT_EQ(Band(2).type, kBandLowShelf);
  EXPECT_EQ(Band(2).q, 7);
  EXPECT_EQ(q->text().toStdString(), "0.7");

  // Typed garbage is replaced when the stored value is shown again, even an unchanged one.
  q->selectAll();
  QTest::keyClicks(q, "x");
  page_->Refresh();
  EXPECT_EQ(q->text().toStdString(), "0.7");
}

TEST_F(MusicPageWidgetsTest, ToneSlidersOwnedByTheProcessorSpringBack) {
  ui::SkinSlider* bass = Slider(music::kBassSlider);
  ASSERT_NE(bass, nullptr);
  vr_ = true;
  image_.toneGroups[0][1].gain = -30;  // the processor's bass knob
  page_->Refresh();
  ASSERT_EQ(bass->GetPos(), 210);
  Wheel(bass, 120);  // the user's move is refused: the thumb shows the knob again
  EXPECT_TRUE(posted_.empty());
  EXPECT_EQ(bass->GetPos(), 210);
}

}  // namespace
}  // namespace tavelo
