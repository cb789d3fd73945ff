#pragma once
// tavelo-sim's command line.
#include <QStringList>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/sim/Faults.h"

namespace tavelo {

struct SimOptions {
  std::string listen = "127.0.0.1";
  std::uint16_t port = 17400;
  std::uint16_t modulePort = 17402;
  int latencyMs = 0;
  std::vector<SimFaultSpec> faults;
  std::optional<std::uint32_t> seed;
  std::string presetFile;
  std::string lockKey;
  bool verbose = false;
  // --count N: N independent processors on ports port..port+N-1 (module ports likewise), the
  // seed of processor K being seed+K; --fault-room K gives the faults to processor K only.
  int count = 1;
  std::optional<int> faultRoom;
};

// A command line that asks only to be told something: the usage or the version.
enum class SimQuery { kNone, kHelp, kVersion };

// Parses the arguments (program name first). On a bad argument returns nullopt and puts
// the reason in `error`; for --help or --version returns nullopt with `query` set.
std::optional<SimOptions> ParseSimOptions(const QStringList& arguments, std::string& error,
                                          SimQuery& query);

std::string SimUsage();

}  // namespace tavelo
