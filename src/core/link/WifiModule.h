#pragma once
// The wireless module's own small message format (settings port 17402) and the rules of
// the settings connection: checks of names and passwords, the heartbeat each second,
// the pending set command and the missed-heartbeat count. Plain C++ so the dialog's
// socket class stays a thin shell and tests reach every rule.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tavelo {

enum class ModuleCommand : std::uint8_t {
  kNone = 0,
  kSetAp = 1,
  kSetSta = 2,
  kRestore = 3,
  kHeartbeat = 4,
};

inline constexpr std::uint16_t kModulePort = 17402;
inline constexpr int kModuleShortMessageSize = 3;
inline constexpr int kModuleSettingSize = 99;
inline constexpr int kModuleNameField = 40;
inline constexpr int kModulePasswordField = 56;
inline constexpr std::uint8_t kModuleEnd = 0x0A;
inline constexpr int kModuleMaxName = 32;
inline constexpr int kModuleMinApPassword = 8;
inline constexpr int kModuleMaxPassword = 64;

using ModuleShortMessage = std::array<std::uint8_t, kModuleShortMessageSize>;
using ModuleSettingMessage = std::array<std::uint8_t, kModuleSettingSize>;

ModuleShortMessage BuildModuleHeartbeat();  // 04 01 0A
ModuleShortMessage BuildModuleRestore();    // 03 01 0A

// Set AP / set STA: command, 0x60, 40-byte name field, 56-byte password field (a longer
// password is cut to its first 56 bytes), 0x0A. Fields are zero-filled.
ModuleSettingMessage BuildModuleSetting(ModuleCommand command, std::string_view name,
                                        std::string_view password);

enum class ModuleSettingCheck {
  kOk,
  kNameEmpty,
  kNameTooLong,
  kPasswordTooShort,
  kPasswordTooLong,
};

// The checks run in this order; the first that fails is reported.
ModuleSettingCheck CheckApSetting(std::string_view name, std::string_view password);
ModuleSettingCheck CheckStaSetting(std::string_view name, std::string_view password);

// The message box text for a failed check (UTF-8); empty for kOk.
std::string_view ModuleCheckText(ModuleSettingCheck check, bool chinese);

struct ModuleReply {
  std::uint8_t command = 0;
  std::uint8_t result = 0;  // 1 = success
};

// A reply counts only when exactly three bytes arrived together, starting with 0x55.
std::optional<ModuleReply> ParseModuleReply(const std::uint8_t* bytes, std::size_t size);

// State of one settings connection, driven by the socket shell.
class ModuleSession {
 public:
  static constexpr int kMaxMissed = 10;
  static constexpr int kDropAfterMissed = 3;  // dropped when the count exceeds this

  enum class TickAction { kNothing, kSendHeartbeat, kDrop };

  // What a received read means for the user.
  enum class Notice { kNone, kStaOk, kStaFailed };

  void Connected();
  void Disconnected();
  bool IsConnected() const { return connected_; }

  // A set command was sent (restore sets none).
  void CommandSent(ModuleCommand command) { pending_ = command; }
  ModuleCommand Pending() const { return pending_; }
  int Missed() const { return missed_; }

  // One read of received bytes.
  Notice BytesReceived(const std::uint8_t* bytes, std::size_t size);

  // The one-second timer; kDrop means the caller closes the connection (the session has
  // already marked itself disconnected).
  TickAction Second();

  // The texts shown for a set-STA result (UTF-8).
  static std::string_view NoticeText(Notice notice, bool chinese);

 private:
  bool connected_ = false;
  ModuleCommand pending_ = ModuleCommand::kNone;
  int missed_ = 0;
};

}  // namespace tavelo
