// Schedules and alarms kept in both databases and served by the API: day-parts and what each
// room received survive a reopen, alarms keep their times, and the routes hold to the roles.
#include <QJsonArray>
#include <QJsonDocument>

#include "ApiCalls.h"
#include "HubTestSupport.h"
#include "StandInVenue.h"
#include "hub/Api.h"
#include "hub/ApiSchedules.h"

namespace tavelo::hub {
namespace {

const char* const kEvening =
    R"({"name": "evening", "time": "22:00", "days": ["fri"], "rooms": ["*"], "preset": 3})";

class ScheduleStoreTest : public hubtest::BothDatabasesWithStore {
 protected:
  void SetUp() override {
    BothDatabasesWithStore::SetUp();
    if (HasFatalFailure()) return;
    QString error;
    alarms_ = std::make_unique<AlarmRunner>(db_, venue_, AlarmLimits{}, 60'000, Clock());
    schedules_ = std::make_unique<ScheduleRunner>(db_, *store_, alarms_->Rooms(),
                                                  QTimeZone("Europe/Berlin"), Clock());
    routes_ = std::make_unique<ScheduleRoutes>(*schedules_, *alarms_, *store_, alarms_->Rooms());
    api_ = std::make_unique<Api>(*store_, *accounts_, alarms_->Rooms(), Clock());
    api_->AddRoutes(*routes_);
    ASSERT_TRUE(schedules_->Load(error) && alarms_->Load(error)) << error.toStdString();
    ASSERT_TRUE(accounts_->AddUser(QStringLiteral("ian"), Role::Installer, QStringLiteral("pw-i"),
                                   0, error));
    ASSERT_TRUE(
        accounts_->AddUser(QStringLiteral("sam"), Role::Staff, QStringLiteral("pw-s"), 0, error));
    installer_ = Login("ian", "pw-i");
    staff_ = Login("sam", "pw-s");
  }
  std::function<qint64()> Clock() {
    return [this] { return now_; };
  }
  QByteArray Login(const char* user, const char* password) {
    return hubtest::LoginHeader(*api_, user, password);
  }
  ApiReply Call(const QByteArray& method, const QString& path, const QByteArray& auth,
                const QByteArray& body = {}) {
    return hubtest::CallApi(*api_, method, path, auth, body);
  }

  qint64 now_ = QDateTime::fromString(QStringLiteral("2027-01-08T12:00:00Z"), Qt::ISODate)
                    .toMSecsSinceEpoch();  // a Friday
  hubtest::StandInVenue venue_{{QStringLiteral("room-01"), QStringLiteral("room-02")}};
  std::unique_ptr<AlarmRunner> alarms_;
  std::unique_ptr<ScheduleRunner> schedules_;
  std::unique_ptr<ScheduleRoutes> routes_;
  std::unique_ptr<Api> api_;
  QByteArray installer_;
  QByteArray staff_;
};

TEST_P(ScheduleStoreTest, DayPartsAndWhatRoomsReceivedSurviveAReopen) {
  EXPECT_EQ(Call("POST", "/api/v1/schedules", installer_, kEvening).status, 201);
  EXPECT_EQ(Call("POST", "/api/v1/schedules", installer_, kEvening).status, 409);
  EXPECT_EQ(Call("POST", "/api/v1/schedules", staff_, kEvening).status, 403);
  const ApiReply bad =
      Call("POST", "/api/v1/schedules", installer_, R"({"name": "x", "time": "9pm"})");
  EXPECT_EQ(bad.status, 422);
  EXPECT_TRUE(bad.body.contains("HH:MM")) << bad.body.toStdString();

  std::vector<QJsonObject> events;
  schedules_->SetEventSink([&](const QJsonObject& event) { events.push_back(event); });
  venue_.rooms[QStringLiteral("room-02")].view.online = false;
  now_ += 10 * 3600 * 1000;  // 23:00 in Berlin
  schedules_->Tick();
  ASSERT_EQ(venue_.log, QStringList{"room-01 recall 3"});
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[1].value(QStringLiteral("outcome")).toString(), QStringLiteral("waiting"));

  // The service starts again: room-01 is not recalled twice; room-02, back, catches up, and
  // the audit log says so.
  ScheduleRunner again(db_, *store_, venue_, QTimeZone("Europe/Berlin"), Clock());
  QString error;
  ASSERT_TRUE(again.Load(error)) << error.toStdString();
  venue_.rooms[QStringLiteral("room-02")].view.online = true;
  again.Tick();
  EXPECT_EQ(venue_.log, (QStringList{"room-01 recall 3", "room-02 recall 3"}));
  const auto audit = store_->AuditLog(QStringLiteral("room-02"), 10);
  ASSERT_TRUE(audit && !audit->empty());
  EXPECT_TRUE(audit->front().newValue.contains(QStringLiteral("catch-up")))
      << audit->front().newValue.toStdString();
  EXPECT_TRUE(audit->front().newValue.contains(QStringLiteral("2027-01-08T22:00:00+01:00")));

