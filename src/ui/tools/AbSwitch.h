#pragma once
// A/B: the current preset stored as A or as B, and a switch that moves the processor to
// the other one by sending only the blocks of the values that differ, so the change is
// heard at once (a whole preset upload takes seconds). Values no block can carry are put
// to the user before anything is sent.
#include <functional>
#include <optional>
#include <string>

#include "core/edits/SwitchPlan.h"
#include "core/engine/Engine.h"

namespace tavelo::ui {

class AbSwitch {
 public:
  enum Slot { kNone = -1, kA = 0, kB = 1 };
  struct Hooks {
    // The image was switched: every page and the top bar show it, the undo history starts
    // again.
    std::function<void()> switched;
    // A slot was stored (the toggle can now be used, or shows the live slot).
    std::function<void()> stored;
    // A question; `onYes` runs when the user agrees.
    std::function<void(const std::string& text, std::function<void()> onYes)> ask;
    std::function<void(const std::string& text)> say;
  };

  AbSwitch(Engine& engine, Hooks hooks) : engine_(engine), hooks_(std::move(hooks)) {}

  // Stores the current preset; the processor holds it now, so it is the live one.
  void Store(Slot slot);
  bool Stored(Slot slot) const { return slots_[slot].has_value(); }
  Slot Live() const { return live_; }
  // Switches to the slot that is not live (to A when neither is).
  void Toggle();
  // The plan Toggle would carry out now (for the caller's display and for tests).
  std::optional<SwitchPlan> PlanToggle() const;

 private:
  Slot Next() const { return live_ == kA ? kB : kA; }
  void Send(Slot to, bool includeUncarried);

  Engine& engine_;
  Hooks hooks_;
  std::optional<ParamImage> slots_[2];
  Slot live_ = kNone;
};

}  // namespace tavelo::ui
