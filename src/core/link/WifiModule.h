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

#include "core/text/Texts.h"

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
// Lengths are counted in the UTF-8 bytes that go on the wire. A network name is at most 32
// bytes (the Wi-Fi limit, inside the 40-byte field); a password at most the 56 bytes its
// field carries: a longer one would have to be cut, and a cut password locks the user out.
inline constexpr int kModuleMaxName = 32;
inline constexpr int kModuleMinApPassword = 8;
inline constexpr int kModuleMaxPassword = kModulePasswordField;

using ModuleShortMessage = std::array<std::uint8_t, kModuleShortMessageSize>;
using ModuleSettingMessage = std::array<std::uint8_t, kModuleSettingSize>;

ModuleShortMessage BuildModuleHeartbeat();  // 04 01 0A
ModuleShortMessage BuildModuleRestore();    // 03 01 0A

// Set AP / set STA: command, 0x60, 40-byte name field, 56-byte password field, 0x0A. Fields
// are zero-filled. Texts that passed the checks below always fit; anything longer is cut
// at its field so it can never run into the next one.
ModuleSettingMessage BuildModuleSetting(ModuleCommand command, std::string_view name,
                                        std::string_view password);

enum class ModuleSettingCheck {
  kOk,
  kNameEmpty,
  kNameTooLong,
  kPasswordTooShort,
  kPasswordTooLong,
};

// The checks run in this order; the first that fails is reported. `name` and `password` are
// UTF-8; their byte counts decide.
ModuleSettingCheck CheckApSetting(std::string_view name, std::string_view password);
ModuleSettingCheck CheckStaSetting(std::string_view name, std::string_view password);

// The message for a failed check ("Name is empty", "Password is too long", ...). Not to be
// asked for kOk.
TextId ModuleCheckTextId(ModuleSettingCheck check);

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
  // The module sends nothing but three-byte replies; more than this many other bytes since
  // the last reply means the peer does not speak the module's protocol (a flood, another
  // service on the port), and the caller drops it.
  static constexpr std::size_t kMaxStrayBytes = 1024;
  // What a socket shell lets the system buffer for one connection: a few replies' worth is
  // plenty, and a bound keeps a flooding peer from filling memory.
  static constexpr std::size_t kReadBufferBytes = 4096;

  // kDropUnanswered: dropped while a setting waited for its answer, which the user must
  // hear about (the setting may not have been stored).
  enum class TickAction { kNothing, kSendHeartbeat, kDrop, kDropUnanswered };

  // What the module's answer to a setting means for the user: a refusal of either
  // setting is reported, a success only for Set Sta (Set AP succeeds silently).
  enum class Notice { kNone, kSetOk, kSetFailed };

  void Connected();
  void Disconnected();
  bool IsConnected() const { return connected_; }

  // A set command was sent (restore sets none).
  void CommandSent(ModuleCommand command) { pending_ = command; }
  ModuleCommand Pending() const { return pending_; }
  int Missed() const { return missed_; }

  // One read of received bytes.
  Notice BytesReceived(const std::uint8_t* bytes, std::size_t size);
  // False once the peer has sent more than kMaxStrayBytes bytes that were no reply since
  // the last reply (or the connection); the caller drops the connection.
  bool SpeaksProtocol() const { return strayBytes_ <= kMaxStrayBytes; }

  // The one-second timer; kDrop means the caller closes the connection (the session has
  // already marked itself disconnected).
  TickAction Second();

  // The message for a setting's answer ("OK" / "Setting error"); not for kNone.
  static TextId NoticeTextId(Notice notice);

 private:
  bool connected_ = false;
  ModuleCommand pending_ = ModuleCommand::kNone;
  int missed_ = 0;
  std::size_t strayBytes_ = 0;
};

}  // namespace tavelo
