#pragma once
// Running one prepared statement for the store: bind, execute, and on failure the driver's
// reason in words.
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>
#include <initializer_list>

namespace tavelo::hub {

inline QString SqlWhy(const QSqlError& error) {
  const QString text = error.text().trimmed();
  return text.isEmpty() ? QStringLiteral("the database gave no reason") : text;
}

// Prepares `sql`, binds `values` in order and executes it; false with `why` set on failure.
inline bool RunStatement(QSqlQuery& query, const QString& sql,
                         std::initializer_list<QVariant> values, QString& why) {
  if (!query.prepare(sql)) {
    why = SqlWhy(query.lastError());
    return false;
  }
  for (const QVariant& value : values) query.addBindValue(value);
  if (!query.exec()) {
    why = SqlWhy(query.lastError());
    return false;
  }
  return true;
}

}  // namespace tavelo::hub
