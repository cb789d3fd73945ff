#pragma once
// A transport that passes everything through to the one it wraps and reports the traffic
// to the panel's diagnostics: every request and every reply on tavelo.wire (in the same
// line format as the command-line tool's --trace), opening, failing and closing on
// tavelo.link. With both categories off it costs a flag test per call.
#include <memory>

#include "core/link/ReplyParser.h"
#include "core/link/Transport.h"

namespace tavelo::ui {

class TracingTransport : public Transport {
 public:
  explicit TracingTransport(std::unique_ptr<Transport> inner);

  LinkKind Kind() const override { return inner_->Kind(); }
  bool Open() override;
  bool IsConnected() const override { return inner_->IsConnected(); }
  bool ConnectFailed() const override { return inner_->ConnectFailed(); }
  int Send(const std::uint8_t* frame, int size) override;
  FetchStatus Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) override;
  void Close() override;
  std::string Describe() const override { return inner_->Describe(); }
  std::string FailureText() const override { return inner_->FailureText(); }

 private:
  std::unique_ptr<Transport> inner_;
  ReplyParser replies_;  // its own, so a trace shows whole replies however bytes arrive
  bool failed_ = false;  // a failure is reported once, not at every poll after it
};

}  // namespace tavelo::ui
