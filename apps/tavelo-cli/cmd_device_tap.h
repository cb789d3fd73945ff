#pragma once
// A transport that passes everything through to the real one and keeps a record of the
// wire: which requests went out, which replies came back, the last status poll reply, and,
// with --trace, a line per frame on stderr. Commands use the record to know that a
// transfer really completed (a reply to 67 arrived), not merely that the engine went quiet.
#include <array>
#include <cstdint>
#include <ostream>
#include <vector>

#include "core/link/CommandCode.h"
#include "core/link/ReplyParser.h"
#include "core/link/Transport.h"
#include "core/link/WireTrace.h"

namespace tavelo::cli {

class WireLog {
 public:
  explicit WireLog(std::ostream* trace) : trace_(trace) {}

  void Sent(const std::uint8_t* frame, int size);
  void Received(const std::uint8_t* bytes, std::size_t size);
  // A new request resets the reply hunt, as the engine's own parser does.
  void ResetParser() { parser_.Reset(); }

  int RequestsSent(std::uint8_t code) const { return sent_[code]; }
  int RepliesTo(std::uint8_t code) const { return replies_[code]; }
  // Data bytes of the last status poll reply (empty before the first).
  const std::vector<std::uint8_t>& LastStatus() const {
    return lastReplies_[static_cast<std::uint8_t>(CommandCode::kStatusPoll)];
  }
  // Data bytes of the last reply to `code` (empty before the first): a result byte.
  const std::vector<std::uint8_t>& LastReplyTo(std::uint8_t code) const {
    return lastReplies_[code];
  }

 private:
  std::ostream* trace_;
  ReplyParser parser_;
  std::array<int, 256> sent_{};
  std::array<int, 256> replies_{};
  std::array<std::vector<std::uint8_t>, 256> lastReplies_;
};

class TapTransport : public Transport {
 public:
  TapTransport(Transport& inner, WireLog& log) : inner_(inner), log_(log) {}

  LinkKind Kind() const override { return inner_.Kind(); }
  bool Open() override { return inner_.Open(); }
  bool IsConnected() const override { return inner_.IsConnected(); }
  bool ConnectFailed() const override { return inner_.ConnectFailed(); }
  int Send(const std::uint8_t* frame, int size) override;
  FetchStatus Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) override;
  void Close() override { inner_.Close(); }
  std::string Describe() const override { return inner_.Describe(); }
  std::string FailureText() const override { return inner_.FailureText(); }
  LinkOpenProblem OpenProblem() const override { return inner_.OpenProblem(); }

 private:
  Transport& inner_;
  WireLog& log_;
};

}  // namespace tavelo::cli
