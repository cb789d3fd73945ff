// tavelo-cli fleet pull: every room's current preset saved as DIR/ROOM.
#include <iostream>

#include "Command.h"
#include "cmd_device_panel.h"
#include "cmd_fleet.h"
#include "fleet/RoomPreset.h"
#include "fleet/TextTable.h"
#include "presets/PresetFolder.h"

namespace tavelo::cli {
namespace {

class PullWork : public FleetWork {
 public:
  PullWork(const std::vector<Room>& rooms, std::filesystem::path dir)
      : rooms_(rooms), dir_(std::move(dir)) {}

  std::optional<RoomEnd> Prepare(std::size_t room) override {
    const std::string& name = rooms_[room].name;
    if (ValidatePcName(name) != PcNameCheck::kOk) {
      return RoomEnd{false, "file", ShownName(name) + " is not a usable file name on every system"};
    }
    return std::nullopt;
  }

  std::optional<RoomEnd> Start(std::size_t room, RoomLink& link) override {
    // Stored as a save from the panel stores it: printable, space padded, never raw NULs.
    const ParamImage image = FiledRoomImage(link.engine().Image());
    const FileResult saved = SaveParamFile(dir_, rooms_[room].name, image);
    if (!saved.ok) return RoomEnd{false, "save", saved.message};
    return RoomEnd{
        true, {}, (dir_ / rooms_[room].name).string() + ": " + ShownPresetName(image.name)};
  }

 private:
  const std::vector<Room>& rooms_;
  std::filesystem::path dir_;
};

}  // namespace

int RunFleetPull(const FleetArgs& fleet) {
  const std::filesystem::path dir = ResolveFileArg(fleet.args, fleet.args.positional[1]);
  if (!EnsurePresetFolder(dir)) {
    std::cerr << "tavelo-cli fleet pull: cannot use " << dir.string()
              << " as the folder for the presets: it cannot be created, or a file has its name\n";
    return kExitFailure;
  }
  PullWork work(fleet.rooms, dir);
  const auto ends = RunFleet(fleet.rooms, work, fleet.options);
  std::vector<std::vector<std::string>> rows = {{"ROOM", "RESULT", "DETAIL"}};
  int failed = 0;
  for (std::size_t i = 0; i < ends.size(); ++i) {
    const RoomEnd& end = ends[i];
    if (!end.ok) ++failed;
    rows.push_back(
        {ShownName(fleet.rooms[i].name), end.ok ? "saved" : "failed at " + end.step, end.detail});
  }
  std::cout << FormatTable(rows) << "fleet pull: " << ends.size() - static_cast<std::size_t>(failed)
            << " of " << ends.size() << " rooms saved into " << dir.string() << ", " << failed
            << " failed\n"
            << std::flush;
  return failed == 0 ? kExitOk : kExitFailure;
}

}  // namespace tavelo::cli
