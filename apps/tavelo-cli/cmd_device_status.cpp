// tavelo-cli status and monitor: what the processor reports about itself and its front panel.
#include <iostream>
#include <string>

#include "Command.h"
#include "CommandLine.h"
#include "JsonText.h"
#include "cmd_device_panel.h"
#include "cmd_device_session.h"

namespace tavelo::cli {
namespace {

std::string StatusText(const Engine& engine, const std::optional<PanelReading>& reading) {
  std::string out;
  out += "protocol version: " + std::to_string(engine.ProtocolVersion()) + "\n";
  out += "current preset: " + std::to_string(engine.CurrentPreset() + 1) + " " +
         ShownPresetName(engine.Image().name) + "\n";
  out += std::string("lock: ") + (engine.LockState() ? "on" : "off") + "\n";
  out += "admin mode: " + std::to_string(engine.AdminMode()) + "\n";
  if (reading) out += FormatPanel(*reading) + FormatIndicators(*reading);
  return out;
}

// The same names as `fleet status --json` gives each room.
std::string StatusJson(const Engine& engine, const std::optional<PanelReading>& reading) {
  JsonObject json;
  json.Number("protocol_version", engine.ProtocolVersion())
      .Number("current_preset", engine.CurrentPreset() + 1)
      .Text("preset_name", PresetNameText(engine.Image().name))
      .Bool("lock", engine.LockState())
      .Number("admin_mode", engine.AdminMode());
  if (reading) json.Raw("front_panel", PanelJson(*reading));
  return json.Str() + "\n";
}

int RunStatus(const CommandArgs& args) {
  DeviceSession session(args, "status");
  if (!session.Connect()) return kExitFailure;
  const auto reading = ReadPanel(session.wire().LastStatus());
  const Engine& engine = session.engine();
  std::cout << (args.Has("--json") ? StatusJson(engine, reading) : StatusText(engine, reading))
            << std::flush;
  session.Disconnect();
  return kExitOk;
}

// Prints the panel when its positions differ from those printed last.
class PanelPrinter {
 public:
  void Print(const PanelReading& r, bool force) {
    if (force || !printed_ || r.positions != last_.positions) {
      std::cout << FormatPanel(r);
    }
    if (force || !printed_ || r.indicators[0] != last_.indicators[0] ||
        r.indicators[1] != last_.indicators[1]) {
      std::cout << FormatIndicators(r);
    }
    std::cout << std::flush;
    last_ = r;
    printed_ = true;
  }

 private:
  bool printed_ = false;
  PanelReading last_;
};

int RunMonitor(const CommandArgs& args) {
  DeviceSession session(args, "monitor");
  if (!session.Connect()) return kExitFailure;
  PanelPrinter printer;
  const auto printLatest = [&](bool force) {
    if (const auto r = ReadPanel(session.wire().LastStatus())) printer.Print(*r, force);
  };
  printLatest(true);
  session.console().onFrontPanel = [&](const FrontPanel&) { printLatest(false); };
  session.console().onIndicators = [&](std::uint8_t, std::uint8_t) { printLatest(false); };
  const auto outcome = session.RunUntil([] { return false; });
  if (outcome == DeviceSession::Outcome::kLinkDown) return session.Fail("link lost", outcome);
  session.Disconnect();
  return kExitOk;
}

const RegisterCommand kStatus({
    .name = "status",
    .synopsis = "[--json]",
    .summary = "protocol version, current preset, lock, admin mode, front panel",
    .details = "  --json   the same as a JSON object",
    .shared = SharedOptions::kLink,
    .flags = {"--json"},
    .run = RunStatus,
});
const RegisterCommand kMonitor({
    .name = "monitor",
    .summary = "print front-panel changes until interrupted or --timeout",
    .shared = SharedOptions::kLink,
    .run = RunMonitor,
});

}  // namespace
}  // namespace tavelo::cli
