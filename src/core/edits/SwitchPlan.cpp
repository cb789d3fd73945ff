#include "core/edits/SwitchPlan.h"

#include <algorithm>

#include "core/edits/RowValues.h"

namespace tavelo {
namespace {

void AddOnce(std::vector<BlockRequest>& requests, const BlockRequest& request) {
  if (std::find(requests.begin(), requests.end(), request) == requests.end())
    requests.push_back(request);
}

}  // namespace

SwitchPlan PlanSwitch(const ParamImage& current, const ParamImage& target) {
  SwitchPlan plan;
  plan.changed = ChangedRows(current, target);
  // The requests read the image they are sent from, so they are formed against the image
  // as it will be: the current one with every changed row taken from the target.
  ParamImage after = current;
  for (RowId id : plan.changed) CopyRow(target, after, RowOf(id));

  const CatalogueRow& mode = RowOf(row::kAppMode);
  if (RowDiffers(current, target, mode)) {
    plan.modeChange = true;
    plan.requests.push_back(RequestFor(after, mode));
  }
  for (RowId id : plan.changed) {
    const CatalogueRow& r = RowOf(id);
    const Carry carry = CanCarry(after, r);
    if (carry == Carry::kOk)
      AddOnce(plan.requests, RequestFor(after, r));
    else
      plan.uncarried.push_back({id, carry});
  }
  return plan;
}

void ApplySwitch(ParamImage& image, const ParamImage& target, const SwitchPlan& plan,
                 bool includeUncarried) {
  for (RowId id : plan.changed) {
    const bool carried = std::none_of(plan.uncarried.begin(), plan.uncarried.end(),
                                      [id](const UncarriedRow& u) { return u.row == id; });
    if (carried || includeUncarried) CopyRow(target, image, RowOf(id));
  }
}

}  // namespace tavelo
