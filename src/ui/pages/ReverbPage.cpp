#include "ui/pages/ReverbPage.h"

#include "ui/pages/ReverbPageTable.h"

namespace tavelo::ui {
namespace {

using namespace reverb;

constexpr std::array<EffectRowPlace, 6> kRows = {{
    {effect::kLevelSlider, effect::kLevelText, false, effect::kLevelSwitch, 0, 0},
    {kDecaySlider, kDecayText, false, kNoControl, 0, 1},
    {kPredelaySlider, kPredelayText, false, kNoControl, 0, 2},
    {kDirectSlider, kDirectText, false, kDirectSwitch, 0, 3},
    {effect::kLpfSlider, effect::kLpfEdit, true, kNoControl, 1, 0},
    {effect::kHpfSlider, effect::kHpfEdit, true, kNoControl, 1, 1},
}};

EffectLayout Layout() {
  EffectLayout layout;
  layout.labels = nav::PageKind::kReverb;
  layout.eqCaption = Label::kReverbEq;
  layout.paramCaption = Label::kReverbParameter;
  layout.rows = kRows;
  layout.quick = QuickSliders();
  layout.quickValues = &FrontPanel::reverbQuick;
  layout.adjustRow = 3;
  return layout;
}

}  // namespace

ReverbPage::ReverbPage(ParamImage& image, BlockPoster post, PageHost host, QSize size,
                       QWidget* parent)
    : EffectPage(Definition(), Layout(), image, std::move(post), std::move(host), size, parent) {
  setObjectName("ReverbPage");
  ApplyLanguage(Lang::kEnglish);
}

}  // namespace tavelo::ui