  const QJsonArray listed =
      QJsonDocument::fromJson(Call("GET", "/api/v1/schedules", staff_).body).array();
  ASSERT_EQ(listed.size(), 1);
  EXPECT_EQ(listed[0].toObject().value(QStringLiteral("preset")).toInt(), 3);
  const QJsonObject plan =
      QJsonDocument::fromJson(Call("GET", "/api/v1/schedules/dry-run", staff_).body).object();
  EXPECT_EQ(plan.value(QStringLiteral("rooms")).toArray().size(), 2);
  EXPECT_EQ(Call("DELETE", "/api/v1/schedules/evening", installer_).status, 200);
  EXPECT_EQ(Call("DELETE", "/api/v1/schedules/evening", installer_).status, 404);
  EXPECT_TRUE(schedules_->Engine().Parts().empty());
}

TEST_P(ScheduleStoreTest, AlarmsKeepTheirTimesAndReferencesComeFromVersions) {
  // A version whose content differs from what room-01 holds.
  ASSERT_TRUE(store_->PutRoom(QStringLiteral("room-01"), QStringLiteral("127.0.0.1"), 7000));
  const Recorded again = store_->RecordVersion(QStringLiteral("room-01"), 0,
                                               *venue_.CurrentSet(QStringLiteral("room-01")) + "x",
                                               now_, QStringLiteral("connect"), {});
  ASSERT_TRUE(again.ok) << store_->lastError().toStdString();

  std::vector<QJsonObject> events;
  alarms_->SetEventSink([&](const QJsonObject& event) { events.push_back(event); });
  EXPECT_EQ(Call("PUT", "/api/v1/rooms/room-01/reference", staff_,
                 QStringLiteral(R"({"version": %1})").arg(again.id).toUtf8())
                .status,
            403);
  EXPECT_EQ(
      Call("PUT", "/api/v1/rooms/room-01/reference", installer_, R"({"content": "00"})").status,
      422);
  // The reference differs from what room-01 holds: drift is raised at once.
  const ApiReply put = Call("PUT", "/api/v1/rooms/room-01/reference", installer_,
                            QStringLiteral(R"({"version": %1})").arg(again.id).toUtf8());
  ASSERT_EQ(put.status, 200) << put.body.toStdString();
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].value(QStringLiteral("kind")).toString(), QStringLiteral("drift"));
  EXPECT_EQ(events[0].value(QStringLiteral("state")).toString(), QStringLiteral("raised"));

  venue_.rooms[QStringLiteral("room-02")].view.online = false;
  alarms_->Tick();
  now_ += 5 * 60 * 1000;
  alarms_->Tick();
  const qint64 raised = now_;
  venue_.rooms[QStringLiteral("room-02")].view.online = true;
  now_ += 60 * 1000;
  alarms_->Tick();

  const QJsonArray listed =
      QJsonDocument::fromJson(Call("GET", "/api/v1/alarms", staff_).body).array();
  ASSERT_EQ(listed.size(), 2);
  const QJsonObject standing = listed[0].toObject();
  EXPECT_EQ(standing.value(QStringLiteral("kind")).toString(), QStringLiteral("drift"));
  EXPECT_TRUE(standing.value(QStringLiteral("cleared")).isNull());
  const QJsonObject cleared = listed[1].toObject();
  EXPECT_EQ(cleared.value(QStringLiteral("room")).toString(), QStringLiteral("room-02"));
  EXPECT_EQ(cleared.value(QStringLiteral("raised")).toInteger(), raised);
  EXPECT_EQ(cleared.value(QStringLiteral("cleared")).toInteger(), now_);

  // Removing the reference clears the drift; a new runner finds nothing standing.
  EXPECT_EQ(Call("DELETE", "/api/v1/rooms/room-01/reference", installer_).status, 200);
  AlarmRunner fresh(db_, venue_, AlarmLimits{}, 60'000, Clock());
  QString error;
  ASSERT_TRUE(fresh.Load(error));
  EXPECT_TRUE(fresh.Monitor().Open().empty());
  EXPECT_FALSE(fresh.Monitor().Reference(QStringLiteral("room-01")));
}

TAVELO_BOTH_DATABASES(ScheduleStoreTest);

}  // namespace
}  // namespace tavelo::hub
