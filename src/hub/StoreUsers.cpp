// The store's users and bearer tokens.
#include "hub/Store.h"
#include "hub/StoreSupport.h"

namespace tavelo::hub {

namespace {

StoredUser UserFrom(const QSqlQuery& query) {
  return {query.value(0).toLongLong(), query.value(1).toString(), query.value(2).toString(),
          query.value(3).toString()};
}

}  // namespace

bool Store::AddUser(const QString& name, const QString& role, const QString& passwordHash,
                    qint64 time) {
  if (User(name)) return Fail(QStringLiteral("a user named \"%1\" already exists").arg(name));
  if (!error_.isEmpty()) return false;
  QSqlQuery query(db_.Sql());
  return Run(query,
             QStringLiteral("INSERT INTO users (name, role, password_hash, created) VALUES (?, ?, "
                            "?, ?)"),
             {name, role, passwordHash, time}, error_);
}

bool Store::RemoveUser(const QString& name) {
  QSqlQuery query(db_.Sql());
  if (!Run(query, QStringLiteral("DELETE FROM users WHERE name = ?"), {name}, error_)) return false;
  if (query.numRowsAffected() == 0)
    return Fail(QStringLiteral("no user is named \"%1\"").arg(name));
  return true;
}

bool Store::SetPasswordHash(const QString& name, const QString& passwordHash) {
  QSqlQuery query(db_.Sql());
  if (!Run(query, QStringLiteral("UPDATE users SET password_hash = ? WHERE name = ?"),
           {passwordHash, name}, error_))
    return false;
  if (query.numRowsAffected() == 0)
    return Fail(QStringLiteral("no user is named \"%1\"").arg(name));
  return true;
}

std::optional<StoredUser> Store::User(const QString& name) {
  error_.clear();
  fault_ = Database::Fault::None;
  QSqlQuery query(db_.Sql());
  if (!Run(query, QStringLiteral("SELECT id, name, role, password_hash FROM users WHERE name = ?"),
           {name}, error_) ||
      !query.next())
    return std::nullopt;
  return UserFrom(query);
}

std::optional<std::vector<StoredUser>> Store::Users() {
  QSqlQuery query(db_.Sql());
  if (!Run(query, QStringLiteral("SELECT id, name, role, password_hash FROM users ORDER BY name"),
           {}, error_))
    return std::nullopt;
  std::vector<StoredUser> users;
  while (query.next()) users.push_back(UserFrom(query));
  return users;
}

bool Store::AddToken(const QString& tokenHash, qint64 userId, qint64 expires) {
  QSqlQuery query(db_.Sql());
  return Run(query,
             QStringLiteral("INSERT INTO tokens (token_hash, user_id, expires) VALUES (?, ?, ?)"),
             {tokenHash, userId, expires}, error_);
}

std::optional<StoredUser> Store::TokenUser(const QString& tokenHash, qint64 now, qint64* expires) {
  error_.clear();
  fault_ = Database::Fault::None;
  QSqlQuery query(db_.Sql());
  if (!Run(query,
           QStringLiteral("SELECT u.id, u.name, u.role, u.password_hash, t.expires FROM tokens t "
                          "JOIN users "
                          "u ON u.id = t.user_id WHERE t.token_hash = ? AND t.revoked = 0 AND "
                          "t.expires > ?"),
           {tokenHash, now}, error_) ||
      !query.next())
    return std::nullopt;
  if (expires) *expires = query.value(4).toLongLong();
  return UserFrom(query);
}

bool Store::RevokeToken(const QString& tokenHash) {
  QSqlQuery query(db_.Sql());
  return Run(query, QStringLiteral("UPDATE tokens SET revoked = 1 WHERE token_hash = ?"),
             {tokenHash}, error_);
}

bool Store::RevokeTokensOf(qint64 userId) {
  QSqlQuery query(db_.Sql());
  return Run(query, QStringLiteral("UPDATE tokens SET revoked = 1 WHERE user_id = ?"), {userId},
             error_);
}

}  // namespace tavelo::hub
