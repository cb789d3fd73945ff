// Mouse editing on the music page's graph, through the page and on to the processor.
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "ui/controls/SkinSlider.h"
#include "ui/pages/MusicPage.h"
#include "ui/pages/MusicPageTable.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

constexpr int kMusicSetId = 2;  // the music band set in band arguments

using test::CountCode;
using test::WireFrames;

class PageGraphDragTest : public ::testing::Test, public test::PanelFixture {
 protected:
  void SetUp() override {
    W().show();
    ASSERT_TRUE(ConnectDemo());
    page_ = W().FindMusicPage();
  }
  QPoint PointOf(int band) { return page_->View().BandPoint(page_->Model().Bands(), band); }
  const EqBand& Band(int band) { return page_->Model().Bands()[band]; }
  std::string Text(int id) { return page_->Model().Controls().Text(id); }
  bool Idle() { return !E().ReplyAwaited() && E().Pending().Empty(); }

  ui::MusicPage* page_ = nullptr;
};

TEST_F(PageGraphDragTest, MarkerDragPinsAtTheGraphLimits) {
  QWidget* graph = page_->Graph();
  const int right = graph->width() - 1;
  QTest::mousePress(graph, Qt::LeftButton, {}, PointOf(0));
  EXPECT_EQ(page_->Model().Selected(), 0);
  EXPECT_EQ(page_->Mouse().Drag(), ui::GraphDrag::kPoint);
  QTest::mouseMove(graph, QPoint(1, 1));
  EXPECT_EQ(Band(0).gain, 240);
  EXPECT_EQ(Band(0).freq, 20);
  EXPECT_EQ(Text(music::Column(0).gainEdit), "24.0");
  EXPECT_EQ(Text(music::Column(0).freqEdit), "20");
  EXPECT_EQ(page_->Model().Controls().Position(music::Column(0).gainSlider), 0);
  QTest::mouseMove(graph, QPoint(right, ui::kPageGraphHeight - 1));
  EXPECT_EQ(Band(0).gain, -240);
  EXPECT_EQ(Band(0).freq, 20000);
  QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(right, ui::kPageGraphHeight - 1));
  EXPECT_EQ(page_->Mouse().Drag(), ui::GraphDrag::kNone);

  ASSERT_TRUE(Pump([this] { return Idle(); }));
  EXPECT_EQ(W().Demo().Processor().Current().set(kEqMusic)[0], Band(0));
  for (const auto& f : WireFrames(W())) {
    if (f.code != 3) continue;
    EXPECT_EQ(f.data[0], kMusicSetId);
    EXPECT_EQ(f.data[1], 0);
  }
}

TEST_F(PageGraphDragTest, PassFilterFollowsInFrequencyOnly) {
  QWidget* graph = page_->Graph();
  const EqBand before = Band(music::kHighPassBand);
  QTest::mousePress(graph, Qt::LeftButton, {}, PointOf(music::kHighPassBand));
  EXPECT_EQ(page_->Model().Selected(), music::kHighPassBand);
  EXPECT_EQ(page_->focusWidget(), page_->Binder().Widget(music::kHpfSlider));
  const int x = page_->View().Geometry().ColumnOfFrequency(1000);
  QTest::mouseMove(graph, QPoint(x, 40));
  QTest::mouseRelease(graph, Qt::LeftButton, {}, QPoint(x, 40));
  EXPECT_NEAR(Band(music::kHighPassBand).freq, 1000, 40);
  EXPECT_EQ(Band(music::kHighPassBand).gain, before.gain);
  EXPECT_EQ(E().Image().word(2), Band(music::kHighPassBand).freq);
  EXPECT_EQ(Text(music::kHpfEdit), FormatInt(E().Image().word(2)));
}

TEST_F(PageGraphDragTest, QDragPinsAtFourTenthsAndAtTheTypesMaximum) {
  QWidget* graph = page_->Graph();
  const int right = graph->width() - 1;
  page_->Model().EditReturn(music::Column(1).freqEdit, "30");
  page_->Model().EditReturn(music::Column(1).gainEdit, "0");
  const QPoint p = PointOf(1);
  QTest::mousePress(graph, Qt::RightButton, {}, p);
  EXPECT_EQ(page_->Mouse().Drag(), ui::GraphDrag::kQ);
  QTest::mouseMove(graph, QPoint(right, p.y()));
  EXPECT_EQ(Band(1).q, 999);
  EXPECT_EQ(Text(music::Column(1).qEdit), "99.9");
  QTest::mouseMove(graph, QPoint(1, p.y()));
  EXPECT_EQ(Band(1).q, 4);
  QTest::mouseRelease(graph, Qt::RightButton, {}, QPoint(1, p.y()));

  page_->Model().ButtonClicked(music::Column(1).typeButtons[kBandHighShelf]);
  const QPoint shelf = PointOf(1);
  QTest::mousePress(graph, Qt::RightButton, {}, shelf);
  QTest::mouseMove(graph, QPoint(right, shelf.y()));
  QTest::mouseRelease(graph, Qt::RightButton, {}, QPoint(right, shelf.y()));
  EXPECT_EQ(Band(1).q, 20);
  EXPECT_EQ(Band(1).type, kBandHighShelf);
}

TEST_F(PageGraphDragTest, AClickOnNothingChangesNothing) {
  const ParamImage before = E().Image();
  const int selected = page_->Model().Selected();
  QTest::mousePress(page_->Graph(), Qt::LeftButton, {}, QPoint(3, 3));
  QTest::mouseMove(page_->Graph(), QPoint(400, 200));
  QTest::mouseRelease(page_->Graph(), Qt::LeftButton, {}, QPoint(400, 200));
  EXPECT_EQ(page_->Model().Selected(), selected);
  EXPECT_EQ(E().Image(), before);
}

TEST_F(PageGraphDragTest, DraggingKeepsAtMostOneBandRequestInFlight) {
  W().Demo().Processor().SetLatencyMs(30);
  const int before = CountCode(W(), 3);
  const QPoint start = PointOf(2);
  page_->GraphPress(Qt::LeftButton, start);
  // Sixty moves arrive faster than the processor answers.
  for (int i = 1; i <= 60; ++i) page_->GraphMove(QPoint(start.x() + i * 3, 60 + i));
  EXPECT_EQ(CountCode(W(), 3) - before, 1);  // the first is on the wire
  EXPECT_TRUE(E().ReplyAwaited());
  EXPECT_LE(E().Pending().Size(), 1);  // later moves share one pending request
  page_->GraphRelease(Qt::LeftButton, QPoint(start.x() + 180, 120));
  ASSERT_TRUE(Wait([this] { return Idle(); }));
  EXPECT_EQ(CountCode(W(), 3) - before, 2);  // and only the newest values follow
  EXPECT_EQ(W().Demo().Processor().Current().set(kEqMusic)[2], Band(2));
}

}  // namespace
}  // namespace tavelo
