// What the store keeps: versions only on change, contents once by hash and byte-exact, caps,
// users and tokens.
#include "HubTestSupport.h"
#include "hub/Database.h"
#include "hub/Store.h"
#include "hub/StoreSupport.h"

namespace tavelo::hub {
namespace {

class StoreTest : public hubtest::BothDatabasesWithStore {
 protected:
  int Count(const char* table) {
    QSqlQuery query(db_.Sql());
    EXPECT_TRUE(query.exec(QStringLiteral("SELECT COUNT(*) FROM ") + QLatin1String(table)));
    return query.next() ? query.value(0).toInt() : -1;
  }
};

QByteArray Preset(char fill) {
  QByteArray bytes(1140, fill);
  bytes[0] = '\0';  // zero bytes and high bytes survive the trip
  bytes[1] = static_cast<char>(0xFF);
  return bytes;
}

TEST_P(StoreTest, VersionsAreRecordedOnChangeAndContentsKeptOnce) {
  ASSERT_TRUE(store_->PutRoom(QStringLiteral("room-01"), QStringLiteral("127.0.0.1"), 7000));
  ASSERT_TRUE(store_->PutRoom(QStringLiteral("room-02"), QStringLiteral("127.0.0.1"), 7001));
  const Recorded first = store_->RecordVersion(QStringLiteral("room-01"), 0, Preset('a'), 1000,
                                               QStringLiteral("download"), {});
  ASSERT_TRUE(first.ok) << store_->lastError().toStdString();
  EXPECT_TRUE(first.added);
  const Recorded same = store_->RecordVersion(QStringLiteral("room-01"), 0, Preset('a'), 2000,
                                              QStringLiteral("download"), {});
  ASSERT_TRUE(same.ok);
  EXPECT_FALSE(same.added);
  const Recorded changed = store_->RecordVersion(QStringLiteral("room-01"), 0, Preset('b'), 3000,
                                                 QStringLiteral("api"), QStringLiteral("ann"));
  ASSERT_TRUE(changed.ok);
  EXPECT_TRUE(changed.added);
  EXPECT_GT(changed.id, first.id);
  // The same bytes in another room or slot: a version each, one content.
  EXPECT_TRUE(store_
                  ->RecordVersion(QStringLiteral("room-02"), 3, Preset('a'), 4000,
                                  QStringLiteral("outside"), {})
                  .added);
  EXPECT_EQ(Count("versions"), 3);
  EXPECT_EQ(Count("contents"), 2);

  const auto history = store_->History(QStringLiteral("room-01"), 10);
  ASSERT_TRUE(history);
  ASSERT_EQ(history->size(), 2u);
  EXPECT_EQ((*history)[0].id, changed.id);  // newest first
  EXPECT_EQ((*history)[0].source, QStringLiteral("api"));
  EXPECT_EQ((*history)[0].user, QStringLiteral("ann"));
  EXPECT_EQ((*history)[1].time, 1000);
  EXPECT_TRUE((*history)[1].user.isEmpty());

  const auto version = store_->Version(first.id);
  ASSERT_TRUE(version);
  EXPECT_EQ(version->room, QStringLiteral("room-01"));
  const auto bytes = store_->Content(version->contentHash);
  ASSERT_TRUE(bytes);
  EXPECT_EQ(*bytes, Preset('a'));

  EXPECT_FALSE(store_->Version(999999));
  EXPECT_FALSE(store_->History(QStringLiteral("nowhere"), 10));
  EXPECT_TRUE(store_->lastError().contains(QStringLiteral("nowhere")));
  EXPECT_FALSE(store_->RecordVersion(QStringLiteral("nowhere"), 0, Preset('a'), 1, {}, {}).ok);
}

TEST_P(StoreTest, ContentThatNoLongerMatchesItsHashIsRefused) {
  ASSERT_TRUE(store_->PutRoom(QStringLiteral("r"), QStringLiteral("127.0.0.1"), 7000));
  const Recorded recorded =
      store_->RecordVersion(QStringLiteral("r"), 0, Preset('c'), 1, QStringLiteral("download"), {});
  ASSERT_TRUE(recorded.ok);
  QSqlQuery query(db_.Sql());
  ASSERT_TRUE(query.prepare(QStringLiteral("UPDATE contents SET bytes = ?")));
  query.addBindValue(Preset('d'));
  ASSERT_TRUE(query.exec());
  EXPECT_FALSE(store_->Content(Store::ContentHash(Preset('c'))));
  EXPECT_TRUE(store_->lastError().contains(QStringLiteral("does not match")));
}

TEST_P(StoreTest, RoomsCapsAndSettings) {
  ASSERT_TRUE(store_->PutRoom(QStringLiteral("r1"), QStringLiteral("127.0.0.1"), 7000));
  const auto id = store_->PutRoom(QStringLiteral("r1"), QStringLiteral("127.0.0.2"), 7002);
  ASSERT_TRUE(id);
  const auto rooms = store_->Rooms();
  ASSERT_TRUE(rooms);
  ASSERT_EQ(rooms->size(), 1u);
  EXPECT_EQ(rooms->front().host, QStringLiteral("127.0.0.2"));
  EXPECT_EQ(rooms->front().port, 7002);

  ASSERT_TRUE(store_->SetCaps(QStringLiteral("r1"), {{QStringLiteral("music.volume"), 70},
                                                     {QStringLiteral("mic.volume"), 60}}));
  ASSERT_TRUE(store_->SetCaps(QStringLiteral("r1"), {{QStringLiteral("music.volume"), 50}}));
  const auto caps = store_->Caps(QStringLiteral("r1"));
  ASSERT_TRUE(caps);
  EXPECT_EQ(*caps, (std::map<QString, int>{{QStringLiteral("music.volume"), 50}}));
  EXPECT_FALSE(store_->SetCaps(QStringLiteral("r9"), {}));

  ASSERT_TRUE(store_->RecordVersion(QStringLiteral("r1"), 0, Preset('a'), 1, {}, {}).ok);
  ASSERT_TRUE(store_->RemoveRoom(QStringLiteral("r1")));
  EXPECT_EQ(Count("versions"), 0);
  EXPECT_EQ(Count("room_caps"), 0);
  EXPECT_FALSE(store_->RemoveRoom(QStringLiteral("r1")));

  EXPECT_FALSE(store_->Setting(QStringLiteral("staff.names")));
  EXPECT_TRUE(store_->lastError().isEmpty());
  ASSERT_TRUE(store_->SetSetting(QStringLiteral("staff.names"), QStringLiteral("a")));
  ASSERT_TRUE(store_->SetSetting(QStringLiteral("staff.names"), QStringLiteral("b")));
  EXPECT_EQ(store_->Setting(QStringLiteral("staff.names")), QStringLiteral("b"));

  ASSERT_TRUE(
      store_->Audit({5, QStringLiteral("ann"), QStringLiteral("127.0.0.1"), QStringLiteral("r1"),
                     QStringLiteral("music.volume"), QStringLiteral("40"), QStringLiteral("50")}));
  const auto log = store_->AuditLog(QStringLiteral("r1"), 10);
  ASSERT_TRUE(log);
  ASSERT_EQ(log->size(), 1u);
  EXPECT_EQ(log->front().newValue, QStringLiteral("50"));
}

TEST_P(StoreTest, UsersAndTokensExpireAndAreRevoked) {
  ASSERT_TRUE(
      store_->AddUser(QStringLiteral("ann"), QStringLiteral("owner"), QStringLiteral("h1"), 1));
  EXPECT_FALSE(
      store_->AddUser(QStringLiteral("ann"), QStringLiteral("staff"), QStringLiteral("h2"), 1));
  EXPECT_TRUE(store_->lastError().contains(QStringLiteral("already exists")));
  const auto ann = store_->User(QStringLiteral("ann"));
  ASSERT_TRUE(ann);
  EXPECT_EQ(ann->role, QStringLiteral("owner"));

  ASSERT_TRUE(store_->AddToken(QStringLiteral("t1"), ann->id, 1000));
  ASSERT_TRUE(store_->AddToken(QStringLiteral("t2"), ann->id, 1000));
  EXPECT_TRUE(store_->TokenUser(QStringLiteral("t1"), 999));
  EXPECT_FALSE(store_->TokenUser(QStringLiteral("t1"), 1000));  // expired
  ASSERT_TRUE(store_->RevokeToken(QStringLiteral("t2")));
  EXPECT_FALSE(store_->TokenUser(QStringLiteral("t2"), 1));
  EXPECT_FALSE(store_->TokenUser(QStringLiteral("unknown"), 1));

  ASSERT_TRUE(store_->SetPasswordHash(QStringLiteral("ann"), QStringLiteral("h3")));
  EXPECT_EQ(store_->User(QStringLiteral("ann"))->passwordHash, QStringLiteral("h3"));
  ASSERT_TRUE(store_->RemoveUser(QStringLiteral("ann")));
  EXPECT_FALSE(store_->TokenUser(QStringLiteral("t1"), 1));
  EXPECT_EQ(Count("tokens"), 0);
  EXPECT_FALSE(store_->SetPasswordHash(QStringLiteral("ann"), QStringLiteral("h4")));
}

TAVELO_BOTH_DATABASES(StoreTest);

}  // namespace
}  // namespace tavelo::hub
