#include "cmd_device_console.h"

#include "core/text/Texts.h"

namespace tavelo::cli {

namespace {

// Each request shows "communicating" and each answer "OK": a line per frame is noise
// unless the user asked for the wire.
bool IsPerRequestChatter(TextId id) {
  return id == TextId::kStatusCommunicating || id == TextId::kStatusOk;
}

bool IsFailure(TextId id) {
  return id == TextId::kStatusOpenFailed || id == TextId::kStatusOpenFailed0 ||
         id == TextId::kStatusOpenFailed1 || id == TextId::kStatusFailed;
}

// The panel's status line tells its open failures apart by a digit after "Open failed"; the
// console says in words what the digit means.
struct OpenFailureWords {
  TextId id;
  const char* why;
};
constexpr OpenFailureWords kOpenFailureWords[] = {
    {TextId::kStatusOpenFailed0, "the processor did not answer"},
    {TextId::kStatusOpenFailed1,
     "the processor refused the connection, or its settings could not be read"},
};

}  // namespace

void ConsoleObserver::OnStatus(TextId id, const std::string& text) {
  std::string shown = text;
  if (IsFailure(id)) {
    failureStatusText_ = text;
    failureWhy_.clear();
    for (const auto& words : kOpenFailureWords) {
      if (words.id != id) continue;
      failureStatusText_ = Text(TextId::kStatusOpenFailed, Lang::kEnglish);
      failureWhy_ = words.why;
      shown = failureStatusText_ + ": " + failureWhy_;
    }
  }
  const bool changed = id != lastStatus_;
  lastStatus_ = id;
  lastStatusText_ = shown;
  if (changed && !quiet_ && (verbose_ || !IsPerRequestChatter(id))) {
    err_ << "status: " << shown << "\n";
  }
}

void ConsoleObserver::OnMessage(const UserMessage& message) {
  ++messages_[message.id];
  lastMessageText_ = message.text;
  // A confirmed load is reported once, by the command's own line on stdout.
  if (message.id != TextId::kMsgLoadOk) err_ << message.text << "\n";
  if (onMessage) onMessage(message);
}

void ConsoleObserver::OnUnlockOpen() {
  if (onUnlockOpen) onUnlockOpen();
}

void ConsoleObserver::OnFrontPanel(const FrontPanel& panel) {
  if (onFrontPanel) onFrontPanel(panel);
}

void ConsoleObserver::OnIndicators(std::uint8_t first, std::uint8_t second) {
  if (onIndicators) onIndicators(first, second);
}

int ConsoleObserver::MessagesOf(TextId id) const {
  const auto it = messages_.find(id);
  return it == messages_.end() ? 0 : it->second;
}

}  // namespace tavelo::cli
