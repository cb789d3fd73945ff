#include "hub/LoginThrottle.h"

#include <algorithm>

namespace tavelo::hub {

qint64 LoginThrottle::WaitFor(const QString& name, qint64 now) const {
  const auto it = failures_.constFind(name);
  if (it == failures_.constEnd()) return 0;
  return std::max<qint64>(0, it->notBefore - now);
}

void LoginThrottle::Failed(const QString& name, qint64 now) {
  // Bounded: a flood of made-up names cannot grow the table without limit.
  if (failures_.size() > 10000 && !failures_.contains(name)) failures_.clear();
  Failures& f = failures_[name];
  f.count = std::min(f.count + 1, 30);
  qint64 delay = kFirstDelayMs;
  for (int i = 1; i < f.count && delay < kLongestDelayMs; ++i) delay *= 2;
  f.notBefore = now + std::min(delay, kLongestDelayMs);
}

void LoginThrottle::Succeeded(const QString& name) {
  failures_.remove(name);
}

}  // namespace tavelo::hub
