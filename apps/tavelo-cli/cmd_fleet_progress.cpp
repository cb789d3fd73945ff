#include "cmd_fleet_progress.h"

#include "cmd_fleet.h"

namespace tavelo::cli {

FleetProgress::FleetProgress(std::ostream* out, bool terminal, std::string command,
                             std::size_t rooms)
    : out_(out), terminal_(terminal), command_(std::move(command)), rooms_(rooms) {}

std::string DescribeEnd(const RoomEnd& end) {
  if (end.ok) return "ok: " + end.detail;
  return "failed at " + end.step + ": " + end.detail;
}

void FleetProgress::Started() {
  ++working_;
  if (terminal_) Redraw();
}

void FleetProgress::Finished(const Room& room, const RoomEnd& end) {
  if (working_ > 0) --working_;
  ++done_;
  if (!end.ok) ++failed_;
  if (!out_) return;
  if (terminal_) {
    Redraw();
    return;
  }
  *out_ << "[" << done_ << "/" << rooms_ << "] " << RoomCell(room) << ": " << DescribeEnd(end)
        << "\n"
        << std::flush;
}

void FleetProgress::Redraw() {
  if (!out_) return;
  std::string line = command_ + ": " + std::to_string(done_) + " of " + std::to_string(rooms_) +
                     " rooms done, " + std::to_string(failed_) + " failed, " +
                     std::to_string(working_) + " in progress";
  const std::size_t length = line.size();
  // Spaces over what is left of a longer line before.
  if (drawn_ > length) line.append(drawn_ - length, ' ');
  *out_ << "\r" << line << std::flush;
  drawn_ = length;
}

void FleetProgress::Close() {
  if (!out_ || !terminal_ || drawn_ == 0) return;
  *out_ << "\r" << std::string(drawn_, ' ') << "\r" << std::flush;
  drawn_ = 0;
}

}  // namespace tavelo::cli
