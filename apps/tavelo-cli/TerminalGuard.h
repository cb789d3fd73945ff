#pragma once
// The last guard before the terminal: every byte the command line writes to stderr passes
// here, and a control byte other than a line end, a carriage return (the fleet's progress
// line) or a tab is written as \u00XX. Messages quote file names, replies and typed words
// from many places; this keeps a control sequence among them from reaching the terminal.
#include <cstdio>
#include <ostream>
#include <streambuf>

namespace tavelo::cli {

class TerminalGuard : public std::streambuf {
 public:
  explicit TerminalGuard(std::ostream& stream) : stream_(stream), next_(stream.rdbuf()) {
    stream_.rdbuf(this);
  }
  ~TerminalGuard() override { stream_.rdbuf(next_); }
  TerminalGuard(const TerminalGuard&) = delete;
  TerminalGuard& operator=(const TerminalGuard&) = delete;

 protected:
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const auto u = static_cast<unsigned char>(traits_type::to_char_type(c));
    if ((u < 0x20 && u != '\n' && u != '\r' && u != '\t') || u == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04X", static_cast<unsigned>(u));
      return next_->sputn(escaped, 6) == 6 ? c : traits_type::eof();
    }
    return next_->sputc(static_cast<char>(u));
  }
  int sync() override { return next_->pubsync(); }

 private:
  std::ostream& stream_;
  std::streambuf* next_;
};

}  // namespace tavelo::cli
