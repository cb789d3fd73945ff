// tavelo-cli fleet push: one parameter file into every room (or DIR/ROOM each), as Load
// From PC or a load into a user mode does. A room holds the new preset once its processor
// has confirmed the upload and a download of its preset shows what was sent.
#include <iostream>

#include "Command.h"
#include "cmd_device_panel.h"
#include "cmd_fleet.h"
#include "core/fleet/RoomPreset.h"
#include "core/fleet/TextTable.h"
#include "core/link/CommandCode.h"
#include "core/presets/PresetFolder.h"
#include "core/text/Escaped.h"
#include "core/text/Texts.h"

namespace tavelo::cli {
namespace {

constexpr auto kWriteStart = static_cast<std::uint8_t>(CommandCode::kWriteStart);
constexpr auto kWriteChunk = static_cast<std::uint8_t>(CommandCode::kWriteChunk);
constexpr auto kWriteFinish = static_cast<std::uint8_t>(CommandCode::kWriteFinish);
constexpr auto kReadStart = static_cast<std::uint8_t>(CommandCode::kReadStart);
constexpr std::uint8_t kFinishAccepted = 1;  // the finish reply's result byte

// The wire record's counts when the upload began: a room's link carries one connection.
struct WireMark {
  int startsAnswered = 0;
  int chunksAnswered = 0;
  int finishesSent = 0;
  int finishesAnswered = 0;
  int readStartsAnswered = 0;  // the read-back's, once the upload is confirmed
};

WireMark Mark(const WireLog& wire) {
  return {wire.RepliesTo(kWriteStart), wire.RepliesTo(kWriteChunk), wire.RequestsSent(kWriteFinish),
          wire.RepliesTo(kWriteFinish)};
}

class PushWork : public FleetWork {
 public:
  PushWork(const std::vector<Room>& rooms, std::filesystem::path source, bool perRoom,
           std::optional<int> slot)
      : rooms_(rooms),
        source_(std::move(source)),
        perRoom_(perRoom),
        slot_(slot),
        paths_(rooms.size()),
        marks_(rooms.size()),
        sent_(rooms.size()) {}

  // Each file is checked before its room is connected, so a bad file never costs an upload.
  std::optional<RoomEnd> Prepare(std::size_t room) override {
    const std::filesystem::path path = perRoom_ ? source_ / rooms_[room].name : source_;
    const ParamFileResult file = ReadParamFile(path);
    if (!file.ok()) return RoomEnd{false, "file", path.string() + ": " + file.message};
    paths_[room] = path.string();
    return std::nullopt;
  }

  std::optional<RoomEnd> Start(std::size_t room, RoomLink& link) override {
    marks_[room] = Mark(link.wire());
    if (slot_) {
      link.engine().Post(msg::LoadIntoSlot{-1, *slot_, paths_[room]});
    } else {
      link.engine().Post(msg::LoadFromPc{-1, paths_[room]});
    }
    return Check(room, link);
  }

  std::optional<RoomEnd> Check(std::size_t room, RoomLink& link) override {
    if (sent_[room]) return ReadBack(room, link);
    if (link.console().MessagesOf(TextId::kMsgLoadFail) > 0) {
      return RoomEnd{false, "file", paths_[room] + ": the file could not be loaded"};
    }
    if (link.wire().RepliesTo(kWriteFinish) <= marks_[room].finishesAnswered) return std::nullopt;
    // A refused finish (the body arrived damaged) leaves the previous preset in place.
    const auto& result = link.wire().LastReplyTo(kWriteFinish);
    if (result.empty() || result[0] != kFinishAccepted) {
      return RoomEnd{false, "confirmation",
                     "the processor refused the upload; it keeps its previous preset"};
    }
    if (link.Quiet()) {
      // Confirmed; the room's preset is read back to show it holds what was sent.
      sent_[room] = AsUploaded(link.engine().Image());
      marks_[room].readStartsAnswered = link.wire().RepliesTo(kReadStart);
      link.DownloadSet();
    }
    return std::nullopt;
  }

