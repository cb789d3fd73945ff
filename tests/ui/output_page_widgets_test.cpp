// The four output pages as real widgets, driven with the mouse, keys and the wheel: what a
// press or a typed value does to the image and which requests it posts; what the page
// shows in AUTO and while the output display selector is set; its frames and captions.
#include <gtest/gtest.h>

#include <QLabel>
#include <QTest>
#include <QWheelEvent>
#include <memory>
#include <utility>
#include <vector>

#include "support/page_driver.h"
#include "support/qt_app.h"
#include "ui/controls/SkinComboBox.h"
#include "ui/controls/SkinSlider.h"
#include "ui/pages/OutputPage.h"

namespace tavelo {
namespace {

using namespace output;
using test::Posts;

struct PageCase {
  const OutputPageSpec* table;
  const char* name;
  int channel;  // code-14 argument
  int lpfN;     // code-17 argument of the low-pass filter
  int lpfWord;  // its word in set 1
};

const PageCase kCases[] = {
    {&kMain, "main", 0, 5, 6},
    {&kSurround, "surround", 2, 9, 10},
    {&kCentre, "centre", 4, 13, 14},
    {&kSub, "sub", 5, 15, 18},
};

class OutputPageWidgets : public ::testing::TestWithParam<PageCase> {
 protected:
  void Open(int mode, int display = 0) {
    test::QtApp();
    ApplyDefaults(image_);
    image_.byte(img::kAppMode) = static_cast<std::uint8_t>(mode);
    image_.byte(img::kOutputDisplay) = static_cast<std::uint8_t>(display);
    page_ = std::make_unique<ui::OutputPage>(*GetParam().table, image_, test::RecordPosts(posted_),
                                             QSize(1164, 610), nullptr);
    page_->show();
    page_->ShowParameterSet();
    posted_.clear();
  }
  QWidget* W(int id) { return page_->Binder().Widget(id); }
  static void Wheel(QWidget* widget, int delta) { test::Wheel(widget, delta); }
  void Type(int id, const char* text) { test::TypeAndEnter(W(id), text); }

  ParamImage image_;
  Posts posted_;
  std::unique_ptr<ui::OutputPage> page_;
};

TEST_P(OutputPageWidgets, PressesAndTypedValuesReachTheImage) {
  Open(kModeSing);
  const PageCase& c = GetParam();

  Type(kLpfEdit, "10");  // outside 20..20000: the stored value comes back, nothing is sent
  EXPECT_EQ(qobject_cast<QLineEdit*>(W(kLpfEdit))->text().toInt(), image_.word(c.lpfWord));
  EXPECT_TRUE(posted_.empty());
  Type(kLpfEdit, "1500");
  EXPECT_EQ(image_.word(c.lpfWord), 1500);
  // A typed crossover is taken when the edit loses the focus as well.
  auto* hpf = qobject_cast<QLineEdit*>(W(kHpfEdit));
  hpf->setFocus();
  hpf->selectAll();
  QTest::keyClicks(hpf, "45");
  QFocusEvent leave(QEvent::FocusOut, Qt::TabFocusReason);
  QApplication::sendEvent(hpf, &leave);
  EXPECT_EQ(image_.word(c.lpfWord - 2), 45);
  EXPECT_EQ(qobject_cast<ui::SkinSlider*>(W(kLpfSlider))->GetPos(), 1500);

  QTest::mouseClick(W(kCompBypass), Qt::LeftButton);
  QTest::mouseClick(W(kLeftMute), Qt::LeftButton);
  QTest::mouseClick(W(kMusicMixOn), Qt::LeftButton);

  auto* list = qobject_cast<ui::SkinComboBox*>(W(kLpfList));
  ASSERT_NE(list, nullptr);
  const int slope = list->currentIndex();
  ASSERT_LT(slope, kSlopeLinkwitzRiley24);
  list->setFocus();
  QTest::keyClick(list, Qt::Key_Down);
  EXPECT_EQ(list->currentIndex(), slope + 1);

  Wheel(W(kMusicMix), 120);  // one step up on the slider itself

  EXPECT_EQ(posted_, (Posts{{17, c.lpfN},
                            {17, c.lpfN - 1},
                            {15, 0},
                            {15, 0},
                            {14, c.channel},
                            {17, c.lpfN},
                            {14, c.channel}}));
}

TEST_P(OutputPageWidgets, AutoLeavesOnlyTheSharedControlsLive) {
  Open(kModeAuto);
  EXPECT_FALSE(W(kLeftVolume)->isEnabled());
  for (int id : {kLpfList, kLpfSlider, kLpfEdit, kHpfSlider, kLeftVolumeOn, kMusicMixOn})
    EXPECT_FALSE(W(id)->isEnabled()) << id;
  EXPECT_FALSE(W(kEqBypass)->isEnabled());
  EXPECT_FALSE(W(output::Column(0).gainEdit)->isEnabled());
  EXPECT_TRUE(W(kCompRatio)->isEnabled());
  EXPECT_TRUE(W(kLeftDelay)->isEnabled());
  EXPECT_TRUE(W(kCompBypass)->isEnabled());

  // No edit through a greyed-out control, the wheel or the graph.
  const ParamImage before = image_;
  QTest::mouseClick(W(kEqReset), Qt::LeftButton);
  Wheel(W(output::Column(0).gainEdit), 120);
  Wheel(W(output::Column(0).gainSlider), 120);
  QWidget* graph = page_->Graph();
  const QPoint marker = graph->rect().center();
  QTest::mousePress(graph, Qt::LeftButton, {}, marker);
  QTest::mouseMove(graph, marker + QPoint(0, -40));
  QTest::mouseRelease(graph, Qt::LeftButton, {}, marker + QPoint(0, -40));
  for (int b = 0; b < page_->Table().eqBands + 2; ++b) {
    const EqBand& band = page_->Model().Bands()[b];
    QTest::mousePress(graph, Qt::LeftButton, {},
                      page_->View().BandPoint(page_->Model().Bands(), b));
    QTest::mouseMove(graph, QPoint(graph->width() - 60, 40));
    QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(graph->width() - 60, 40));
    EXPECT_EQ(page_->Model().Bands()[b], band);
  }
  EXPECT_EQ(image_, before);
  EXPECT_TRUE(posted_.empty());

