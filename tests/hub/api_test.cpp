// The API as a plain class over a real store and a stand-in for the rooms: logins, the
// values in `show --json` form, and the write rules (all or nothing, 403/409/422).
#include "hub/Api.h"

#include <QJsonArray>
#include <QJsonDocument>

#include "ApiCalls.h"
#include "HubTestSupport.h"
#include "StandInVenue.h"
#include "core/params/ParamImage.h"
#include "core/presets/FileReport.h"
#include "core/presets/ParamFile.h"

namespace tavelo::hub {
namespace {

using hubtest::FileOf;

class ApiTest : public hubtest::BothDatabasesWithStore {
 protected:
  void SetUp() override {
    BothDatabasesWithStore::SetUp();
    if (HasFatalFailure()) return;
    QString error;
    api_ = std::make_unique<Api>(*store_, *accounts_, rooms_, [this] { return now_; });
    ASSERT_TRUE(store_->PutRoom(QStringLiteral("room-01"), QStringLiteral("127.0.0.1"), 7000));
    ASSERT_TRUE(accounts_->AddUser(QStringLiteral("ian"), Role::Installer, QStringLiteral("pw-i"),
                                   0, error));
    ASSERT_TRUE(
        accounts_->AddUser(QStringLiteral("sam"), Role::Staff, QStringLiteral("pw-s"), 0, error));
    installer_ = Login("ian", "pw-i");
    staff_ = Login("sam", "pw-s");
  }
  QByteArray Login(const char* user, const char* password) {
    return hubtest::LoginHeader(*api_, user, password);
  }
  ApiReply Call(const QByteArray& method, const QString& path, const QByteArray& auth,
                const QByteArray& body = {}) {
    return hubtest::CallApi(*api_, method, path, auth, body);
  }
  QString ErrorOf(const ApiReply& reply) {
    return QJsonDocument::fromJson(reply.body).object().value(QStringLiteral("error")).toString();
  }

