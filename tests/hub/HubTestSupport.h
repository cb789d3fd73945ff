#pragma once
// The two databases every store test runs against, and the Qt application the SQL drivers
// need.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <memory>
#include <string>

#include "PostgresServer.h"
#include "hub/Accounts.h"
#include "hub/Database.h"
#include "hub/DatabaseLocation.h"
#include "hub/Store.h"

namespace tavelo::hubtest {

inline QCoreApplication& App() {
  static int argc = 1;
  static char name[] = "tavelo_tests_hub";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* app = new QCoreApplication(argc, argv);
  return *app;
}

inline std::string BackendName(const ::testing::TestParamInfo<std::string>& info) {
  return info.param;
}

// A test over both databases: an empty one of the kind the parameter names.
class BothDatabases : public ::testing::TestWithParam<std::string> {
 protected:
  void SetUp() override {
    App();
    if (GetParam() == "Postgres") {
      PostgresServer& server = SharedPostgres();
      ASSERT_TRUE(server.Running()) << server.Problem().toStdString();
      location_ = server.FreshDatabase();
      ASSERT_TRUE(server.Problem().isEmpty()) << server.Problem().toStdString();
    } else {
      ASSERT_TRUE(dir_.isValid());
      location_.file = dir_.filePath(QStringLiteral("hub.sqlite"));
    }
  }
  const hub::DatabaseLocation& Location() const { return location_; }

 private:
  QTemporaryDir dir_;
  hub::DatabaseLocation location_;
};

// A test over both databases with the store and its accounts open on the empty one.
class BothDatabasesWithStore : public BothDatabases {
 protected:
  void SetUp() override {
    BothDatabases::SetUp();
    if (HasFatalFailure()) return;
    QString error;
    ASSERT_TRUE(db_.Open(Location(), error)) << error.toStdString();
    store_ = std::make_unique<hub::Store>(db_);
    accounts_ = std::make_unique<hub::Accounts>(*store_);
  }

  hub::Database db_;
  std::unique_ptr<hub::Store> store_;
  std::unique_ptr<hub::Accounts> accounts_;
};

#define TAVELO_BOTH_DATABASES(Suite)                                                  \
  INSTANTIATE_TEST_SUITE_P(Databases, Suite, ::testing::Values("Sqlite", "Postgres"), \
                           ::tavelo::hubtest::BackendName)

}  // namespace tavelo::hubtest
