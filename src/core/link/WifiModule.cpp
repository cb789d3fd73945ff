#include "core/link/WifiModule.h"

#include <algorithm>
#include <array>

namespace tavelo {
namespace {

constexpr std::uint8_t kModuleTextLength = kModuleNameField + kModulePasswordField;  // 0x60
constexpr std::uint8_t kModuleReplyStart = 0x55;
constexpr std::uint8_t kShortMessageMarker = 0x01;

ModuleSettingCheck CheckName(std::string_view name) {
  if (name.empty()) return ModuleSettingCheck::kNameEmpty;
  if (name.size() > static_cast<std::size_t>(kModuleMaxName))
    return ModuleSettingCheck::kNameTooLong;
  return ModuleSettingCheck::kOk;
}

bool PasswordTooLong(std::string_view password) {
  return password.size() > static_cast<std::size_t>(kModuleMaxPassword);
}

}  // namespace

ModuleShortMessage BuildModuleHeartbeat() {
  return {static_cast<std::uint8_t>(ModuleCommand::kHeartbeat), kShortMessageMarker, kModuleEnd};
}

ModuleShortMessage BuildModuleRestore() {
  return {static_cast<std::uint8_t>(ModuleCommand::kRestore), kShortMessageMarker, kModuleEnd};
}

ModuleSettingMessage BuildModuleSetting(ModuleCommand command, std::string_view name,
                                        std::string_view password) {
  ModuleSettingMessage message{};
  message[0] = static_cast<std::uint8_t>(command);
  message[1] = kModuleTextLength;
  // Both fields are cut to their size, so no text can run into the next field or past
  // the end marker.
  const std::size_t nameBytes = std::min<std::size_t>(name.size(), kModuleNameField);
  const std::size_t passwordBytes = std::min<std::size_t>(password.size(), kModulePasswordField);
  std::copy_n(name.begin(), nameBytes, message.begin() + 2);
  std::copy_n(password.begin(), passwordBytes, message.begin() + 2 + kModuleNameField);
  message[kModuleSettingSize - 1] = kModuleEnd;
  return message;
}

ModuleSettingCheck CheckApSetting(std::string_view name, std::string_view password) {
  if (ModuleSettingCheck check = CheckName(name); check != ModuleSettingCheck::kOk) return check;
  if (password.size() < kModuleMinApPassword) return ModuleSettingCheck::kPasswordTooShort;
  if (PasswordTooLong(password)) return ModuleSettingCheck::kPasswordTooLong;
  return ModuleSettingCheck::kOk;
}

ModuleSettingCheck CheckStaSetting(std::string_view name, std::string_view password) {
  if (ModuleSettingCheck check = CheckName(name); check != ModuleSettingCheck::kOk) return check;
  if (PasswordTooLong(password)) return ModuleSettingCheck::kPasswordTooLong;
  return ModuleSettingCheck::kOk;
}

TextId ModuleCheckTextId(ModuleSettingCheck check) {
  switch (check) {
    case ModuleSettingCheck::kNameEmpty:
      return TextId::kMsgWifiNameEmpty;
    case ModuleSettingCheck::kNameTooLong:
      return TextId::kMsgWifiNameTooLong;
    case ModuleSettingCheck::kPasswordTooShort:
      return TextId::kMsgWifiPasswordTooShort;
    case ModuleSettingCheck::kPasswordTooLong:
    case ModuleSettingCheck::kOk:
      break;
  }
  return TextId::kMsgWifiPasswordTooLong;
}

std::optional<ModuleReply> ParseModuleReply(const std::uint8_t* bytes, std::size_t size) {
  if (size != kModuleShortMessageSize || bytes[0] != kModuleReplyStart) return std::nullopt;
  return ModuleReply{bytes[1], bytes[2]};
}

// --- session ---------------------------------------------------------------------------------

void ModuleSession::Connected() {
  connected_ = true;
  missed_ = 0;
  strayBytes_ = 0;
  pending_ = ModuleCommand::kNone;
}

void ModuleSession::Disconnected() {
  connected_ = false;
  pending_ = ModuleCommand::kNone;
}

ModuleSession::Notice ModuleSession::BytesReceived(const std::uint8_t* bytes, std::size_t size) {
  if (size == 0) return Notice::kNone;
  missed_ = 0;
  const std::optional<ModuleReply> reply = ParseModuleReply(bytes, size);
  if (!reply) {
    constexpr std::size_t kOver = kMaxStrayBytes + 1;
    strayBytes_ = std::min(kOver, strayBytes_ + std::min(size, kOver));
    return Notice::kNone;
  }
  strayBytes_ = 0;
  if (pending_ == ModuleCommand::kNone || reply->command != static_cast<std::uint8_t>(pending_)) {
    return Notice::kNone;
  }
  const ModuleCommand answered = pending_;
  pending_ = ModuleCommand::kNone;
  if (reply->result != 1) return Notice::kSetFailed;
  // The access point's own answer: the user is about to lose this network anyway, and a
  // success needs no box; only the station setting reports "OK".
  return answered == ModuleCommand::kSetSta ? Notice::kSetOk : Notice::kNone;
}

ModuleSession::TickAction ModuleSession::Second() {
  if (!connected_) return TickAction::kNothing;
  if (missed_ < kMaxMissed) ++missed_;
  if (missed_ > kDropAfterMissed) {
    const bool unanswered = pending_ != ModuleCommand::kNone;
    Disconnected();
    return unanswered ? TickAction::kDropUnanswered : TickAction::kDrop;
  }
  return pending_ == ModuleCommand::kNone ? TickAction::kSendHeartbeat : TickAction::kNothing;
}

TextId ModuleSession::NoticeTextId(Notice notice) {
  return notice == Notice::kSetOk ? TextId::kMsgWifiSetOk : TextId::kMsgWifiSetError;
}

}  // namespace tavelo
