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

constexpr long long kMaxCount = 1000;

// N ports from `first` (0: each picked by the system) stay within the port numbers.
bool RangeFits(std::uint16_t first, int count) {
  return first == 0 || first + count - 1 <= 65535;
}

bool Overlap(std::uint16_t a, std::uint16_t b, int count) {
  return a < b + count && b < a + count;
}

// The fault names in lines under the option's description.
std::string FaultLines() {
  constexpr std::size_t kIndent = 23;
  constexpr std::size_t kWidth = 90;
  const std::string names = SimFaultNames() + ".";
  std::string out;
  std::string line(kIndent, ' ');
  std::size_t start = 0;
  while (start < names.size()) {
    std::size_t end = names.find(' ', start);
    if (end == std::string::npos) end = names.size();
    const std::string word = names.substr(start, end - start);
    if (line.size() > kIndent && line.size() + 1 + word.size() > kWidth) {
      out += line + "\n";
      line = std::string(kIndent, ' ');
    }
    line += (line.size() > kIndent ? " " : "") + word;
    start = end + 1;
  }
  return out + line + "\n";
}

}  // namespace

std::string SimUsage() {
  return "usage: tavelo-sim [options]\n"
         "  --listen ADDR        address to listen on (default 127.0.0.1)\n"
         "  --port N             processor port (default 17400; 0 picks a free one)\n"
         "  --module-port N      wireless module port (default 17402; 0 picks a free one)\n"
         "  --latency-ms N       every reply comes N ms after its request\n"
         "  --fault NAME[=ARG]   inject a fault (repeatable); NAME is one of\n" +
         FaultLines() +
         "  --seed N             start from reproducible varied presets\n"
         "  --preset FILE        start from a 1140-byte parameter file (a path as given,\n"
         "                       relative to the current folder)\n"
         "  --lock-key DIGITS    the processor's 4-digit lock key (default 1234)\n"
         "  --verbose            print every request\n"
         "  --count N            N processors on ports P..P+N-1 (module ports M..M+N-1, free\n"
         "                       ones unless given), processor K from seed+K (default 1)\n"
         "  --fault-room K       the faults apply to processor K (0..N-1) only\n"
         "  --version            print the version and stop\n";
}

std::optional<SimOptions> ParseSimOptions(const QStringList& arguments, std::string& error,
                                          SimQuery& query) {
  SimOptions options;
  query = SimQuery::kNone;
  bool modulePortGiven = false;
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
      query = SimQuery::kHelp;
      return std::nullopt;
    } else if (arg == "--version") {
      query = SimQuery::kVersion;
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
      modulePortGiven = modulePortGiven || arg == "--module-port";
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
    } else if (arg == "--count" || arg == "--fault-room") {
      if (!value(v)) return std::nullopt;
      if (!ToNumber(v, arg == "--count" ? 1 : 0, kMaxCount, n)) {
        error = arg.toStdString() + " needs a number " + (arg == "--count" ? "1" : "0") + ".." +
                std::to_string(kMaxCount);
        return std::nullopt;
      }
      if (arg == "--count") {
        options.count = static_cast<int>(n);
      } else {
        options.faultRoom = static_cast<int>(n);
      }
    } else {
      error = "unknown argument \"" + arg.toStdString() + "\"";
      return std::nullopt;
    }
  }
  if (options.seed && !options.presetFile.empty()) {
    error = "--seed and --preset exclude each other";
    return std::nullopt;
  }
  if (options.count > 1 && !modulePortGiven) options.modulePort = 0;
  if (options.faultRoom && *options.faultRoom >= options.count) {
    error = "--fault-room must name a processor 0.." + std::to_string(options.count - 1);
    return std::nullopt;
  }
  if (!RangeFits(options.port, options.count) || !RangeFits(options.modulePort, options.count)) {
    error = "--count " + std::to_string(options.count) + " ports from the given one run past 65535";
    return std::nullopt;
  }
  if (options.port != 0 && options.modulePort != 0 &&
      Overlap(options.port, options.modulePort, options.count)) {
    error = options.count > 1 ? "--port and --module-port ranges must not overlap"
                              : "--port and --module-port must differ";
    return std::nullopt;
  }
  return options;
}

}  // namespace tavelo
