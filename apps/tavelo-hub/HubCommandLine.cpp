#include "HubCommandLine.h"

#include <iostream>

#include "core/text/Escaped.h"

namespace tavelo::hub {

const char* const kHubUsage =
    "usage: tavelo-hub serve [--inventory FILE] [--database FILE|URL] [--listen ADDR:PORT]\n"
    "                        [--reread SECONDS] [--probe SECONDS] [--tls-cert FILE --tls-key "
    "FILE]\n"
    "                        [--insecure-listen] [--time-zone ZONE] [--offline-alarm SECONDS]\n"
    "                        [--mqtt mqtt[s]://HOST[:PORT] --mqtt-as USER [--mqtt-user NAME\n"
    "                         --mqtt-password-file FILE] [--mqtt-tls-ca FILE] [--mqtt-base "
    "TOPIC]]\n"
    "       tavelo-hub user add NAME --role owner|installer|staff [--password-stdin]\n"
    "       tavelo-hub user remove NAME\n"
    "       tavelo-hub user passwd NAME [--password-stdin]\n"
    "       tavelo-hub rooms\n"
    "       tavelo-hub lock-key [ROOM]   (four digits on standard input)\n"
    "       tavelo-hub schedule list | add JSON|- | remove NAME | dry-run [--time-zone ZONE]\n"
    "--database works with every command: a file for the embedded database (default: hub.sqlite\n"
    "in the user's data folder) or postgresql://USER@HOST[:PORT]/DATABASE.\n"
    "The service listens on 127.0.0.1:8470 unless --listen names another address; an address\n"
    "other than loopback needs --tls-cert and --tls-key (PEM files), or --insecure-listen.\n"
    "Day-parts fire in --time-zone (an IANA name such as Europe/Berlin; default the system's).\n"
    "A day-part is JSON: {\"name\": \"evening\", \"time\": \"22:00\", \"days\": [\"fri\", "
    "\"sat\"],\n"
    "  \"rooms\": [\"*\"], \"preset\": 3, \"values\": {\"music.volume\": 60}, \"lock\": true}; add "
    "- reads\n"
    "  it from standard input. Where day-parts overlap, the one that fell due last is in force;\n"
    "  at one instant the higher \"priority\" wins, then the name first in order.\n"
    "lock-key keeps the key the service locks rooms with (\"lock\": true in a day-part) and\n"
    "  answers a locked room with at reconnect; a room's own key comes before the venue's.\n"
    "Every room is asked every --probe SECONDS (default 0.5; 0: never) whether its settings\n"
    "  changed, and read whole when they did or every --reread SECONDS (default 60) in any\n"
    "  case: changes another program makes show within about the probe interval.\n"
    "--mqtt publishes every room to an MQTT broker (with Home Assistant discovery) and takes\n"
    "commands there with the role of the service's user --mqtt-as names.\n";

std::optional<HubCommandLine> ParseHubCommandLine(const QStringList& args, QString& error) {
  HubCommandLine line;
  for (int i = 0; i < args.size(); ++i) {
    const QString& arg = args[i];
    auto value = [&](QString& into) {
      if (i + 1 >= args.size()) {
        error = arg + QStringLiteral(" needs a value");
        return false;
      }
      into = args[++i];
      return true;
    };
    // A whole number of seconds within [low, high].
    auto seconds = [&](int& into, int low, int high) {
      QString text;
      if (!value(text)) return false;
      bool ok = false;
      into = text.toInt(&ok);
      if (ok && into >= low && into <= high) return true;
      error = QStringLiteral("%1 takes %2..%3 seconds").arg(arg).arg(low).arg(high);
      return false;
    };
    if (arg == QStringLiteral("--database")) {
      if (!value(line.database)) return std::nullopt;
    } else if (arg == QStringLiteral("--inventory")) {
      if (!value(line.inventory)) return std::nullopt;
    } else if (arg == QStringLiteral("--listen")) {
      if (!value(line.listen)) return std::nullopt;
    } else if (arg == QStringLiteral("--tls-cert")) {
      if (!value(line.tlsCert)) return std::nullopt;
    } else if (arg == QStringLiteral("--tls-key")) {
      if (!value(line.tlsKey)) return std::nullopt;
    } else if (arg == QStringLiteral("--insecure-listen")) {
      line.insecureListen = true;
    } else if (arg == QStringLiteral("--mqtt")) {
      if (!value(line.mqtt)) return std::nullopt;
    } else if (arg == QStringLiteral("--mqtt-as")) {
      if (!value(line.mqttAs)) return std::nullopt;
    } else if (arg == QStringLiteral("--mqtt-user")) {
      if (!value(line.mqttUser)) return std::nullopt;
    } else if (arg == QStringLiteral("--mqtt-password-file")) {
      if (!value(line.mqttPasswordFile)) return std::nullopt;
    } else if (arg == QStringLiteral("--mqtt-tls-ca")) {
      if (!value(line.mqttCa)) return std::nullopt;
    } else if (arg == QStringLiteral("--mqtt-base")) {
      if (!value(line.mqttBase)) return std::nullopt;
    } else if (arg == QStringLiteral("--role")) {
      if (!value(line.role)) return std::nullopt;
    } else if (arg == QStringLiteral("--reread")) {
      if (!seconds(line.rereadSeconds, 1, 86400)) return std::nullopt;
    } else if (arg == QStringLiteral("--probe")) {
      // Fractions too ("0.5"); 0 leaves the probe out.
      QString text;
      if (!value(text)) return std::nullopt;
      bool ok = false;
      const double probe = text.toDouble(&ok);
      if (!ok || !(probe == 0 || (probe >= 0.1 && probe <= 3600))) {
        error = QStringLiteral("--probe takes 0 (no probe) or 0.1..3600 seconds");
        return std::nullopt;
      }
      line.probeMs = static_cast<int>(probe * 1000 + 0.5);
    } else if (arg == QStringLiteral("--time-zone")) {
      if (!value(line.timeZone)) return std::nullopt;
    } else if (arg == QStringLiteral("--offline-alarm")) {
      if (!seconds(line.offlineAlarmSeconds, 10, 86400)) return std::nullopt;
    } else if (arg == QStringLiteral("--password-stdin")) {
      line.passwordStdin = true;
    } else if (arg.startsWith(QStringLiteral("--"))) {
      error = QStringLiteral("unknown option %1").arg(arg.left(40));
      return std::nullopt;
    } else {
      line.operands << arg;
    }
  }
  if (line.tlsCert.isEmpty() != line.tlsKey.isEmpty()) {
    error = QStringLiteral("--tls-cert and --tls-key go together");
    return std::nullopt;
  }
  if (line.operands.isEmpty()) {
    error = QStringLiteral("name a command");
    return std::nullopt;
  }
  return line;
}

int Refuse(const QString& message) {
  std::cerr << "tavelo-hub: " << TerminalSafe(message.toStdString()) << "\n";
  return 1;
}

}  // namespace tavelo::hub
