#pragma once
// Users, logins and bearer tokens over the store.
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
  std::optional<Caller> Authenticate(const QString& token, qint64 now);
  bool Logout(const QString& token);

 private:
  Store& store_;
  LoginThrottle throttle_;
};

}  // namespace tavelo::hub
