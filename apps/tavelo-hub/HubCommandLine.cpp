#include "HubCommandLine.h"

namespace tavelo::hub {

const char* const kHubUsage =
    "usage: tavelo-hub serve [--inventory FILE] [--database FILE|URL] [--listen ADDR:PORT]\n"
    "                        [--reread SECONDS] [--tls-cert FILE --tls-key FILE]\n"
    "                        [--insecure-listen]\n"
    "       tavelo-hub user add NAME --role owner|installer|staff [--password-stdin]\n"
    "       tavelo-hub user remove NAME\n"
    "       tavelo-hub user passwd NAME [--password-stdin]\n"
    "       tavelo-hub rooms\n"
    "--database works with every command: a file for the embedded database (default: hub.sqlite\n"
    "in the user's data folder) or postgresql://USER@HOST[:PORT]/DATABASE.\n"
    "The service listens on 127.0.0.1:8470 unless --listen names another address; an address\n"
    "other than loopback needs --tls-cert and --tls-key (PEM files), or --insecure-listen.\n";

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
    } else if (arg == QStringLiteral("--tls-cert")) {
      if (!value(line.tlsCert)) return std::nullopt;
    } else if (arg == QStringLiteral("--tls-key")) {
      if (!value(line.tlsKey)) return std::nullopt;
    } else if (arg == QStringLiteral("--insecure-listen")) {
      line.insecureListen = true;
    } else if (arg == QStringLiteral("--role")) {
      if (!value(line.role)) return std::nullopt;
    } else if (arg == QStringLiteral("--reread")) {
      QString text;
      if (!value(text)) return std::nullopt;
      bool ok = false;
      line.rereadSeconds = text.toInt(&ok);
      if (!ok || line.rereadSeconds < 1 || line.rereadSeconds > 86400) {
        error = QStringLiteral("--reread takes 1..86400 seconds");
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

}  // namespace tavelo::hub
