#include "ui/tools/AbSwitch.h"

#include "core/text/ToolTexts.h"

namespace tavelo::ui {

void AbSwitch::Store(Slot slot) {
  if (slot == kNone) return;
  slots_[slot] = engine_.Image();
  live_ = slot;
  if (hooks_.stored) hooks_.stored();
}

std::optional<SwitchPlan> AbSwitch::PlanToggle() const {
  if (!slots_[kA] || !slots_[kB]) return std::nullopt;
  return PlanSwitch(engine_.Image(), *slots_[Next()]);
}

void AbSwitch::Toggle() {
  const auto plan = PlanToggle();
  const Lang lang = engine_.Language();
  if (!plan) {
    if (hooks_.say) hooks_.say(Text(ToolText::kAbNeedsBoth, lang));
    return;
  }
  const Slot to = Next();
  if (plan->Complete()) {
    Send(to, true);
    return;
  }
  std::string names;
  for (const UncarriedRow& u : plan->uncarried) {
    if (!names.empty()) names += ", ";
    names += RowOf(u.row).name;
  }
  if (hooks_.ask)
    hooks_.ask(FormatText(ToolText::kAbUncarried, lang, names), [this, to] { Send(to, false); });
}

void AbSwitch::Send(Slot to, bool includeUncarried) {
  // Planned again: the image may have moved on while the question was up.
  const SwitchPlan now = PlanSwitch(engine_.Image(), *slots_[to]);
  ApplySwitch(engine_.Image(), *slots_[to], now, includeUncarried);
  for (const BlockRequest& r : now.requests) engine_.Post(r);
  live_ = to;
  if (hooks_.switched) hooks_.switched();
}

}  // namespace tavelo::ui
