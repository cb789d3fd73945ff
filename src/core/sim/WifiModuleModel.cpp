#include "core/sim/WifiModuleModel.h"

#include <algorithm>

#include "core/link/WifiModule.h"

namespace tavelo {
namespace {

constexpr const char* kFactoryApName = "TAVELO-SIM";
constexpr const char* kFactoryApPassword = "12345678";

std::string FieldText(const std::uint8_t* field, int size) {
  const std::uint8_t* end = std::find(field, field + size, 0);
  return std::string(field, end);
}

}  // namespace

WifiModuleModel::WifiModuleModel() {
  Restore();
}

void WifiModuleModel::Restore() {
  apName_ = kFactoryApName;
  apPassword_ = kFactoryApPassword;
  staName_.clear();
  staPassword_.clear();
}

std::vector<std::uint8_t> WifiModuleModel::Feed(const std::uint8_t* bytes, std::size_t size) {
  buffer_.insert(buffer_.end(), bytes, bytes + size);
  std::vector<std::uint8_t> replies;
  for (;;) {
    std::vector<std::uint8_t> reply = Handle();
    if (reply.empty()) break;
    if (!silent_) replies.insert(replies.end(), reply.begin(), reply.end());
  }
  // Taken bytes leave the buffer once per feed, so a flood costs time in proportion to its
  // size, not to its size squared.
  buffer_.erase(buffer_.begin(), buffer_.begin() + static_cast<std::ptrdiff_t>(start_));
  start_ = 0;
  return replies;
}

// Takes one complete message off the front of the buffer and answers it; empty when the
// buffer holds no complete message yet. Bytes that start no message are skipped.
std::vector<std::uint8_t> WifiModuleModel::Handle() {
  while (start_ < buffer_.size()) {
    const auto command = static_cast<ModuleCommand>(buffer_[start_]);
    const bool isShort = command == ModuleCommand::kHeartbeat || command == ModuleCommand::kRestore;
    const bool isSetting = command == ModuleCommand::kSetAp || command == ModuleCommand::kSetSta;
    if (!isShort && !isSetting) {
      ++start_;
      continue;
    }
    const std::size_t need = isShort ? kModuleShortMessageSize : kModuleSettingSize;
    if (buffer_.size() - start_ < need) return {};
    const auto first = buffer_.begin() + static_cast<std::ptrdiff_t>(start_);
    std::vector<std::uint8_t> message(first, first + static_cast<std::ptrdiff_t>(need));
    start_ += need;
    if (message.back() != kModuleEnd) continue;  // not a message after all
    std::uint8_t result = 1;
    switch (command) {
      case ModuleCommand::kHeartbeat:
        ++heartbeats_;
        break;
      case ModuleCommand::kRestore:
        Restore();
        break;
      default: {
        if (refuse_) {
          result = 0;
          break;
        }
        std::string name = FieldText(message.data() + 2, kModuleNameField);
        std::string password =
            FieldText(message.data() + 2 + kModuleNameField, kModulePasswordField);
        if (command == ModuleCommand::kSetAp) {
          apName_ = std::move(name);
          apPassword_ = std::move(password);
        } else {
          staName_ = std::move(name);
          staPassword_ = std::move(password);
        }
        break;
      }
    }
    return {0x55, static_cast<std::uint8_t>(command), result};
  }
  return {};
}

}  // namespace tavelo
