#pragma once
// Moving the processor from the image it holds to another one by block requests alone:
// for every row whose value differs, the request that carries it, each block once, the
// application mode first when it changes (the output sets are addressed through the
// processor's mode). Used by the A/B switch and by undo and redo.
//
// A value no block can carry in the target's mode (the preset name, fields only PC files
// hold, an output set that travels only while another mode is on) is listed, never
// skipped in silence: the caller decides with the user.
#include <vector>

#include "core/params/Catalogue.h"

namespace tavelo {

struct UncarriedRow {
  RowId row{};
  Carry why = Carry::kNotCarried;  // kNotCarried, kNeedsSing or kNeedsOtherThanSing
};

struct SwitchPlan {
  std::vector<RowId> changed;           // every differing row, catalogue order
  std::vector<BlockRequest> requests;   // to post in this order
  std::vector<UncarriedRow> uncarried;  // differing rows no request can carry now
  bool modeChange = false;              // requests[0] is the application mode's

  bool Empty() const { return changed.empty(); }
  bool Complete() const { return uncarried.empty(); }
};

// The requests that make a processor holding `current` hold `target`. The requests are
// built from the image as it will stand after ApplySwitch.
SwitchPlan PlanSwitch(const ParamImage& current, const ParamImage& target);

// Writes the target's values of the rows the plan carries into `image` (all changed rows
// with `includeUncarried`), so the image says what the processor holds once the requests
// have gone out.
void ApplySwitch(ParamImage& image, const ParamImage& target, const SwitchPlan& plan,
                 bool includeUncarried);

}  // namespace tavelo
