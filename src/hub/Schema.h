#pragma once
// The database's tables, as forward-only migrations: migration N turns a schema-(N-1)
// database into a schema-N one. A database never goes backwards; a newer one is refused.
#include <QString>
#include <QStringList>
#include <vector>

namespace tavelo::hub {

enum class SqlDialect { Sqlite, Postgres };

struct Migration {
  int version;
  // Statements with {id} for an auto-numbered key column and {blob} for a byte column.
  std::vector<const char*> statements;
};

const std::vector<Migration>& Migrations();
int LatestSchemaVersion();

// One statement with the dialect's words in place of {id} and {blob}.
QString ForDialect(const char* statement, SqlDialect dialect);

}  // namespace tavelo::hub
