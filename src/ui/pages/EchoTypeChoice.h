#pragma once
// The echo type chosen on the echo page's list. The right-channel values differ by type,
// so a new type needs new values: a connected processor sends its own for that type (the
// page is laid out again when they arrive); without one the panel loads fixed defaults.
#include "core/params/Catalogue.h"

namespace tavelo {

enum class EchoTypeStep {
  kUnchanged,       // the type is the stored one: nothing to do
  kRefused,         // not an echo type: the list shows the stored one again
  kAskProcessor,    // stored; send `request` and lay the page out from the answer
  kDefaultsLoaded,  // stored with the defaults; lay the page out now, nothing is sent
};

struct EchoTypeOutcome {
  EchoTypeStep step = EchoTypeStep::kUnchanged;
  BlockRequest request;  // kAskProcessor: the echo type request
};

EchoTypeOutcome ChooseEchoType(ParamImage& image, int type, bool connected);

}  // namespace tavelo
