#pragma once
// Slows down password guessing: after each failed login for a name, the next attempt for that
// name waits twice as long as the one before (0.5 s, 1 s, 2 s ... at most 60 s). A success
// clears the name. Times are milliseconds from any fixed start, given by the caller.
#include <QHash>
#include <QString>

namespace tavelo::hub {

class LoginThrottle {
 public:
  // How long an attempt for `name` must still wait at `now`; 0 when it may go ahead.
  qint64 WaitFor(const QString& name, qint64 now) const;
  void Failed(const QString& name, qint64 now);
  void Succeeded(const QString& name);

  static constexpr qint64 kFirstDelayMs = 500;
  static constexpr qint64 kLongestDelayMs = 60000;

 private:
  struct Failures {
    int count = 0;
    qint64 notBefore = 0;
  };
  QHash<QString, Failures> failures_;
};

}  // namespace tavelo::hub
