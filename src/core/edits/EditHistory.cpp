#include "core/edits/EditHistory.h"

#include <algorithm>

#include "core/edits/RowValues.h"

namespace tavelo {

void EditHistory::Reset(const ParamImage& image) {
  undo_.clear();
  redo_.clear();
  stepOpen_ = false;
  baseline_ = image;
}

void EditHistory::Rebase(const ParamImage& image) {
  // An open gesture's step stays open: a status reply during a drag does not split it.
  baseline_ = image;
}

void EditHistory::Begin() {
  gesture_ = true;
  stepOpen_ = false;
}

void EditHistory::End() {
  gesture_ = false;
  stepOpen_ = false;
}

void EditHistory::Recorded(const ParamImage& image) {
  if (!baseline_) {
    // Nothing to compare with: this image is where the history starts.
    baseline_ = image;
    return;
  }
  const std::vector<RowId> rows = ChangedRows(*baseline_, image);
  if (rows.empty()) return;
  if (gesture_ && stepOpen_ && !undo_.empty()) {
    EditStep& step = undo_.back();
    for (RowId id : rows)
      if (std::find(step.rows.begin(), step.rows.end(), id) == step.rows.end())
        step.rows.push_back(id);
    step.after = image;
  } else {
    undo_.push_back({rows, *baseline_, image});
    if (undo_.size() > depth_) undo_.pop_front();
    stepOpen_ = gesture_;
  }
  redo_.clear();
  baseline_ = image;
}

ParamImage EditHistory::Target(const ParamImage& image, const EditStep& step, bool back) {
  ParamImage target = image;
  for (RowId id : step.rows) CopyRow(back ? step.before : step.after, target, RowOf(id));
  return target;
}

std::optional<SwitchPlan> EditHistory::PlanUndo(const ParamImage& image) const {
  if (undo_.empty()) return std::nullopt;
  return PlanSwitch(image, Target(image, undo_.back(), true));
}

std::optional<SwitchPlan> EditHistory::PlanRedo(const ParamImage& image) const {
  if (redo_.empty()) return std::nullopt;
  return PlanSwitch(image, Target(image, redo_.back(), false));
}

void EditHistory::CommitUndo(ParamImage& image, const SwitchPlan& plan) {
  if (undo_.empty()) return;
  ApplySwitch(image, Target(image, undo_.back(), true), plan, /*includeUncarried=*/true);
  redo_.push_back(std::move(undo_.back()));
  undo_.pop_back();
  baseline_ = image;
  stepOpen_ = false;
}

void EditHistory::CommitRedo(ParamImage& image, const SwitchPlan& plan) {
  if (redo_.empty()) return;
  ApplySwitch(image, Target(image, redo_.back(), false), plan, /*includeUncarried=*/true);
  undo_.push_back(std::move(redo_.back()));
  redo_.pop_back();
  baseline_ = image;
  stepOpen_ = false;
}

}  // namespace tavelo
