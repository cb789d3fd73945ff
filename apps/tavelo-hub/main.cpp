// tavelo-hub: the venue service and its user and room commands.
#include <QCoreApplication>
#include <QDateTime>
#include <QHostAddress>
#include <QTextStream>
#include <QTimer>
#include <cstdio>
#include <iostream>
#include <string>

#include "HubCommandLine.h"
#include "HubMqtt.h"
#include "LockKeyCommand.h"
#include "ScheduleCommand.h"
#include "core/fleet/Inventory.h"
#include "core/presets/AtomicFile.h"
#include "core/text/Escaped.h"
#include "hub/Accounts.h"
#include "hub/Api.h"
#include "hub/ApiSchedules.h"
#include "hub/Database.h"
#include "hub/HttpFront.h"
#include "hub/Listening.h"
#include "hub/MetricsRoute.h"
#include "hub/Secrets.h"
#include "hub/rooms/LiveRooms.h"
#include "hub/rooms/Rollouts.h"
#include "platform/WifiEndpoint.h"

namespace tavelo::hub {
namespace {

// How often the service looks at an idle database connection, so a server that went away is
// noticed and one that returned is used again without waiting for a request.
constexpr int kDatabaseCheckMs = 5000;

// Short, so the event loop never stands still long behind another program's write lock.
constexpr int kServiceBusyTimeoutMs = 1000;

qint64 Now() {
  return QDateTime::currentMSecsSinceEpoch();
}

// The password from the first line of standard input, or a new one printed once.
QString PasswordFor(const HubCommandLine& line, const QString& user) {
  if (line.passwordStdin) {
    std::string text;
    std::getline(std::cin, text);
    if (!text.empty() && text.back() == '\r') text.pop_back();
    return QString::fromStdString(text);
  }
  const QString password = NewOneTimePassword();
  std::cout << "password for " << user.toStdString() << ": " << password.toStdString()
            << " (shown once)\n";
  return password;
}

int UserCommand(const HubCommandLine& line, Store& store) {
  Accounts accounts(store);
  if (line.operands.size() != 3) return Refuse(QStringLiteral("user add|remove|passwd NAME"));
  const QString& action = line.operands[1];
  const QString& name = line.operands[2];
  QString error;
  if (action == QStringLiteral("add")) {
    const auto role = ParseRole(line.role);
    if (!role) return Refuse(QStringLiteral("user add needs --role owner, installer or staff"));
    if (!Accounts::ValidName(name))
      return Refuse(QStringLiteral("a user name is 1..64 letters, digits, '.', '_', '-' or '@'"));
    if (!accounts.AddUser(name, *role, PasswordFor(line, name), Now(), error)) return Refuse(error);
  } else if (action == QStringLiteral("remove")) {
    if (!accounts.RemoveUser(name, error)) return Refuse(error);
  } else if (action == QStringLiteral("passwd")) {
    if (!store.User(name)) return Refuse(QStringLiteral("no user is named %1").arg(name.left(64)));
    if (!accounts.ChangePassword(name, PasswordFor(line, name), error)) return Refuse(error);
  } else {
    return Refuse(QStringLiteral("user add|remove|passwd NAME"));
  }
  return 0;
}

int RoomsCommand(Store& store) {
  const auto rooms = store.Rooms();
  if (!rooms) return Refuse(store.lastError());
  for (const StoredRoom& room : *rooms) {
    const auto history = store.History(room.name, 1);
    std::cout << room.name.toStdString() << "  " << room.host.toStdString() << ":" << room.port;
    if (history && !history->empty())
      std::cout << "  last version "
                << QDateTime::fromMSecsSinceEpoch(history->front().time, Qt::UTC)
                       .toString(Qt::ISODate)
                       .toStdString()
                << " (" << history->front().source.toStdString() << ")";
    std::cout << "\n";
  }
  return 0;
}

bool ImportInventory(const QString& path, Store& store, QString& error) {
  const ReadResult read = ReadWholeFile(path.toStdString(), 1 << 20);
  if (!read.ok) {
    error = path + QStringLiteral(": ") + QString::fromStdString(read.message);
    return false;
  }
  std::string why;
  const auto rooms =
      ParseInventory(std::string(read.bytes.begin(), read.bytes.end()), kDirectEndpoint.port, why);
  if (!rooms) {
    error = path + QStringLiteral(": ") + QString::fromStdString(why);
    return false;
  }
  for (const Room& room : *rooms)
    if (!store.PutRoom(QString::fromStdString(room.name), QString::fromStdString(room.host),
                       room.port)) {
      error = store.lastError();
      return false;
    }
  return true;
}

int Serve(const HubCommandLine& line, Database& db, Store& store, const QString& shownDatabase) {
  Accounts accounts(store);
  QString error;
  const auto where = ParseListenAddress(line.listen, error);
  if (!where) return Refuse(error);
  std::optional<QSslConfiguration> tls;
  if (!line.tlsCert.isEmpty() && !(tls = LoadTls(line.tlsCert, line.tlsKey, error)))
    return Refuse(error);
  if (const QString refusal =
          ClearTextRefusal(where->address, tls.has_value(), line.insecureListen);
      !refusal.isEmpty())
    return Refuse(refusal);

  if (const auto password = accounts.CreateFirstOwner(Now(), error)) {
    std::cout << "first start: user \"owner\" created with the one-time password "
              << password->toStdString() << "\n"
              << "log in with it and set a new one: tavelo-hub user passwd owner\n";
  } else if (!error.isEmpty()) {
    return Refuse(error);
  }
  if (!line.inventory.isEmpty() && !ImportInventory(line.inventory, store, error))
    return Refuse(error);

  const auto zone = ServiceTimeZone(line, error);
  if (!zone) return Refuse(error);

  LiveRooms live(store, Now, line.rereadSeconds, line.probeMs);
  // Everything reaches the rooms through the alarms' watch.
  AlarmLimits limits;
  limits.offlineMs = line.offlineAlarmSeconds * 1000LL;
  AlarmRunner alarms(db, live, limits, line.rereadSeconds * 1000LL, Now);
  RoomAccess& rooms = alarms.Rooms();
  ScheduleRunner schedules(db, store, rooms, *zone, Now);
  if (!alarms.Load(error) || !schedules.Load(error)) return Refuse(error);
  if (!error.isEmpty()) std::cerr << "tavelo-hub: " << TerminalSafe(error.toStdString()) << "\n";

  const auto mqttSettings = MqttSettingsFrom(line, store, error);
  if (!mqttSettings && !error.isEmpty()) return Refuse(error);

  Api api(store, accounts, rooms, Now);
  ScheduleRoutes scheduleRoutes(schedules, alarms, store, rooms);
  api.AddRoutes(scheduleRoutes);
  HttpFront front(api, accounts, Now);
  HubMetrics metrics;
  const MetricsRoute metricsRoute(rooms, metrics, alarms, Now);
  api.SetMetrics(&metrics);
  front.SetMetrics(&metricsRoute, &metrics);
  std::unique_ptr<MqttService> mqtt;
  if (mqttSettings) {
    mqtt = std::make_unique<MqttService>(*mqttSettings, rooms, api, [&store](const QString& room) {
      return store.Caps(room).value_or(std::map<QString, int>{});
    });
    if (!mqtt->Start(error)) return Refuse(error);
  }
  const auto publish = [&front, &mqtt](const QJsonObject& event) {
    front.Publish(event);
    if (mqtt) mqtt->OnEvent(event);
  };
  api.SetEventSink(publish);
  live.SetEventSink(publish);
  schedules.SetEventSink(publish);
  alarms.SetEventSink(publish);
  Rollouts rollouts(store, rooms, Now);
  rollouts.SetEventSink(publish);
  api.SetRollouts(&rollouts);
  const auto port = front.Listen(*where, tls, error);
  if (!port) return Refuse(error);
  if (!live.Start(error)) return Refuse(error);
  QTimer keepAlive;
  QObject::connect(&keepAlive, &QTimer::timeout, [&store] {
    if (const QString change = store.KeepAlive(); !change.isEmpty())
      std::cerr << "tavelo-hub: " << TerminalSafe(change.toStdString()) << "\n";
  });
  keepAlive.start(kDatabaseCheckMs);

  // Day-parts and alarms are looked at every second; day-parts changed by another service or
  // `tavelo-hub schedule` are read again every minute.
  QTimer watch;
  int ticks = 0;
  QObject::connect(&watch, &QTimer::timeout, [&] {
    if (++ticks % 60 == 0) {
      QString why;
      if (!schedules.Load(why) || !why.isEmpty())
        std::cerr << "tavelo-hub: " << TerminalSafe(why.toStdString()) << "\n";
    }
    schedules.Tick();
    alarms.Tick();
  });
  watch.start(1000);
  const QString host = where->address.protocol() == QAbstractSocket::IPv6Protocol
                           ? QLatin1Char('[') + where->address.toString() + QLatin1Char(']')
                           : where->address.toString();
  std::cout << "listening on " << (tls ? "https" : "http") << "://" << host.toStdString() << ":"
            << *port << "/api/v1/ (database " << shownDatabase.toStdString() << ", time zone "
            << zone->id().toStdString() << ")\n"
            << std::flush;
  return QCoreApplication::exec();
}

}  // namespace
}  // namespace tavelo::hub

