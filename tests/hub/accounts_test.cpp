// Users and logins: Argon2id hashes, tokens that expire and are revoked, slowed guessing,
// the first owner, and the last owner kept.
#include "hub/Accounts.h"

#include "HubTestSupport.h"
#include "hub/Secrets.h"

namespace tavelo::hub {
namespace {

class AccountsTest : public hubtest::BothDatabasesWithStore {};

TEST_P(AccountsTest, FirstOwnerLogsInOnceWithTheOneTimePassword) {
  QString error;
  const auto password = accounts_->CreateFirstOwner(1000, error);
  ASSERT_TRUE(password) << error.toStdString();
  EXPECT_EQ(password->size(), 16);
  EXPECT_FALSE(accounts_->CreateFirstOwner(1000, error));  // only on an empty database
  EXPECT_TRUE(
      store_->User(QStringLiteral("owner"))->passwordHash.startsWith(QStringLiteral("$argon2id$")));

  const LoginResult login = accounts_->Login(QStringLiteral("owner"), *password, 2000);
  ASSERT_EQ(login.outcome, LoginResult::Outcome::Ok);
  EXPECT_EQ(login.role, Role::Owner);
  const auto caller = accounts_->Authenticate(login.token, 3000);
  ASSERT_TRUE(caller);
  EXPECT_EQ(caller->name, QStringLiteral("owner"));
  EXPECT_FALSE(accounts_->Authenticate(login.token, 2000 + Accounts::kTokenLifetimeMs));
  ASSERT_TRUE(accounts_->Logout(login.token));
  EXPECT_FALSE(accounts_->Authenticate(login.token, 3000));
  EXPECT_FALSE(accounts_->Authenticate(QStringLiteral("short"), 3000));
}

TEST_P(AccountsTest, WrongPasswordsAreSlowedDownPerName) {
  QString error;
  ASSERT_TRUE(
      accounts_->AddUser(QStringLiteral("sam"), Role::Staff, QStringLiteral("right"), 0, error));
  EXPECT_EQ(accounts_->Login(QStringLiteral("sam"), QStringLiteral("wrong"), 0).outcome,
            LoginResult::Outcome::WrongPair);
  const LoginResult soon = accounts_->Login(QStringLiteral("sam"), QStringLiteral("right"), 100);
  EXPECT_EQ(soon.outcome, LoginResult::Outcome::TooSoon);
  EXPECT_EQ(soon.retryAfterMs, 400);
  // A second failure doubles the wait.
  EXPECT_EQ(accounts_->Login(QStringLiteral("sam"), QStringLiteral("wrong"), 500).outcome,
            LoginResult::Outcome::WrongPair);
  EXPECT_EQ(accounts_->Login(QStringLiteral("sam"), QStringLiteral("right"), 1400).outcome,
            LoginResult::Outcome::TooSoon);
  EXPECT_EQ(accounts_->Login(QStringLiteral("sam"), QStringLiteral("right"), 1500).outcome,
            LoginResult::Outcome::Ok);
  // Unknown names fail the same way and do not reveal themselves.
  EXPECT_EQ(accounts_->Login(QStringLiteral("nobody"), QStringLiteral("x"), 0).outcome,
            LoginResult::Outcome::WrongPair);
}

TEST_P(AccountsTest, PasswordChangeEndsSessionsAndTheLastOwnerStays) {
  QString error;
  ASSERT_TRUE(
      accounts_->AddUser(QStringLiteral("ann"), Role::Owner, QStringLiteral("pw1"), 0, error));
  ASSERT_TRUE(
      accounts_->AddUser(QStringLiteral("ian"), Role::Installer, QStringLiteral("pw2"), 0, error));
  EXPECT_FALSE(
      accounts_->AddUser(QStringLiteral("bad name"), Role::Staff, QStringLiteral("x"), 0, error));
  EXPECT_FALSE(accounts_->AddUser(QStringLiteral("eve"), Role::Staff, QString(), 0, error));
  EXPECT_EQ(error, QStringLiteral("the password is empty"));

  const LoginResult login = accounts_->Login(QStringLiteral("ian"), QStringLiteral("pw2"), 0);
  ASSERT_EQ(login.outcome, LoginResult::Outcome::Ok);
  ASSERT_TRUE(accounts_->ChangePassword(QStringLiteral("ian"), QStringLiteral("pw3"), error));
  EXPECT_FALSE(accounts_->Authenticate(login.token, 1));
  EXPECT_EQ(accounts_->Login(QStringLiteral("ian"), QStringLiteral("pw3"), 0).outcome,
            LoginResult::Outcome::Ok);

  EXPECT_FALSE(accounts_->RemoveUser(QStringLiteral("ann"), error));
  EXPECT_TRUE(error.contains(QStringLiteral("only owner"))) << error.toStdString();
  EXPECT_TRUE(accounts_->RemoveUser(QStringLiteral("ian"), error));
  EXPECT_FALSE(accounts_->RemoveUser(QStringLiteral("ian"), error));
}

TAVELO_BOTH_DATABASES(AccountsTest);

}  // namespace
}  // namespace tavelo::hub
