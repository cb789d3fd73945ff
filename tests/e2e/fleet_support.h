#pragma once
// A tavelo-sim serving many processors (--count) on ports the system picks, and the
// inventory that names them, for the fleet commands' end-to-end tests.
#include <QProcess>
#include <QStringList>
#include <memory>
#include <string>
#include <vector>

#include "e2e_support.h"

namespace tavelo::e2e {

class FleetSim {
 public:
  FleetSim(int count, const QStringList& extraArgs = {});
  ~FleetSim();
  FleetSim(const FleetSim&) = delete;
  FleetSim& operator=(const FleetSim&) = delete;

  bool Started() const { return !ports_.empty(); }
  const std::vector<int>& Ports() const { return ports_; }
  // Everything the simulator printed so far.
  std::string Output();

 private:
  std::unique_ptr<QProcess> process_;
  std::string output_;
  std::vector<int> ports_;
};

// "room-00".."room-NN": the name the inventories give processor k.
std::string RoomName(int k);

// An inventory naming processor k as RoomName(k) at 127.0.0.1, plus `extraLines`; its path.
std::filesystem::path WriteInventory(const TempFolder& folder, const std::string& name,
                                     const std::vector<int>& ports,
                                     const std::string& extraLines = {});

// The rows of a fleet command's table whose first cell is the room's name, first row
// only, cells split at runs of two or more spaces.
std::vector<std::string> TableRow(const std::string& out, const std::string& room);

}  // namespace tavelo::e2e
