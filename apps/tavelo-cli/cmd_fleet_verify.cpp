// tavelo-cli fleet verify: every room compared field by field with its reference preset.
#include <iostream>

#include "Command.h"
#include "cmd_device_panel.h"
#include "cmd_fleet.h"
#include "core/fleet/RoomPreset.h"
#include "core/fleet/TextTable.h"
#include "core/presets/ParamFields.h"
#include "core/presets/PresetFolder.h"

namespace tavelo::cli {
namespace {

constexpr const char* kNoGolden = "golden file";

class VerifyWork : public FleetWork {
 public:
  VerifyWork(const std::vector<Room>& rooms, std::filesystem::path dir)
      : rooms_(rooms), dir_(std::move(dir)), golden_(rooms.size()), differences_(rooms.size()) {}

  // The reference is read first: a room without one is not worth a connection.
  std::optional<RoomEnd> Prepare(std::size_t room) override {
    const std::filesystem::path path = dir_ / rooms_[room].name;
    const ParamFileResult file = ReadParamFile(path);
    if (!file.ok()) return RoomEnd{false, kNoGolden, path.string() + ": " + file.message};
    golden_[room] = file.data;
    return std::nullopt;
  }

  std::optional<RoomEnd> Start(std::size_t room, RoomLink& link) override {
    differences_[room] = RoomDifferences(link.engine().Image(), golden_[room]);
    const std::size_t n = differences_[room].size();
    if (n == 0) return RoomEnd{true, {}, "same"};
    return RoomEnd{true, {}, n == 1 ? "1 field differs" : std::to_string(n) + " fields differ"};
  }

  const std::vector<std::string>& Differences(std::size_t room) const { return differences_[room]; }

 private:
  const std::vector<Room>& rooms_;
  std::filesystem::path dir_;
  std::vector<ParamFileData> golden_;
  std::vector<std::vector<std::string>> differences_;
};

}  // namespace

int RunFleetVerify(const FleetArgs& fleet) {
  const std::filesystem::path dir = ResolveFileArg(fleet.args, fleet.args.positional[1]);
  VerifyWork work(fleet.rooms, dir);
  const auto ends = RunFleet(fleet.rooms, work, fleet.options);

  std::vector<std::vector<std::string>> rows = {
      {"ROOM", "RESULT", "DIFFERENCE (golden -> room) OR REASON"}};
  std::vector<std::string> items;
  int same = 0, differ = 0, unreachable = 0, noGolden = 0;
  for (std::size_t i = 0; i < ends.size(); ++i) {
    const std::string room = RoomCell(fleet.rooms[i]);
    const RoomEnd& end = ends[i];
    JsonObject json = RoomJson(fleet.rooms[i]);
    if (!end.ok) {
      const bool golden = end.step == kNoGolden;
      ++(golden ? noGolden : unreachable);
      const char* result = golden ? "no golden file" : "unreachable";
      rows.push_back({room, result, end.detail});
      items.push_back(json.Text("result", result).Text("error", end.detail).Str());
      continue;
    }
    const auto& differences = work.Differences(i);
    std::vector<std::string> quoted;
    for (const std::string& d : differences) quoted.push_back(JsonString(d));
    items.push_back(json.Text("result", differences.empty() ? "same" : "differs")
                        .Raw("differences", JsonList(quoted))
                        .Str());
    if (differences.empty()) {
      ++same;
      rows.push_back({room, "same"});
      continue;
    }
    ++differ;
    for (std::size_t k = 0; k < differences.size(); ++k) {
      rows.push_back({k == 0 ? room : "", k == 0 ? "differs" : "", differences[k]});
    }
  }
  if (fleet.json) {
    std::cout << JsonLines(items);
  } else {
    std::cout << FormatTable(rows) << "fleet verify: " << same << " same, " << differ << " differ, "
              << unreachable << " unreachable, " << noGolden << " without a golden file, of "
              << ends.size() << " rooms\n";
  }
  std::cout << std::flush;
  return same == static_cast<int>(ends.size()) ? kExitOk : kExitFailure;
}

}  // namespace tavelo::cli
