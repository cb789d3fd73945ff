#include "HubCommandLine.h"

namespace tavelo::hub {

const char* const kHubUsage =
    "usage: tavelo-hub serve [--inventory FILE] [--database FILE|URL] [--listen ADDR:PORT]\n"
    "                        [--reread SECONDS]\n"
    "                        [--mqtt mqtt[s]://HOST[:PORT] --mqtt-as USER [--mqtt-user NAME\n"
    "                         --mqtt-password-file FILE] [--mqtt-tls-ca FILE] [--mqtt-base "
    "TOPIC]]\n"
    "       tavelo-hub user add NAME --role owner|installer|staff [--password-stdin]\n"
    "       tavelo-hub user remove NAME\n"
    "       tavelo-hub user passwd NAME [--password-stdin]\n"
    "       tavelo-hub rooms\n"
    "--database works with every command: a file for the embedded database (default: hub.sqlite\n"
    "in the user's data folder) or postgresql://USER@HOST[:PORT]/DATABASE.\n"
    "The service listens on 127.0.0.1:8470 unless --listen names another address.\n"
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
    if (arg == QStringLiteral("--database")) {
      if (!value(line.database)) return std::nullopt;
    } else if (arg == QStringLiteral("--inventory")) {
      if (!value(line.inventory)) return std::nullopt;
    } else if (arg == QStringLiteral("--listen")) {
      if (!value(line.listen)) return std::nullopt;
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
      QString text;
      if (!value(text)) return std::nullopt;
      bool ok = false;
      line.rereadSeconds = text.toInt(&ok);
      if (!ok || line.rereadSeconds < 5 || line.rereadSeconds > 86400) {
        error = QStringLiteral("--reread takes 5..86400 seconds");
        return std::nullopt;
      }
    } else if (arg == QStringLiteral("--password-stdin")) {
      line.passwordStdin = true;
    } else if (arg.startsWith(QStringLiteral("--"))) {
      error = QStringLiteral("unknown option %1").arg(arg.left(40));
      return std::nullopt;
    } else {
      line.operands << arg;
    }
  }
  if (line.operands.isEmpty()) {
    error = QStringLiteral("name a command");
    return std::nullopt;
  }
  return line;
}

}  // namespace tavelo::hub
