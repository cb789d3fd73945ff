#include "hub/Accounts.h"

#include <algorithm>

#include "hub/Secrets.h"

namespace tavelo::hub {

bool Accounts::ValidName(const QString& name) {
  if (name.isEmpty() || name.size() > 64) return false;
  return std::all_of(name.begin(), name.end(), [](QChar c) {
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('0') && c <= QLatin1Char('9')) || c == QLatin1Char('.') ||
           c == QLatin1Char('_') || c == QLatin1Char('-') || c == QLatin1Char('@');
  });
}

bool Accounts::AddUser(const QString& name, Role role, const QString& password, qint64 now,
                       QString& error) {
  if (!ValidName(name)) {
    error = QStringLiteral("a user name is 1..64 letters, digits, '.', '_', '-' or '@'");
    return false;
  }
  if (password.isEmpty()) {
    error = QStringLiteral("the password is empty");
    return false;
  }
  const QString hash = HashPassword(password);
  if (hash.isEmpty()) {
    error = QStringLiteral("the password could not be hashed (out of memory?)");
    return false;
  }
  if (!store_.AddUser(name, RoleName(role), hash, now)) {
    error = store_.lastError();
    return false;
  }
  return true;
}

bool Accounts::RemoveUser(const QString& name, QString& error) {
  const auto users = store_.Users();
  if (!users) {
    error = store_.lastError();
    return false;
  }
  const auto owners = std::count_if(users->begin(), users->end(), [](const StoredUser& u) {
    return u.role == RoleName(Role::Owner);
  });
  const auto it = std::find_if(users->begin(), users->end(),
                               [&](const StoredUser& u) { return u.name == name; });
  if (it != users->end() && it->role == RoleName(Role::Owner) && owners == 1) {
    error = QStringLiteral("\"%1\" is the only owner; add another owner first").arg(name);
    return false;
  }
  ForgetUser(name);
  if (!store_.RemoveUser(name)) {
    error = store_.lastError();
    return false;
  }
  return true;
}

bool Accounts::ChangePassword(const QString& name, const QString& password, QString& error) {
  if (password.isEmpty()) {
    error = QStringLiteral("the password is empty");
    return false;
  }
  const auto user = store_.User(name);
  if (!user) {
    error = store_.lastError().isEmpty() ? QStringLiteral("no user is named \"%1\"").arg(name)
                                         : store_.lastError();
    return false;
  }
  ForgetUser(name);
  const QString hash = HashPassword(password);
  if (hash.isEmpty() || !store_.SetPasswordHash(name, hash) || !store_.RevokeTokensOf(user->id)) {
    error =
        hash.isEmpty() ? QStringLiteral("the password could not be hashed") : store_.lastError();
    return false;
  }
  return true;
}

std::optional<QString> Accounts::CreateFirstOwner(qint64 now, QString& error) {
  const auto users = store_.Users();
  if (!users) {
    error = store_.lastError();
    return std::nullopt;
  }
  if (!users->empty()) return std::nullopt;
  const QString password = NewOneTimePassword();
  if (!AddUser(QStringLiteral("owner"), Role::Owner, password, now, error)) return std::nullopt;
  return password;
}

LoginResult Accounts::Login(const QString& name, const QString& password, qint64 now) {
  LoginResult result;
  if (const qint64 wait = throttle_.WaitFor(name, now); wait > 0) {
    result.outcome = LoginResult::Outcome::TooSoon;
    result.retryAfterMs = wait;
    return result;
  }
  const auto user = store_.User(name);
  if (!user && !store_.lastError().isEmpty()) {
    result.outcome = LoginResult::Outcome::StorageFault;
    result.error = store_.lastError();
    return result;
  }
  // An unknown name costs a hash too, so the reply time does not tell which names exist.
  static const QString kDecoy = HashPassword(QStringLiteral("decoy"));
  const bool matches = PasswordMatches(password, user ? user->passwordHash : kDecoy) && user;
  const auto role = user ? ParseRole(user->role) : std::nullopt;
  if (!matches || !role) {
    throttle_.Failed(name, now);
    return result;
  }
  const QString token = NewToken();
  if (!store_.AddToken(TokenHash(token), user->id, now + kTokenLifetimeMs)) {
    result.outcome = LoginResult::Outcome::StorageFault;
    result.error = store_.lastError();
    return result;
  }
  throttle_.Succeeded(name);
  Remember(TokenHash(token), {user->name, *role}, now + kTokenLifetimeMs, now);
  result.outcome = LoginResult::Outcome::Ok;
  result.token = token;
  result.role = *role;
  return result;
}

void Accounts::Remember(const QString& tokenHash, const Caller& caller, qint64 expires,
                        qint64 now) {
  if (seen_.size() >= kSeenLimit) {
    for (auto it = seen_.begin(); it != seen_.end();)
      it = it->expires <= now ? seen_.erase(it) : ++it;
    if (seen_.size() >= kSeenLimit) seen_.clear();
  }
  seen_.insert(tokenHash, {caller, expires});
}

void Accounts::ForgetUser(const QString& name) {
  for (auto it = seen_.begin(); it != seen_.end();)
    it = it->caller.name == name ? seen_.erase(it) : ++it;
}

TokenVerdict Accounts::CheckToken(const QString& token, qint64 now) {
  TokenVerdict verdict;
  if (token.size() != 64) return verdict;
  const QString hash = TokenHash(token);
  qint64 expires = 0;
  const auto user = store_.TokenUser(hash, now, &expires);
  if (!user && store_.lastFault() != Database::Fault::None) {
    const auto it = seen_.constFind(hash);
    if (it != seen_.constEnd() && it->expires > now) {
      verdict.caller = it->caller;
      return verdict;
    }
    verdict.storageFault = true;
    verdict.error = store_.lastError();
    return verdict;
  }
  const auto role = user ? ParseRole(user->role) : std::nullopt;
  if (!role) {
    seen_.remove(hash);
    return verdict;
  }
  verdict.caller = Caller{user->name, *role};
  Remember(hash, *verdict.caller, expires, now);
  return verdict;
}

bool Accounts::Logout(const QString& token) {
  const QString hash = TokenHash(token);
  seen_.remove(hash);
  return store_.RevokeToken(hash);
}

}  // namespace tavelo::hub
