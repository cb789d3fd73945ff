#pragma once
// A mass upload under way: the files it writes, which one goes next and the report of every
// slot's state. File i goes into slot i; the run takes the last file first.
//
// Contract:
//   Begin() starts a run over at most kMassUploadMaxFiles files and returns the index of
//   the first file to write; NextFile() gives the following ones until none is left.
//   MarkSlot() moves a slot's state in the report (true when the report changed, so the
//   observer is told); StopReport() closes a report that did not finish. End() forgets
//   the run. Nothing here reads files, sends or observes.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/engine/MassUploadReport.h"

namespace tavelo {

inline constexpr std::size_t kMassUploadMaxFiles = 10;

class MassUploadRun {
 public:
  int Begin(const std::vector<std::string>& files, bool factory);
  std::optional<int> NextFile();
  const std::string* FileAt(int index) const;

  bool MarkSlot(int slot, MassSlotState state);
  // True when a report was open (it is closed now, not complete).
  bool StopReport();
  void End() {
    running_ = false;
    factory_ = false;
  }

  bool Running() const { return running_; }
  // A reset of all presets holds the run flag up until its recall has been done, so the
  // caller sees the whole reset as one run.
  void SetRunning(bool running) { running_ = running; }
  bool Factory() const { return factory_; }
  const MassUploadReport& Report() const { return report_; }

 private:
  bool running_ = false;
  bool factory_ = false;
  int remaining_ = 0;
  std::vector<std::string> files_;
  MassUploadReport report_;
};

}  // namespace tavelo
