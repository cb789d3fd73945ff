// tavelo-hub: the venue service and its user and room commands.
#include <QCoreApplication>
#include <QDateTime>
#include <QHostAddress>
#include <QTcpServer>
#include <QTextStream>
#include <cstdio>
#include <iostream>
#include <string>

#include "HubCommandLine.h"
#include "HubMqtt.h"
#include "fleet/Inventory.h"
#include "hub/Accounts.h"
#include "hub/Api.h"
#include "hub/Database.h"
#include "hub/HttpFront.h"
#include "hub/MetricsRoute.h"
#include "hub/Secrets.h"
#include "hub/StoredRooms.h"
#include "platform/WifiEndpoint.h"
#include "presets/AtomicFile.h"

namespace tavelo::hub {
namespace {

qint64 Now() {
  return QDateTime::currentMSecsSinceEpoch();
}

int Fail(const QString& message) {
  std::cerr << "tavelo-hub: " << message.toStdString() << "\n";
  return 1;
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
  if (line.operands.size() != 3) return Fail(QStringLiteral("user add|remove|passwd NAME"));
  const QString& action = line.operands[1];
  const QString& name = line.operands[2];
  QString error;
  if (action == QStringLiteral("add")) {
    const auto role = ParseRole(line.role);
    if (!role) return Fail(QStringLiteral("user add needs --role owner, installer or staff"));
    if (!Accounts::ValidName(name))
      return Fail(QStringLiteral("a user name is 1..64 letters, digits, '.', '_', '-' or '@'"));
    if (!accounts.AddUser(name, *role, PasswordFor(line, name), Now(), error)) return Fail(error);
  } else if (action == QStringLiteral("remove")) {
    if (!accounts.RemoveUser(name, error)) return Fail(error);
  } else if (action == QStringLiteral("passwd")) {
    if (!store.User(name)) return Fail(QStringLiteral("no user is named %1").arg(name.left(64)));
    if (!accounts.ChangePassword(name, PasswordFor(line, name), error)) return Fail(error);
  } else {
    return Fail(QStringLiteral("user add|remove|passwd NAME"));
  }
  return 0;
}

int RoomsCommand(Store& store) {
  const auto rooms = store.Rooms();
  if (!rooms) return Fail(store.lastError());
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

int Serve(const HubCommandLine& line, Store& store, const QString& shownDatabase) {
  Accounts accounts(store);
  QString error;
  if (const auto password = accounts.CreateFirstOwner(Now(), error)) {
    std::cout << "first start: user \"owner\" created with the one-time password "
              << password->toStdString() << "\n"
              << "log in with it and set a new one: tavelo-hub user passwd owner\n";
  } else if (!error.isEmpty()) {
    return Fail(error);
  }
  if (!line.inventory.isEmpty() && !ImportInventory(line.inventory, store, error))
    return Fail(error);

  const int colon = line.listen.lastIndexOf(QLatin1Char(':'));
  bool portOk = false;
  const int port = line.listen.mid(colon + 1).toInt(&portOk);
  QString host = line.listen.left(colon);
  if (host.startsWith(QLatin1Char('[')) && host.endsWith(QLatin1Char(']')))
    host = host.mid(1, host.size() - 2);
  const QHostAddress address(host);
  if (colon < 0 || !portOk || port < 0 || port > 65535 || address.isNull())
    return Fail(QStringLiteral("--listen takes ADDRESS:PORT, as in 127.0.0.1:8470"));

  const auto mqttSettings = MqttSettingsFrom(line, store, error);
  if (!mqttSettings && !error.isEmpty()) return Fail(error);

  StoredRooms rooms(store);
  Api api(store, accounts, rooms, Now);
  HttpFront front(api, accounts, Now);
  HubMetrics metrics;
  const NoAlarms alarms;
  const MetricsRoute metricsRoute(rooms, metrics, alarms, Now);
  api.SetMetrics(&metrics);
  front.SetMetrics(&metricsRoute, &metrics);
  std::unique_ptr<MqttService> mqtt;
  if (mqttSettings) {
    mqtt = std::make_unique<MqttService>(*mqttSettings, rooms, api, [&store](const QString& room) {
      return store.Caps(room).value_or(std::map<QString, int>{});
    });
    if (!mqtt->Start(error)) return Fail(error);
  }
  api.SetEventSink([&front, &mqtt](const QJsonObject& event) {
    front.Publish(event);
    if (mqtt) mqtt->OnEvent(event);
  });
  auto* server = new QTcpServer(&front);
  if (!server->listen(address, static_cast<quint16>(port)))
    return Fail(QStringLiteral("cannot listen on %1: %2").arg(line.listen, server->errorString()));
  front.bind(server);
  std::cout << "listening on http://" << line.listen.left(colon).toStdString() << ":"
            << server->serverPort() << "/api/v1/ (database " << shownDatabase.toStdString() << ")\n"
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
      command != QStringLiteral("rooms")) {
    std::cerr << "tavelo-hub: unknown command " << command.left(40).toStdString() << "\n"
              << kHubUsage;
    return 2;
  }
  if (!SecretsReady()) return Fail(QStringLiteral("libsodium could not start"));
  const auto location = line->database.isEmpty()
                            ? std::optional<DatabaseLocation>(DefaultDatabaseLocation())
                            : ParseDatabaseLocation(line->database, error);
  if (!location) return Fail(error);
  Database db;
  if (!db.Open(*location, error)) return Fail(error);
  Store store(db);
  if (command == QStringLiteral("user")) return UserCommand(*line, store);
  if (command == QStringLiteral("rooms")) return RoomsCommand(store);
  return Serve(*line, store, location->Shown());
}
