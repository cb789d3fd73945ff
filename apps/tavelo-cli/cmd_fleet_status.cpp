// tavelo-cli fleet status: what every room's processor reports about itself.
#include <iostream>

#include "Command.h"
#include "cmd_device_panel.h"
#include "cmd_fleet.h"
#include "core/fleet/TextTable.h"

namespace tavelo::cli {
namespace {

struct RoomStatus {
  int protocolVersion = -1;
  int preset = 0;          // 1..10
  std::string presetName;  // as the processor holds it
  bool lock = false;
  int adminMode = 0;
};

class StatusWork : public FleetWork {
 public:
  explicit StatusWork(std::size_t rooms) : status_(rooms) {}

  std::optional<RoomEnd> Start(std::size_t room, RoomLink& link) override {
    const Engine& engine = link.engine();
    RoomStatus& s = status_[room];
    s.protocolVersion = engine.ProtocolVersion();
    s.preset = engine.CurrentPreset() + 1;
    s.presetName = PresetNameText(engine.Image().name);
    s.lock = engine.LockState();
    s.adminMode = engine.AdminMode();
    return RoomEnd{true, {}, "preset " + std::to_string(s.preset) + " " + ShownName(s.presetName)};
  }

  const RoomStatus& Of(std::size_t room) const { return status_[room]; }

 private:
  std::vector<RoomStatus> status_;
};

std::string Address(const Room& room) {
  return room.host + ":" + std::to_string(room.port);
}

// The same names `status --json` gives the one processor.
std::string AsJson(const std::vector<Room>& rooms, const std::vector<RoomEnd>& ends,
                   const StatusWork& work) {
  std::vector<std::string> items;
  for (std::size_t i = 0; i < rooms.size(); ++i) {
    const RoomStatus& s = work.Of(i);
    JsonObject json = RoomJson(rooms[i]);
    json.Bool("reachable", ends[i].ok);
    if (ends[i].ok) {
      json.Number("protocol_version", s.protocolVersion)
          .Number("current_preset", s.preset)
          .Text("preset_name", s.presetName)
          .Bool("lock", s.lock)
          .Number("admin_mode", s.adminMode);
    } else {
      json.Text("error", ends[i].detail);
    }
    items.push_back(json.Str());
  }
  return JsonLines(items);
}

std::string AsTable(const std::vector<Room>& rooms, const std::vector<RoomEnd>& ends,
                    const StatusWork& work) {
  std::vector<std::vector<std::string>> rows = {
      {"ROOM", "ADDRESS", "REACHABLE", "VERSION", "PRESET", "LOCK", "ADMIN"}};
  for (std::size_t i = 0; i < rooms.size(); ++i) {
    const RoomStatus& s = work.Of(i);
    if (ends[i].ok) {
      rows.push_back({RoomCell(rooms[i]), Address(rooms[i]), "yes",
                      std::to_string(s.protocolVersion),
                      std::to_string(s.preset) + " " + ShownName(s.presetName),
                      s.lock ? "on" : "off", std::to_string(s.adminMode)});
    } else {
      rows.push_back({RoomCell(rooms[i]), Address(rooms[i]), "no", ends[i].detail});
    }
  }
  return FormatTable(rows);
}

}  // namespace

int RunFleetStatus(const FleetArgs& fleet) {
  StatusWork work(fleet.rooms.size());
  const auto ends = RunFleet(fleet.rooms, work, fleet.options);
  std::cout << (fleet.json ? AsJson(fleet.rooms, ends, work) : AsTable(fleet.rooms, ends, work))
            << std::flush;
  return FleetExit(ends);
}

}  // namespace tavelo::cli