int main(int argc, char** argv) {
  using namespace tavelo::hub;
  QCoreApplication app(argc, argv);
  QCoreApplication::setApplicationName(QStringLiteral("tavelo-hub"));
  QString error;
  const auto line = ParseHubCommandLine(app.arguments().mid(1), error);
  if (!line) {
    std::cerr << "tavelo-hub: " << error.toStdString() << "\n" << kHubUsage;
    return 2;
  }
  const QString& command = line->operands.front();
  if (command == QStringLiteral("help")) {
    std::cout << kHubUsage;
    return 0;
  }
  if (command != QStringLiteral("serve") && command != QStringLiteral("user") &&
      command != QStringLiteral("rooms") && command != QStringLiteral("schedule") &&
      command != QStringLiteral("lock-key")) {
    std::cerr << "tavelo-hub: unknown command " << command.left(40).toStdString() << "\n"
              << kHubUsage;
    return 2;
  }
  if (!SecretsReady()) return Refuse(QStringLiteral("libsodium could not start"));
  const auto location = line->database.isEmpty()
                            ? std::optional<DatabaseLocation>(DefaultDatabaseLocation())
                            : ParseDatabaseLocation(line->database, error);
  if (!location) return Refuse(error);
  Database db;
  if (command == QStringLiteral("serve")) db.SetBusyTimeoutMs(kServiceBusyTimeoutMs);
  if (!db.Open(*location, error)) return Refuse(error);
  Store store(db);
  if (command == QStringLiteral("user")) return UserCommand(*line, store);
  if (command == QStringLiteral("rooms")) return RoomsCommand(store);
  if (command == QStringLiteral("lock-key")) return LockKeyCommand(*line, store);
  if (command == QStringLiteral("schedule")) return ScheduleCommand(*line, db, store, Now());
  return Serve(*line, db, store, location->Shown());
}
