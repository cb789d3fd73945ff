#pragma once
// Faults the virtual processor can be told to show, by name, so tests and demos can
// reproduce every failure the panel must survive. All of them are deterministic.
#include <optional>
#include <string>
#include <string_view>

namespace tavelo {

enum class SimFault {
  kWrongVersion,          // status poll reports protocol version ARG (default 2)
  kWrongSignature,        // read-start header carries signature 23 1 2 6
  kBadBodyChecksum,       // read-start header announces a checksum off by one
  kCorruptReplyChecksum,  // replies to code ARG (every reply without ARG) fail their checksum
  kDropReply,             // replies to code ARG (every reply without ARG) are never sent
  kSlowReply,             // every reply becomes available ARG ms late (default 500)
  kLocked,                // the lock key starts engaged
  kCutAfter,              // "unplug-after" / "drop-after": the link dies after ARG replies
  kOversizedTotal,        // read-start header announces a body of ARG bytes (default 5000)
  kShortTotal,            // read-start header announces only the first ARG bytes (default
                          // 653), with the checksum of those bytes
};

struct SimFaultSpec {
  SimFault fault = SimFault::kDropReply;
  int arg = -1;  // -1: no argument given
};

// Parses "NAME" or "NAME=ARG" (also "unplug-after-N" / "drop-after-N"). Names:
// wrong-version, wrong-signature, bad-body-checksum, corrupt-reply-checksum, drop-reply,
// slow-reply, locked, unplug-after, drop-after, oversized-total, short-total.
std::optional<SimFaultSpec> ParseSimFault(std::string_view text);

std::string_view SimFaultName(SimFault fault);

// Names accepted by ParseSimFault, for help texts.
std::string SimFaultNames();

// Why ParseSimFault refuses `text`, in one line for a command line: a known fault with a bad
// or missing argument, or an unknown name; either way the known names follow.
std::string SimFaultError(std::string_view text);

}  // namespace tavelo