  qint64 now_ = 1000;
  hubtest::StandInVenue rooms_;
  hubtest::StandInVenue::Held& room_ = hubtest::AddPartyRoom(rooms_);
  std::unique_ptr<Api> api_;
  QByteArray installer_;
  QByteArray staff_;
};

TEST_P(ApiTest, LoginTokensAndTheOpenDocument) {
  EXPECT_EQ(Call("POST", "/api/v1/session", {}, R"({"user": "ian", "password": "no"})").status,
            401);
  EXPECT_EQ(Call("POST", "/api/v1/session", {}, R"({"user": "ian")").status, 400);
  EXPECT_EQ(Call("GET", "/api/v1/rooms", {}).status, 401);
  EXPECT_EQ(Call("GET", "/api/v1/rooms", "Bearer 0123").status, 401);

  const ApiReply rooms = Call("GET", "/api/v1/rooms", staff_);
  ASSERT_EQ(rooms.status, 200);
  const QJsonObject room = QJsonDocument::fromJson(rooms.body).array().at(0).toObject();
  EXPECT_EQ(room.value(QStringLiteral("name")).toString(), QStringLiteral("room-01"));
  EXPECT_TRUE(room.value(QStringLiteral("online")).toBool());
  EXPECT_EQ(room.value(QStringLiteral("preset")).toInt(), 3);
  EXPECT_EQ(room.value(QStringLiteral("preset_name")).toString(), QStringLiteral("Party"));

  now_ += Accounts::kTokenLifetimeMs;
  EXPECT_EQ(Call("GET", "/api/v1/rooms", staff_).status, 401);

  const ApiReply doc = Call("GET", "/api/v1/openapi.json", {});
  ASSERT_EQ(doc.status, 200);
  const QJsonObject paths =
      QJsonDocument::fromJson(doc.body).object().value(QStringLiteral("paths")).toObject();
  for (const char* path :
       {"/api/v1/session", "/api/v1/rooms", "/api/v1/rooms/{name}/values",
        "/api/v1/rooms/{name}/recall", "/api/v1/rooms/{name}/caps", "/api/v1/rooms/{name}/history"})
    EXPECT_TRUE(paths.contains(QLatin1String(path))) << path;
}

TEST_P(ApiTest, ValuesAreTheShowJsonBytes) {
  const ApiReply values = Call("GET", "/api/v1/rooms/room-01/values", staff_);
  ASSERT_EQ(values.status, 200);
  const QByteArray set = FileOf(room_.image);
  const DescribedFile file = DescribeFileBytes(
      reinterpret_cast<const std::uint8_t*>(set.constData()), static_cast<std::size_t>(set.size()));
  EXPECT_EQ(values.body.toStdString(), FieldsAsJson(file.kind, file.fields));
  EXPECT_EQ(Call("GET", "/api/v1/rooms/room-99/values", staff_).status, 404);
}

TEST_P(ApiTest, WritesPassWholeOrNotAtAll) {
  ASSERT_EQ(Call("PUT", "/api/v1/rooms/room-01/caps", installer_, R"({"music.volume": 70})").status,
            200);
  EXPECT_EQ(Call("PUT", "/api/v1/rooms/room-01/caps", staff_, R"({"music.volume": 80})").status,
            403);
  EXPECT_EQ(Call("PUT", "/api/v1/rooms/room-01/caps", installer_, R"({"music.bogus": 80})").status,
            422);

  struct Case {
    const QByteArray* who;
    const char* body;
    int status;
  };
  const Case refused[] = {
      {&staff_, R"({"music.volume": 71})", 403},
      {&staff_, R"({"music.volume": 60, "mic.comp_ratio": 4})", 403},
      {&installer_, R"({"music.volume": 71})", 403},
      {&installer_, R"({"music.volume": 60, "music.bogus": 1})", 422},
      {&installer_, R"({"music.volume": 200})", 422},
      {&installer_, R"({"music.volume": 60)", 400},
      {&installer_, R"([1, 2])", 400},
  };
  for (const Case& c : refused)
    EXPECT_EQ(Call("PATCH", "/api/v1/rooms/room-01/values", *c.who, c.body).status, c.status)
        << c.body;
  EXPECT_EQ(Call("PATCH", "/api/v1/rooms/room-01/values", installer_,
                 QByteArray(Api::kMaxBodyBytes + 1, ' '))
                .status,
            413);
  EXPECT_EQ(room_.writes, 0);

  const ApiReply ok = Call("PATCH", "/api/v1/rooms/room-01/values", installer_,
                           R"({"music.volume": 70, "mic.comp_ratio": 4})");
  ASSERT_EQ(ok.status, 200) << ok.body.toStdString();
  EXPECT_EQ(room_.writes, 1);
  const QJsonObject stored = QJsonDocument::fromJson(ok.body).object();
  EXPECT_EQ(stored.value(QStringLiteral("music.volume")).toInt(), 70);
  const auto audit = store_->AuditLog(QStringLiteral("room-01"), 10);
  ASSERT_TRUE(audit);
  ASSERT_GE(audit->size(), 2u);
  EXPECT_EQ(audit->front().user, QStringLiteral("ian"));

  room_.view.online = false;
  const ApiReply offline =
      Call("PATCH", "/api/v1/rooms/room-01/values", staff_, R"({"music.volume": 10})");
  EXPECT_EQ(offline.status, 409);
  EXPECT_TRUE(QJsonDocument::fromJson(offline.body).object().contains(QStringLiteral("room")));
  EXPECT_EQ(Call("POST", "/api/v1/rooms/room-01/recall", staff_, R"({"preset": 2})").status, 409);
  EXPECT_EQ(room_.writes, 1);
}

TEST_P(ApiTest, AChangeTheRoomDoesNotTakeIsAnsweredByWhy) {
  struct Case {
    RoomFault fault;
    int status;
  };
  const Case cases[] = {{RoomFault::kRefused, 422},
                        {RoomFault::kOffline, 409},
                        {RoomFault::kLink, 502},
                        {RoomFault::kTimedOut, 504}};
  for (const Case& c : cases) {
    rooms_.failuresLeft = 2;
    rooms_.failure = c.fault;
    const ApiReply write =
        Call("PATCH", "/api/v1/rooms/room-01/values", staff_, R"({"music.volume": 10})");
    EXPECT_EQ(write.status, c.status);
    EXPECT_EQ(ErrorOf(write), QStringLiteral("the processor did not answer"));
    EXPECT_EQ(Call("POST", "/api/v1/rooms/room-01/recall", staff_, R"({"preset": 2})").status,
              c.status);
  }
  EXPECT_EQ(room_.writes + room_.recalls, 0);
  const auto audit = store_->AuditLog(QStringLiteral("room-01"), 10);
  ASSERT_TRUE(audit);
  EXPECT_TRUE(audit->empty()) << "a change the room did not take was audited";

  // The user who asked travels with the change.
  ASSERT_EQ(Call("POST", "/api/v1/rooms/room-01/recall", staff_, R"({"preset": 2})").status, 200);
  EXPECT_EQ(room_.lastUser, QStringLiteral("sam"));
}

TEST_P(ApiTest, ChangesGoOutAsEventsTaggedWithTheirSource) {
  std::vector<QJsonObject> events;
  api_->SetEventSink([&events](const QJsonObject& event) { events.push_back(event); });
  ASSERT_EQ(Call("PATCH", "/api/v1/rooms/room-01/values", staff_, R"({"music.volume": 41})").status,
            200);
  EXPECT_EQ(
      Call("PATCH", "/api/v1/rooms/room-01/values", staff_, R"({"mic.comp_ratio": 4})").status,
      403);
  ASSERT_EQ(Call("POST", "/api/v1/rooms/room-01/recall", staff_, R"({"preset": 5})").status, 200);
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0].value(QStringLiteral("room")).toString(), QStringLiteral("room-01"));
  EXPECT_EQ(events[0].value(QStringLiteral("source")).toString(), QStringLiteral("api"));
  EXPECT_EQ(events[0].value(QStringLiteral("user")).toString(), QStringLiteral("sam"));
  EXPECT_EQ(events[0]
                .value(QStringLiteral("values"))
                .toObject()
                .value(QStringLiteral("music.volume"))
                .toInt(),
            41);
  EXPECT_EQ(events[1].value(QStringLiteral("preset")).toInt(), 5);
}