  QTest::mouseClick(W(kLeftMute), Qt::LeftButton);
  EXPECT_EQ(posted_, (Posts{{15, 0}}));
}

TEST_P(OutputPageWidgets, ChangingTheModeWhileShownReloadsThePage) {
  Open(kModeSing);
  const EqSet second = static_cast<EqSet>(GetParam().table->firstSet + 1);
  image_.set(second)[0].gain = -90;
  image_.byte(img::kAppMode) = kModeDance;
  page_->AppModeChanged();
  auto* edit = qobject_cast<QLineEdit*>(W(output::Column(0).gainEdit));
  EXPECT_EQ(edit->text().toStdString(), "-9.0");
  EXPECT_TRUE(W(kLeftVolume)->isEnabled());
  image_.byte(img::kAppMode) = kModeAuto;
  page_->AppModeChanged();
  EXPECT_FALSE(W(kLeftVolume)->isEnabled());
}

TEST_P(OutputPageWidgets, QSpinsAreHiddenAndGroupsAreFramedWithTheirCaptions) {
  Open(kModeSing);
  for (int b = 0; b < page_->Table().eqBands; ++b) {
    QWidget* spin = W(output::Column(b).qSpin);
    ASSERT_NE(spin, nullptr);
    EXPECT_FALSE(spin->isVisible());
  }
  const char* const captions[] = {"EQ", "Output", "Mixer", "Comp", "Xover"};
  int i = 0;
  for (const Group& g : {kEqGroup, kOutputGroup, kMixerGroup, kCompGroup, kXoverGroup}) {
    const QRect frame = page_->FrameRect(g.frame);
    ASSERT_FALSE(frame.isEmpty()) << g.frame;
    EXPECT_TRUE(page_->rect().contains(frame)) << g.frame;
    QLabel* caption = page_->Static(g.caption);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->pos(), frame.topLeft() + QPoint(16, 2));
    EXPECT_EQ(caption->text().toStdString(), captions[i++]);
  }
  // The frame picture is on the page: a border pixel differs from the white face.
  const QImage shot = page_->grab().toImage();
  const QRect frame = page_->FrameRect(kMixerGroup.frame);
  EXPECT_NE(shot.pixel(frame.left() + 40, frame.top() + 1), QColor(Qt::white).rgb());
  EXPECT_NE(shot.pixel(frame.right() - 3, frame.center().y()), QColor(Qt::white).rgb());
}

TEST_P(OutputPageWidgets, DisplaySelectorShowsDistances) {
  Open(kModeSing, 1);
  const bool surround = GetParam().table == &kSurround;
  const bool stereo = HasRightChannel(*GetParam().table);
  EXPECT_EQ(page_->Static(kLeftDelayCaption)->text().toStdString(),
            stereo ? "L Distance" : "Distance");
  auto* delay = qobject_cast<ui::SkinSlider*>(W(kLeftDelay));
  EXPECT_EQ(page_->Model().Controls().Get(kLeftDelay).max, surround ? 150 : 50);
  ASSERT_NE(delay, nullptr);

  image_.byte(img::kOutputDisplay) = 0;
  page_->Refresh();
  EXPECT_EQ(page_->Static(kLeftDelayCaption)->text().toStdString(),
            stereo ? "L Delay" : "Output Delay");
  EXPECT_EQ(page_->Model().Controls().Get(kLeftDelay).max, 50);
  page_->ApplyLanguage(Lang::kChinese);
  EXPECT_EQ(page_->Static(kEqGroup.caption)->text().toStdString(), "均衡器");
}

INSTANTIATE_TEST_SUITE_P(Pages, OutputPageWidgets, ::testing::ValuesIn(kCases),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace tavelo
