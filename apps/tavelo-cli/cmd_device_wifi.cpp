// tavelo-cli wifi-ap, wifi-sta and wifi-restore: the processor's wireless module, on its own
// settings connection, with the settings dialog's checks and messages.
#include <iostream>
#include <string>

#include "Command.h"
#include "cmd_device_module.h"
#include "cmd_device_options.h"
#include "cmd_device_session.h"
#include "platform/WifiEndpoint.h"
#include "text/Texts.h"

namespace tavelo::cli {
namespace {

constexpr int kRestoreGraceMs = 1000;

const std::string kApUsage =
    ModuleUsage("wifi-ap NAME PASSWORD", "set the Wi-Fi module's access point");
const std::string kStaUsage =
    ModuleUsage("wifi-sta NAME PASSWORD", "join the Wi-Fi module to a network");
const std::string kRestoreUsage =
    ModuleUsage("wifi-restore --yes", "restore the Wi-Fi module's factory settings");

int ConnectTimeout(const DeviceArgs& args) {
  const double seconds = std::min(args.timeoutSeconds.value_or(kDefaultModuleTimeoutSeconds),
                                  kMaxModuleTimeoutSeconds);
  return static_cast<int>(seconds * 1000.0);
}

int RunSetting(const std::vector<std::string>& words, ModuleCommand command) {
  const bool ap = command == ModuleCommand::kSetAp;
  const std::string name = ap ? "wifi-ap" : "wifi-sta";
  const std::string& usage = ap ? kApUsage : kStaUsage;
  std::string error;
  const auto args = ParseDeviceArgs(words, {{}, {}, 2, 2}, error);
  if (!args) return DeviceUsageError(name, usage, error);
  const std::string& ssid = args->positional[0];
  const std::string& password = args->positional[1];
  const ModuleSettingCheck check =
      ap ? CheckApSetting(ssid, password) : CheckStaSetting(ssid, password);
  if (check != ModuleSettingCheck::kOk) {
    std::cerr << Text(ModuleCheckTextId(check), Lang::kEnglish) << "\n";
    return kExitUsage;
  }

  CliApp app;
  ModuleLink link(args->host.value_or(kModuleEndpoint.host),
                  static_cast<quint16>(args->modulePort.value_or(kModuleEndpoint.port)),
                  args->trace ? &std::cerr : nullptr);
  if (!link.Connect(ConnectTimeout(*args), error)) {
    std::cerr << "tavelo-cli " << name << ": " << error << "\n";
    return kExitFailure;
  }
  const auto reply = link.SendSetting(command, BuildModuleSetting(command, ssid, password), error);
  if (!reply) {
    std::cerr << "tavelo-cli " << name << ": " << error << "\n";
    return kExitFailure;
  }
  if (reply->result != 1) {
    std::cerr << Text(TextId::kMsgWifiSetError, Lang::kEnglish) << "\n";
    return kExitFailure;
  }
  std::cout << Text(TextId::kMsgWifiSetOk, Lang::kEnglish) << "\n";
  return kExitOk;
}

int RunWifiAp(const std::vector<std::string>& words) {
  return RunSetting(words, ModuleCommand::kSetAp);
}

int RunWifiSta(const std::vector<std::string>& words) {
  return RunSetting(words, ModuleCommand::kSetSta);
}

int RunWifiRestore(const std::vector<std::string>& words) {
  std::string error;
  const auto args = ParseDeviceArgs(words, {{}, {"--yes"}, 0, 0}, error);
  if (!args) return DeviceUsageError("wifi-restore", kRestoreUsage, error);
  if (!args->Has("--yes")) {
    return DeviceUsageError("wifi-restore", kRestoreUsage,
                            std::string(Text(TextId::kMsgWifiRestoreConfirm, Lang::kEnglish)) +
                                " (confirm with --yes)");
  }
  CliApp app;
  ModuleLink link(args->host.value_or(kModuleEndpoint.host),
                  static_cast<quint16>(args->modulePort.value_or(kModuleEndpoint.port)),
                  args->trace ? &std::cerr : nullptr);
  if (!link.Connect(ConnectTimeout(*args), error) || !link.SendRestore(kRestoreGraceMs, error)) {
    std::cerr << "tavelo-cli wifi-restore: " << error << "\n";
    return kExitFailure;
  }
  std::cout << "restore sent\n";
  return kExitOk;
}

const RegisterCommand kAp("wifi-ap", kApUsage, RunWifiAp);
const RegisterCommand kSta("wifi-sta", kStaUsage, RunWifiSta);
const RegisterCommand kRestore("wifi-restore", kRestoreUsage, RunWifiRestore);

}  // namespace
}  // namespace tavelo::cli
