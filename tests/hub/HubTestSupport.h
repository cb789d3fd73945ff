#pragma once
// The two databases every store test runs against, and the Qt application the SQL drivers
// need.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <string>

#include "PostgresServer.h"
#include "hub/DatabaseLocation.h"

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

#define TAVELO_BOTH_DATABASES(Suite)                                                  \
  INSTANTIATE_TEST_SUITE_P(Databases, Suite, ::testing::Values("Sqlite", "Postgres"), \
                           ::tavelo::hubtest::BackendName)

}  // namespace tavelo::hubtest
