#pragma once
// Block requests waiting for the request in flight to be answered. One entry per block:
// a repeated change of the same block replaces the entry's argument where it stands, so
// only the newest values go out, and every distinct block still goes out, in posting
// order. Payloads are built from the image when an entry is sent, so an entry holds only
// the request (a buffer argument is a copy).
#include <deque>
#include <optional>

#include "core/params/BlockEncoder.h"

namespace tavelo {

class PendingRequests {
 public:
  // Which block a request writes: the code plus the part of the argument that names the
  // band, set, channel or filter. Requests with equal keys coalesce.
  static int BlockKey(const BlockRequest& request);

  // Adds at the back (or the front), or replaces the argument of the pending entry of the
  // same block where it stands.
  void Add(const BlockRequest& request, bool front = false);
  std::optional<BlockRequest> Take();
  void Clear() { entries_.clear(); }
  bool Empty() const { return entries_.empty(); }
  int Size() const { return static_cast<int>(entries_.size()); }
  const std::deque<BlockRequest>& Entries() const { return entries_; }

 private:
  std::deque<BlockRequest> entries_;
};

}  // namespace tavelo
