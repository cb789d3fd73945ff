#include "SimOptions.h"

#include <QHostAddress>
#include <algorithm>

namespace tavelo {
namespace {

bool ToNumber(const QString& text, long long low, long long high, long long& out) {
  bool ok = false;
  out = text.toLongLong(&ok);
  return ok && out >= low && out <= high;
}

}  // namespace

std::string SimUsage() {
  return "usage: tavelo-sim [options]\n"
         "  --listen ADDR        address to listen on (default 127.0.0.1)\n"
         "  --port N             processor port (default 17400; 0 picks a free one)\n"
         "  --module-port N      wireless module port (default 17402; 0 picks a free one)\n"
         "  --latency-ms N       every reply comes N ms after its request\n"
         "  --fault NAME[=ARG]   inject a fault (repeatable): " +
         SimFaultNames() +
         "\n"
         "  --seed N             start from reproducible varied presets\n"
         "  --preset FILE        start from a 1140-byte parameter file (a path as given,\n"
         "                       relative to the current folder)\n"
         "  --lock-key DIGITS    the processor's 4-digit lock key (default 1234)\n"
         "  --verbose            print every request\n";
}

std::optional<SimOptions> ParseSimOptions(const QStringList& arguments, std::string& error,
                                          bool& help) {
  SimOptions options;
  help = false;
  for (int i = 1; i < arguments.size(); ++i) {
    const QString& arg = arguments[i];
    auto value = [&](QString& out) {
      if (i + 1 >= arguments.size()) {
        error = arg.toStdString() + " needs a value";
        return false;
      }
      out = arguments[++i];
      return true;
    };
    QString v;
    long long n = 0;
    if (arg == "--help" || arg == "-h") {
      help = true;
      return std::nullopt;
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (arg == "--listen") {
      if (!value(v)) return std::nullopt;
      if (QHostAddress(v).isNull()) {
        error = "--listen needs an IP address, not \"" + v.toStdString() + "\"";
        return std::nullopt;
      }
      options.listen = v.toStdString();
    } else if (arg == "--port" || arg == "--module-port") {
      if (!value(v)) return std::nullopt;
      if (!ToNumber(v, 0, 65535, n)) {
        error = arg.toStdString() + " needs a port number 0..65535";
        return std::nullopt;
      }
      (arg == "--port" ? options.port : options.modulePort) = static_cast<std::uint16_t>(n);
    } else if (arg == "--latency-ms") {
      if (!value(v)) return std::nullopt;
      if (!ToNumber(v, 0, 600000, n)) {
        error = "--latency-ms needs a number of milliseconds";
        return std::nullopt;
      }
      options.latencyMs = static_cast<int>(n);
    } else if (arg == "--fault") {
      if (!value(v)) return std::nullopt;
      const std::optional<SimFaultSpec> fault = ParseSimFault(v.toStdString());
      if (!fault) {
        error = "--fault: " + SimFaultError(v.toStdString());
        return std::nullopt;
      }
      options.faults.push_back(*fault);
    } else if (arg == "--seed") {
      if (!value(v)) return std::nullopt;
      if (!ToNumber(v, 0, 0xFFFFFFFFll, n)) {
        error = "--seed needs a number 0..4294967295";
        return std::nullopt;
      }
      options.seed = static_cast<std::uint32_t>(n);
    } else if (arg == "--preset") {
      if (!value(v)) return std::nullopt;
      options.presetFile = v.toStdString();
    } else if (arg == "--lock-key") {
      if (!value(v)) return std::nullopt;
      if (v.size() != 4 || !std::all_of(v.begin(), v.end(), [](QChar c) {
            return c.unicode() >= '0' && c.unicode() <= '9';
          })) {
        error = "--lock-key needs four digits";
        return std::nullopt;
      }
      options.lockKey = v.toStdString();
    } else {
      error = "unknown argument \"" + arg.toStdString() + "\"";
      return std::nullopt;
    }
  }
  if (options.seed && !options.presetFile.empty()) {
    error = "--seed and --preset exclude each other";
    return std::nullopt;
  }
  if (options.port != 0 && options.port == options.modulePort) {
    error = "--port and --module-port must differ";
    return std::nullopt;
  }
  return options;
}

}  // namespace tavelo