  std::optional<RoomEnd> ReadBack(std::size_t room, RoomLink& link) {
    if (link.wire().RepliesTo(kReadStart) <= marks_[room].readStartsAnswered || !link.Ready()) {
      return std::nullopt;
    }
    const Engine& engine = link.engine();
    const auto differences = RoomDifferences(engine.Image(), ParamFileDataFromImage(*sent_[room]));
    if (!differences.empty()) {
      const std::size_t more = differences.size() - 1;
      return RoomEnd{false, "read-back",
                     "the processor confirmed the upload but holds another preset (" +
                         differences.front() +
                         (more > 0 ? " and " + std::to_string(more) + " more" : "") + ")"};
    }
    return RoomEnd{true,
                   {},
                   "user mode " + std::to_string(engine.CurrentPreset() + 1) + ": " +
                       ShownPresetName(engine.Image().name)};
  }

  std::string Step(std::size_t room, const RoomLink& link) const override {
    if (sent_[room]) return "read-back";
    const WireMark& before = marks_[room];
    const WireMark now = Mark(link.wire());
    if (now.startsAnswered == before.startsAnswered) return "upload start";
    if (now.finishesSent == before.finishesSent) {
      return "upload (" + std::to_string(now.chunksAnswered - before.chunksAnswered) +
             " chunks confirmed)";
    }
    // The last request went out unanswered: the processor may or may not hold the preset.
    return "confirmation";
  }

 private:
  const std::vector<Room>& rooms_;
  std::filesystem::path source_;
  bool perRoom_;
  std::optional<int> slot_;
  std::vector<std::string> paths_;
  std::vector<WireMark> marks_;
  std::vector<std::optional<ParamImage>> sent_;  // once confirmed: what the room should hold
};

std::string Names(const std::vector<std::string>& names) {
  std::string out;
  for (const auto& n : names) out += (out.empty() ? "" : ", ") + n;
  return out;
}

}  // namespace

int RunFleetPush(const FleetArgs& fleet) {
  std::optional<int> slot;
  if (const auto text = fleet.args.Value("--slot")) {
    slot = ParseSlot(*text);
    if (!slot)
      return UsageError(fleet.command,
                        "--slot must be 1 to 10, not '" + ShownArgument(*text) + "'");
  }
  const std::filesystem::path source = ResolveFileArg(fleet.args, fleet.args.positional[1]);
  std::error_code ec;
  const bool perRoom = std::filesystem::is_directory(source, ec);
  PushWork work(fleet.rooms, source, perRoom, slot);
  const auto ends = RunFleet(fleet.rooms, work, fleet.options);

  if (fleet.json) {
    std::vector<std::string> items;
    for (std::size_t i = 0; i < ends.size(); ++i) {
      JsonObject json = RoomJson(fleet.rooms[i]);
      json.Bool("pushed", ends[i].ok);
      if (ends[i].ok) {
        json.Text("detail", ends[i].detail);
      } else {
        json.Text("step", ends[i].step).Text("error", ends[i].detail);
      }
      items.push_back(json.Str());
    }
    std::cout << JsonLines(items) << std::flush;
    return FleetExit(ends);
  }
  std::vector<std::vector<std::string>> rows = {{"ROOM", "RESULT", "STEP", "DETAIL"}};
  std::vector<std::string> holding, failed;
  for (std::size_t i = 0; i < ends.size(); ++i) {
    const std::string room = RoomCell(fleet.rooms[i]);
    const RoomEnd& end = ends[i];
    rows.push_back({room, end.ok ? "pushed" : "failed", end.ok ? "" : end.step, end.detail});
    (end.ok ? holding : failed).push_back(end.ok ? room : room + " (at " + end.step + ")");
  }
  std::cout << FormatTable(rows) << "fleet push: " << holding.size() << " of " << ends.size()
            << " rooms hold the new preset" << (holding.empty() ? "" : ": " + Names(holding))
            << "\n";
  if (!failed.empty()) {
    std::cout << "fleet push: " << failed.size() << " failed: " << Names(failed) << "\n";
  }
  std::cout << std::flush;
  return FleetExit(ends);
}

}  // namespace tavelo::cli
