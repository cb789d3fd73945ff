#pragma once
// The captions no catalogue row carries, by control id, so a page re-applies all its
// captions in one loop when the language changes: buttons, group titles, the output pages'
// caption statics and the system page's own fields. A control that shows a row's value is
// captioned by its row's label (PageBinder::ApplyLabels), never here. A binding either sets
// the control's own text or names the caption that belongs beside a control whose caption
// static has no id of its own.
#include <span>

#include "core/text/Labels.h"
#include "core/text/Lang.h"
#include "ui/pages/PageKind.h"

namespace tavelo::ui {

enum class LabelTarget : int {
  kOwnText,    // the control with this id shows the label
  kCaptionOf,  // the label captions the control with this id
};

struct LabelBinding {
  int controlId;
  Label label;
  LabelTarget target = LabelTarget::kOwnText;
  // Shown instead of `label` while the output pages display distances rather than delays
  // (the output display selector is non-zero); equal to `label` elsewhere.
  Label alternate = label;
};

std::span<const LabelBinding> PageLabels(nav::PageKind page);
// The top bar and the navigation row.
std::span<const LabelBinding> TopBarLabels();

// The binding of one control of a page, or null when the page binds no label to it.
const LabelBinding* FindLabelBinding(nav::PageKind page, int controlId);

// The text of that binding in `lang` (the alternate label when `alternate` is set), or null.
const char* LabelFor(nav::PageKind page, int controlId, Lang lang, bool alternate = false);

}  // namespace tavelo::ui
