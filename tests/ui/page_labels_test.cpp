// The caption tables against the pages as built: every binding names a control its page
// really has (the binder skips unknown ids without a word), and no binding restates the
// caption a control already takes from its catalogue row.
#include <gtest/gtest.h>

#include <set>

#include "core/params/Catalogue.h"
#include "ui/app/Navigation.h"
#include "ui/pages/OutputPage.h"
#include "ui/pages/PageLabels.h"
#include "ui/panel_test_env.h"

namespace tavelo {
namespace {

class PageLabelsTest : public ::testing::Test, public test::PanelFixture {};

bool PageHas(ui::Page& page, int id) {
  if (page.Binder().Widget(id) || page.Binder().CaptionOf(id)) return true;
  const auto* output = qobject_cast<ui::OutputPage*>(&page);
  return output && output->Static(id);
}

TEST_F(PageLabelsTest, EveryBindingNamesAControlOfItsPageAndNoneRestatesARow) {
  for (const nav::NavEntry& entry : nav::kNavTable) {
    ui::Page* page = W().PageWidget(entry.index);
    if (!page) continue;
    SCOPED_TRACE(entry.caption);
    std::set<int> rowCaptioned;
    for (const SliderRow& s : page->Model().Definition().sliders) {
      if (s.param != kNoRow && RowOf(s.param).label) rowCaptioned.insert(s.id);
    }
    for (const ListRow& l : page->Model().Definition().lists) {
      if (l.param != kNoRow && RowOf(l.param).label) rowCaptioned.insert(l.id);
    }
    std::set<int> ids;
    for (const ui::LabelBinding& b : ui::PageLabels(entry.page)) {
      EXPECT_TRUE(PageHas(*page, b.controlId)) << "no control " << b.controlId;
      EXPECT_TRUE(ids.insert(b.controlId).second) << "bound twice: " << b.controlId;
      if (b.target == ui::LabelTarget::kCaptionOf) {
        EXPECT_FALSE(rowCaptioned.count(b.controlId)) << "its row captions " << b.controlId;
      }
    }
  }
  for (const ui::LabelBinding& b : ui::TopBarLabels()) {
    EXPECT_NE(W().Control(b.controlId), nullptr) << b.controlId;
  }
}

TEST_F(PageLabelsTest, RowBackedControlsAreCaptionedByTheirRowInBothLanguages) {
  ui::Page* music = W().PageWidget(0);
  ASSERT_NE(music, nullptr);
  for (const Lang lang : {Lang::kChinese, Lang::kEnglish}) {
    music->ApplyLanguage(lang);
    for (const SliderRow& s : music->Model().Definition().sliders) {
      const QLabel* caption = music->Binder().CaptionOf(s.id);
      if (!caption || s.param == kNoRow || !RowOf(s.param).label) continue;
      EXPECT_EQ(caption->text().toStdString(), LabelText(*RowOf(s.param).label, lang)) << s.id;
    }
  }
}

TEST(PageLabels, OutputDelaysReadAsDistancesOnRequestAndMonoPagesHaveOneChannel) {
  using nav::PageKind;
  EXPECT_STREQ(ui::LabelFor(PageKind::kSurround, 1414, Lang::kEnglish, true), "R Distance");
  EXPECT_STREQ(ui::LabelFor(PageKind::kSurround, 1414, Lang::kEnglish, false), "R Delay");
  EXPECT_STREQ(ui::LabelFor(PageKind::kCentre, 1412, Lang::kChinese, true), "距离");
  // Without an alternate, asking for it gives the normal label.
  EXPECT_STREQ(ui::LabelFor(PageKind::kMainOutput, 1402, Lang::kEnglish, true), "L ch Vol");
  EXPECT_EQ(ui::FindLabelBinding(PageKind::kCentre, 1927), nullptr);
  EXPECT_EQ(ui::FindLabelBinding(PageKind::kCentre, 1406), nullptr);
}

}  // namespace
}  // namespace tavelo
