#include "ui/pages/EchoPage.h"

#include <QComboBox>

#include "core/text/Texts.h"
#include "ui/pages/EchoPageTable.h"
#include "ui/pages/EchoTypeChoice.h"

namespace tavelo::ui {
namespace {

using namespace echo;

constexpr std::array<EffectRowPlace, 11> kRows = {{
    {effect::kLevelSlider, effect::kLevelText, false, effect::kLevelSwitch, 0, 0},
    {kDelaySlider, kDelayText, false, kNoControl, 0, 1},
    {kRepeatSlider, kRepeatText, false, kNoControl, 0, 2},
    {kLeftPredelaySlider, kLeftPredelayText, false, kNoControl, 0, 3},
    {kDirectSlider, kDirectText, false, kDirectSwitch, 0, 4},
    {effect::kLpfSlider, effect::kLpfEdit, true, kNoControl, 0, 5},
    {effect::kHpfSlider, effect::kHpfEdit, true, kNoControl, 0, 6},
    {kRightDelaySlider, kRightDelayText, false, kNoControl, 1, 0},
    {kRightPredelaySlider, kRightPredelayText, false, kNoControl, 1, 1},
    {kRightRepeatSlider, kRightRepeatText, false, kNoControl, 1, 2},
    {kRightLevelSlider, kRightLevelText, false, kRightLevelSwitch, 1, 3},
}};
constexpr int kTypeRow = 7;  // column 0

EffectLayout Layout() {
  EffectLayout layout;
  layout.labels = nav::PageKind::kEcho;
  layout.eqCaption = Label::kEchoEq;
  layout.paramCaption = Label::kEchoParameter;
  layout.rows = kRows;
  layout.quick = QuickSliders();
  layout.quickValues = &FrontPanel::echoQuick;
  layout.adjustRow = 5;
  return layout;
}

QStringList TypeNames() {
  QStringList names;
  for (std::string_view name : RowOf(row::kEchoType).choices)
    names << QString::fromUtf8(name.data(), static_cast<qsizetype>(name.size()));
  return names;
}

}  // namespace

EchoPage::EchoPage(ParamImage& image, BlockPoster post, PageHost host, QSize size, QWidget* parent)
    : EffectPage(Definition(), Layout(), image, post, std::move(host), size, parent),
      image_(image),
      post_(std::move(post)) {
  setObjectName("EchoPage");
  Binder().Caption(CaptionRect(0, kTypeRow), {}, kTypeList);
  QRect list = ControlRect(0, kTypeRow);
  list.setHeight(22);
  Binder().List(kTypeList, list, TypeNames());
  Model().onListChosen = [this](int id, int index) { return TypeChosen(id, index); };
  ApplyLanguage(Lang::kEnglish);
}

void EchoPage::ApplyLanguage(Lang lang) {
  EffectPage::ApplyLanguage(lang);
  // The list's entries in the user's words; the index stays the stored type.
  auto* list = qobject_cast<QComboBox*>(Binder().Widget(kTypeList));
  if (!list) return;
  const auto names = EchoTypeTexts();
  for (int i = 0; i < list->count() && i < static_cast<int>(names.size()); ++i)
    list->setItemText(i, QString::fromUtf8(Text(names[static_cast<std::size_t>(i)], lang)));
}

bool EchoPage::TypeChosen(int id, int index) {
  if (id != kTypeList) return false;
  const EchoTypeOutcome outcome = ChooseEchoType(image_, index, Host().Connected());
  ControlStore& controls = Model().Controls();
  switch (outcome.step) {
    case EchoTypeStep::kUnchanged:
    case EchoTypeStep::kRefused:
      controls.SetIndex(id, ReadValue(image_, RowOf(row::kEchoType)));
      controls.Resend(id);
      break;
    case EchoTypeStep::kAskProcessor:
      // The layout follows the processor's answer, which brings the type's values.
      controls.SetIndex(id, index);
      if (post_) post_(outcome.request);
      break;
    case EchoTypeStep::kDefaultsLoaded:
      Refresh();
      break;
  }
  return true;
}

}  // namespace tavelo::ui
