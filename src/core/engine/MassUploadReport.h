#pragma once
// What a mass upload has done to the processor's slots so far. A run that stops half way
// leaves some slots with new presets, one possibly half written and the rest untouched;
// the user needs to know which, so the report keeps each slot's state as the upload moves.
#include <string>
#include <vector>

#include "core/text/Lang.h"

namespace tavelo {

enum class MassSlotState {
  kNotReached,  // unchanged: its upload never started
  kInProgress,  // its upload started and was not confirmed: may hold a mix
  kWritten,     // the processor confirmed it
};

struct MassSlotReport {
  int slot = 0;      // 0..9 (user mode or factory preset slot + 1 as the user counts)
  std::string file;  // the file's name, as given
  MassSlotState state = MassSlotState::kNotReached;
  friend bool operator==(const MassSlotReport&, const MassSlotReport&) = default;
};

struct MassUploadReport {
  bool factory = false;                 // the factory presets, not the user modes
  bool running = false;                 // the upload is under way
  bool complete = false;                // every slot was written
  std::vector<MassSlotReport> entries;  // slot order, slot 0 first

  // The slots in a state, in the order the upload takes them (the last slot first).
  std::vector<int> SlotsIn(MassSlotState state) const;
  friend bool operator==(const MassUploadReport&, const MassUploadReport&) = default;
};

// Three lines a user can act on: written, in progress, not reached, numbered as the user
// counts slots (1..10). Names from files are not included: the numbers say it all.
std::string DescribeMassUpload(const MassUploadReport& report, Lang lang);

}  // namespace tavelo
