#pragma once
// Users, logins and bearer tokens over the store.
#include <QHash>
#include <QString>
#include <optional>

#include "hub/LoginThrottle.h"
#include "hub/Roles.h"
#include "hub/Store.h"

namespace tavelo::hub {

struct Caller {
  QString name;
  Role role = Role::Staff;
};

// A token's check: the caller, or none; `storageFault` when the database could not be read
// and the token was not among those this service had already seen valid.
struct TokenVerdict {
  std::optional<Caller> caller;
  bool storageFault = false;
  QString error;
};

struct LoginResult {
  enum class Outcome { Ok, WrongPair, TooSoon, StorageFault };
  Outcome outcome = Outcome::WrongPair;
  QString token;
  Role role = Role::Staff;
  qint64 retryAfterMs = 0;  // TooSoon
  QString error;            // StorageFault
};

class Accounts {
 public:
  explicit Accounts(Store& store) : store_(store) {}

  static constexpr qint64 kTokenLifetimeMs = 12LL * 3600 * 1000;

  // A user name: 1..64 letters, digits, '.', '_', '-' or '@'.
  static bool ValidName(const QString& name);

  // Adds a user; false with `error` on a bad name, an empty password, a taken name or a
  // storage fault.
  bool AddUser(const QString& name, Role role, const QString& password, qint64 now, QString& error);
  // Removing the last owner is refused: nobody could manage users afterwards.
  bool RemoveUser(const QString& name, QString& error);
  // A new password also ends every session of the user.
  bool ChangePassword(const QString& name, const QString& password, QString& error);

  // On a database without users, creates "owner" with a one-time password and returns it.
  std::optional<QString> CreateFirstOwner(qint64 now, QString& error);

  LoginResult Login(const QString& name, const QString& password, qint64 now);
  // The database decides while it can be read, so a revocation counts at once. While it
  // cannot, a token this service saw valid stays valid until it expires: the rooms can still
  // be read and watched when the database server is down.
  TokenVerdict CheckToken(const QString& token, qint64 now);
  std::optional<Caller> Authenticate(const QString& token, qint64 now) {
    return CheckToken(token, now).caller;
  }
  bool Logout(const QString& token);

 private:
  struct Seen {
    Caller caller;
    qint64 expires = 0;
  };
  void Remember(const QString& tokenHash, const Caller& caller, qint64 expires, qint64 now);
  void ForgetUser(const QString& name);

  static constexpr int kSeenLimit = 10000;

  Store& store_;
  QHash<QString, Seen> seen_;  // by the token's hash
  LoginThrottle throttle_;
};

}  // namespace tavelo::hub
