// tavelo-cli wifi-ap, wifi-sta and wifi-restore: the processor's wireless module, on its own
// settings connection, with the settings dialog's checks and messages.
#include <iostream>
#include <string>

#include "Command.h"
#include "CommandLine.h"
#include "cmd_device_module.h"
#include "cmd_device_session.h"
#include "core/text/Texts.h"
#include "platform/WifiEndpoint.h"

namespace tavelo::cli {
namespace {

constexpr int kRestoreGraceMs = 1000;

// The command line keeps --timeout within kMaxModuleTimeoutSeconds here.
int ConnectTimeout(const CommandArgs& args) {
  return static_cast<int>(args.timeoutSeconds.value_or(kDefaultModuleTimeoutSeconds) * 1000.0);
}

int RunSetting(const CommandArgs& args, ModuleCommand command) {
  const bool ap = command == ModuleCommand::kSetAp;
  const std::string name = ap ? "wifi-ap" : "wifi-sta";
  std::string error;
  const std::string& ssid = args.positional[0];
  const std::string& password = args.positional[1];
  const ModuleSettingCheck check =
      ap ? CheckApSetting(ssid, password) : CheckStaSetting(ssid, password);
  if (check != ModuleSettingCheck::kOk) {
    return UsageError(name, Text(ModuleCheckTextId(check), Lang::kEnglish));
  }

  CliApp app;
  ModuleLink link(args.host.value_or(kModuleEndpoint.host),
                  static_cast<quint16>(args.modulePort.value_or(kModuleEndpoint.port)),
                  args.trace ? &std::cerr : nullptr);
  if (!link.Connect(ConnectTimeout(args), error)) {
    return CommandFailure(name, error);
  }
  const auto reply = link.SendSetting(command, BuildModuleSetting(command, ssid, password),
                                      ConnectTimeout(args), error);
  if (!reply) {
    return CommandFailure(name, error);
  }
  if (reply->result != 1) {
    std::cerr << Text(TextId::kMsgWifiSetError, Lang::kEnglish) << "\n";
    return kExitFailure;
  }
  std::cout << Text(TextId::kMsgWifiSetOk, Lang::kEnglish) << "\n";
  return kExitOk;
}

int RunWifiAp(const CommandArgs& args) {
  return RunSetting(args, ModuleCommand::kSetAp);
}

int RunWifiSta(const CommandArgs& args) {
  return RunSetting(args, ModuleCommand::kSetSta);
}

int RunWifiRestore(const CommandArgs& args) {
  if (!args.Has("--yes")) {
    return UsageError("wifi-restore",
                      std::string(Text(TextId::kMsgWifiRestoreConfirm, Lang::kEnglish)) +
                          " (confirm with --yes)");
  }
  std::string error;
  CliApp app;
  ModuleLink link(args.host.value_or(kModuleEndpoint.host),
                  static_cast<quint16>(args.modulePort.value_or(kModuleEndpoint.port)),
                  args.trace ? &std::cerr : nullptr);
  if (!link.Connect(ConnectTimeout(args), error) || !link.SendRestore(kRestoreGraceMs, error)) {
    return CommandFailure("wifi-restore", error);
  }
  std::cout << "restore sent\n";
  return kExitOk;
}

const RegisterCommand kAp({
    .name = "wifi-ap",
    .synopsis = "NAME PASSWORD",
    .summary = "set the Wi-Fi module's access point",
    .details = "  NAME at most " + std::to_string(kModuleMaxName) + " bytes; PASSWORD " +
               std::to_string(kModuleMinApPassword) + " to " + std::to_string(kModuleMaxPassword) +
               " bytes.",
    .shared = SharedOptions::kModule,
    .operands = {"NAME", "PASSWORD"},
    .minOperands = 2,
    .maxOperands = 2,
    .run = RunWifiAp,
});
const RegisterCommand kSta({
    .name = "wifi-sta",
    .synopsis = "NAME PASSWORD",
    .summary = "join the Wi-Fi module to a network",
    .details = "  NAME at most " + std::to_string(kModuleMaxName) + " bytes; PASSWORD at most " +
               std::to_string(kModuleMaxPassword) + " bytes.",
    .shared = SharedOptions::kModule,
    .operands = {"NAME", "PASSWORD"},
    .minOperands = 2,
    .maxOperands = 2,
    .run = RunWifiSta,
});
const RegisterCommand kRestore({
    .name = "wifi-restore",
    .synopsis = "--yes",
    .summary = "restore the Wi-Fi module's factory settings",
    .details = "  --yes   confirms it.",
    .shared = SharedOptions::kModule,
    .flags = {"--yes"},
    .run = RunWifiRestore,
});

}  // namespace
}  // namespace tavelo::cli
