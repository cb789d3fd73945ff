// tavelo-cli fleet pull: every room's current preset saved as DIR/ROOM.
#include <iostream>

#include "Command.h"
#include "cmd_device_panel.h"
#include "cmd_fleet.h"
#include "core/fleet/RoomPreset.h"
#include "core/fleet/TextTable.h"
#include "core/presets/ParamFile.h"
#include "core/presets/PresetFolder.h"
#include "core/text/Escaped.h"

namespace tavelo::cli {
namespace {

class PullWork : public FleetWork {
 public:
  PullWork(const std::vector<Room>& rooms, std::filesystem::path dir)
      : rooms_(rooms), dir_(std::move(dir)), files_(rooms.size()), names_(rooms.size()) {}

  std::optional<RoomEnd> Prepare(std::size_t room) override {
    const std::string& name = rooms_[room].name;
    if (ValidatePcName(name) != PcNameCheck::kOk) {
      return RoomEnd{false, "file",
                     EscapedBytes(name) + " is not a usable file name on every system"};
    }
    return std::nullopt;
  }

  std::optional<RoomEnd> Start(std::size_t room, RoomLink& link) override {
    // Stored as a save from the panel stores it: printable, space padded, never raw NULs.
    const ParamImage image = FiledRoomImage(link.engine().Image());
    // Written into the folder as it is: a folder gone meanwhile is an error, not re-made.
    const std::filesystem::path path = dir_ / rooms_[room].name;
    const auto bytes = BuildParamFile(image);
    const FileResult saved = WriteFileAtomically(path, bytes.data(), bytes.size());
    if (!saved.ok) return RoomEnd{false, "save", saved.message};
    files_[room] = path.string();
    names_[room] = PresetNameText(image.name);
    return RoomEnd{true, {}, path.string() + ": " + ShownPresetName(image.name)};
  }

  const std::string& File(std::size_t room) const { return files_[room]; }
  const std::string& PresetName(std::size_t room) const { return names_[room]; }

 private:
  const std::vector<Room>& rooms_;
  std::filesystem::path dir_;
  std::vector<std::string> files_;
  std::vector<std::string> names_;
};

}  // namespace

int RunFleetPull(const FleetArgs& fleet) {
  const std::filesystem::path dir = ResolveFileArg(fleet.args, fleet.args.positional[1]);
  // Like every save, a pull creates no folder: a mistyped DIR is an error, not a new folder.
  if (const std::string problem = MissingFolder(dir); !problem.empty()) {
    return CommandFailure(fleet.command,
                          "cannot save into " + problem + " (a save creates no folder)");
  }
  PullWork work(fleet.rooms, dir);
  const auto ends = RunFleet(fleet.rooms, work, fleet.options);
  if (fleet.json) {
    std::vector<std::string> items;
    for (std::size_t i = 0; i < ends.size(); ++i) {
      JsonObject json = RoomJson(fleet.rooms[i]);
      json.Bool("saved", ends[i].ok);
      if (ends[i].ok) {
        json.Text("file", work.File(i)).Text("preset_name", work.PresetName(i));
      } else {
        json.Text("step", ends[i].step).Text("error", ends[i].detail);
      }
      items.push_back(json.Str());
    }
    std::cout << JsonLines(items) << std::flush;
    return FleetExit(ends);
  }
  std::vector<std::vector<std::string>> rows = {{"ROOM", "RESULT", "DETAIL"}};
  int failed = 0;
  for (std::size_t i = 0; i < ends.size(); ++i) {
    const RoomEnd& end = ends[i];
    if (!end.ok) ++failed;
    rows.push_back(
        {RoomCell(fleet.rooms[i]), end.ok ? "saved" : "failed at " + end.step, end.detail});
  }
  std::cout << FormatTable(rows) << "fleet pull: " << ends.size() - static_cast<std::size_t>(failed)
            << " of " << ends.size() << " rooms saved into " << dir.string() << ", " << failed
            << " failed\n"
            << std::flush;
  return FleetExit(ends);
}

}  // namespace tavelo::cli
