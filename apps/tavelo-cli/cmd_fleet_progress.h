#pragma once
// Progress of a fleet command. On a terminal: one line, rewritten in place as rooms finish.
// Elsewhere (a log, a pipe): a plain line per finished room, so the record keeps each one.
#include <cstddef>
#include <ostream>
#include <string>

#include "cmd_fleet_runner.h"

namespace tavelo::cli {

class FleetProgress {
 public:
  FleetProgress(std::ostream* out, bool terminal, std::string command, std::size_t rooms);

  void Started();
  void Finished(const Room& room, const RoomEnd& end);
  // Clears the updating line, so what follows starts on a clean line.
  void Close();

 private:
  void Redraw();

  std::ostream* out_;
  bool terminal_;
  std::string command_;
  std::size_t rooms_;
  std::size_t working_ = 0;
  std::size_t done_ = 0;
  std::size_t failed_ = 0;
  std::size_t drawn_ = 0;  // length of the line on screen
};

// "ok: what was done" or "failed at connect: why": the words a room's log line ends in.
std::string DescribeEnd(const RoomEnd& end);

}  // namespace tavelo::cli