TEST_P(ApiTest, RecallAndHistoryWithChangesByName) {
  EXPECT_EQ(Call("POST", "/api/v1/rooms/room-01/recall", staff_, R"({"preset": 11})").status, 422);
  EXPECT_EQ(Call("POST", "/api/v1/rooms/room-01/recall", staff_, R"({"preset": 2.5})").status, 422);
  ASSERT_EQ(Call("POST", "/api/v1/rooms/room-01/recall", staff_, R"({"preset": 2})").status, 200);
  EXPECT_EQ(room_.view.preset, 2);

  ParamImage image = room_.image;
  ASSERT_TRUE(store_
                  ->RecordVersion(QStringLiteral("room-01"), 0, FileOf(image), 1,
                                  QStringLiteral("download"), {})
                  .added);
  std::string error;
  ApplyNamedEdit(image, *ParseNamedEdit("music.volume=33", error));
  ASSERT_TRUE(store_
                  ->RecordVersion(QStringLiteral("room-01"), 0, FileOf(image), 2,
                                  QStringLiteral("outside"), {})
                  .added);
  const ApiReply history = Call("GET", "/api/v1/rooms/room-01/history", staff_);
  ASSERT_EQ(history.status, 200);
  const QJsonArray versions = QJsonDocument::fromJson(history.body).array();
  ASSERT_EQ(versions.size(), 2);
  const QJsonObject newest = versions.at(0).toObject();
  EXPECT_EQ(newest.value(QStringLiteral("source")).toString(), QStringLiteral("outside"));
  const QJsonArray changes = newest.value(QStringLiteral("changes")).toArray();
  ASSERT_EQ(changes.size(), 1);
  EXPECT_EQ(changes.at(0).toObject().value(QStringLiteral("name")).toString(),
            QStringLiteral("music.volume"));
  EXPECT_EQ(changes.at(0).toObject().value(QStringLiteral("to")).toString(), QStringLiteral("33"));
}

TAVELO_BOTH_DATABASES(ApiTest);

}  // namespace
}  // namespace tavelo::hub
