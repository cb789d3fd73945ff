#pragma once
// Undo and redo of the panel's edits. Every edit writes the image and then sends a block;
// the history compares the image with what it held after the last recorded edit (its
// baseline) and keeps the rows that changed, with their values before and after, as one
// step. Edits made during one gesture (a drag from press to release, or everything one
// user action posted) make one step.
//
// Whatever changes the image without being an edit (a download, a preset load, the
// processor's own knobs, replies) must be followed by Rebase or Reset, so that it is not
// taken for part of the next edit.
//
// Undo writes the step's earlier values into the image and answers the plan of blocks
// that carries them to the processor, as the edit itself did; redo the same forwards.
#include <cstddef>
#include <deque>
#include <optional>
#include <vector>

#include "core/edits/SwitchPlan.h"

namespace tavelo {

struct EditStep {
  std::vector<RowId> rows;
  ParamImage before;
  ParamImage after;
};

class EditHistory {
 public:
  static constexpr std::size_t kDefaultDepth = 100;
  explicit EditHistory(std::size_t depth = kDefaultDepth) : depth_(depth) {}

  // Forgets every step; `image` is the new baseline (a download, a preset load).
  void Reset(const ParamImage& image);
  // `image` is the new baseline; the steps stay (the image changed by other means).
  void Rebase(const ParamImage& image);

  // Everything recorded until End joins one step.
  void Begin();
  void End();
  bool InGesture() const { return gesture_; }

  // An edit changed the image (and sent its block): the rows that differ from the
  // baseline join the open step or make a new one. A new step forgets the redo steps.
  void Recorded(const ParamImage& image);

  bool CanUndo() const { return !undo_.empty(); }
  bool CanRedo() const { return !redo_.empty(); }
  std::size_t UndoCount() const { return undo_.size(); }
  std::size_t RedoCount() const { return redo_.size(); }

  // The plan that takes the processor back over the last step (forward over the last
  // undone one), or nothing when there is none. Nothing is changed yet: when the plan
  // is one the caller can send, Commit writes the image and moves the step across.
  std::optional<SwitchPlan> PlanUndo(const ParamImage& image) const;
  std::optional<SwitchPlan> PlanRedo(const ParamImage& image) const;
  void CommitUndo(ParamImage& image, const SwitchPlan& plan);
  void CommitRedo(ParamImage& image, const SwitchPlan& plan);

 private:
  static ParamImage Target(const ParamImage& image, const EditStep& step, bool back);

  std::size_t depth_;
  std::deque<EditStep> undo_;
  std::vector<EditStep> redo_;
  std::optional<ParamImage> baseline_;
  bool gesture_ = false;
  bool stepOpen_ = false;  // the gesture's step exists and takes further rows
};

}  // namespace tavelo
