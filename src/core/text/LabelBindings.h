#pragma once
// Which label each window shows on which control, so a window re-applies all its captions
// in one loop when the language changes. A binding either sets the control's own text
// (buttons, caption statics) or names the caption that belongs beside a control whose
// caption static has no id of its own (the sliders and lists of the effect pages).
#include <span>

#include "core/text/Labels.h"
#include "core/text/Lang.h"

namespace tavelo {

enum class LabelWindow : int {
  kMain,
  kMusic,
  kMic,
  kReverb,
  kEcho,
  kMainOutput,
  kSurround,
  kCentre,
  kSubwoofer,
  kSystem,
  kBoost,
};

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

std::span<const LabelBinding> LabelBindings(LabelWindow window);

// The binding of one control of a window, or null when the window binds no label to it.
const LabelBinding* FindLabelBinding(LabelWindow window, int controlId);

// The text of that binding in `lang` (the alternate label when `alternate` is set), or null.
const char* LabelFor(LabelWindow window, int controlId, Lang lang, bool alternate = false);

}  // namespace tavelo
