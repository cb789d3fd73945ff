#pragma once
// The command line of tavelo-hub:
//   tavelo-hub serve [--inventory FILE] [--database FILE|URL] [--listen ADDR:PORT] [--reread S]
//                    [--probe S]
//                    [--tls-cert FILE --tls-key FILE] [--insecure-listen]
//                    [--mqtt URL --mqtt-as USER [--mqtt-user U --mqtt-password-file F]
//                     [--mqtt-tls-ca F] [--mqtt-base TOPIC]]
//   tavelo-hub user add NAME --role owner|installer|staff [--password-stdin]
//   tavelo-hub user remove NAME | user passwd NAME [--password-stdin]
//   tavelo-hub rooms
//   tavelo-hub schedule list | add JSON|- | remove NAME | dry-run
#include <QString>
#include <QStringList>
#include <optional>

#include "hub/rooms/LiveRooms.h"

namespace tavelo::hub {

struct HubCommandLine {
  QStringList operands;  // the command and what follows it: "user", "add", "ann"
  QString database;
  QString inventory;
  QString listen = QStringLiteral("127.0.0.1:8470");
  QString role;
  QString tlsCert;
  QString tlsKey;
  bool insecureListen = false;
  int rereadSeconds = LiveRooms::kDefaultRereadSeconds;
  int probeMs = LiveRooms::kDefaultProbeMs;  // --probe SECONDS; 0: no probe
  QString timeZone;                          // an IANA name; empty for the system's
  int offlineAlarmSeconds = 120;
  bool passwordStdin = false;
  // The MQTT bridge, when --mqtt names a broker.
  QString mqtt;
  QString mqttAs;  // the user whose role the bridge's commands have
  QString mqttUser;
  QString mqttPasswordFile;
  QString mqttCa;
  QString mqttBase;
};

// On a refusal `error` says what is wrong.
std::optional<HubCommandLine> ParseHubCommandLine(const QStringList& args, QString& error);

extern const char* const kHubUsage;

// Says "tavelo-hub: MESSAGE" on standard error, made safe for a terminal; returns the exit
// code of a refused command.
int Refuse(const QString& message);

}  // namespace tavelo::hub
