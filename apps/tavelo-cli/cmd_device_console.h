#pragma once
// The engine's observer for the command line: status changes and the processor's messages
// go to stderr as they happen; what the commands need to decide success is recorded.
// Prompts the panel would open (the unlock dialog) are handed to the session's hooks.
#include <functional>
#include <map>
#include <ostream>
#include <string>

#include "core/engine/EngineObserver.h"

namespace tavelo::cli {

class ConsoleObserver : public EngineObserver {
 public:
  // `verbose`: every status change, even the one each request makes; `quiet`: none (the
  // processor's messages are still printed).
  ConsoleObserver(std::ostream& err, bool verbose, bool quiet = false)
      : err_(err), verbose_(verbose), quiet_(quiet) {}

  // Hooks the session sets; called from inside the engine (they may post, never block).
  std::function<void()> onUnlockOpen;
  std::function<void(const UserMessage&)> onMessage;
  std::function<void(const FrontPanel&)> onFrontPanel;
  std::function<void(std::uint8_t, std::uint8_t)> onIndicators;

  void OnStatus(TextId id, const std::string& text) override;
  void OnMessage(const UserMessage& message) override;
  void OnUnlockOpen() override;
  void OnDistribute() override { ++distributions_; }
  void OnFrontPanel(const FrontPanel& panel) override;
  void OnIndicators(std::uint8_t first, std::uint8_t second) override;

  TextId LastStatus() const { return lastStatus_; }
  const std::string& LastStatusText() const { return lastStatusText_; }
  // The status before link down turned it into "Idle": what the user needs to hear.
  // "Open failed" for every failure to open, with FailureWhy() saying which.
  const std::string& FailureStatusText() const { return failureStatusText_; }
  // Why opening failed, in words, when the status alone does not say: "the processor did
  // not answer", or nothing.
  const std::string& FailureWhy() const { return failureWhy_; }
  int Distributions() const { return distributions_; }
  int MessagesOf(TextId id) const;
  // Messages the processor or the engine showed, in order, for the failure report.
  const std::string& LastMessageText() const { return lastMessageText_; }

 private:
  std::ostream& err_;
  bool verbose_;
  bool quiet_;
  TextId lastStatus_ = TextId::kStatusIdle;
  std::string lastStatusText_ = "Idle";
  std::string failureStatusText_;
  std::string failureWhy_;
  int distributions_ = 0;
  std::map<TextId, int> messages_;
  std::string lastMessageText_;
};

}  // namespace tavelo::cli
