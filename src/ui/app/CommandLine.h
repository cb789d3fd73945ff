#pragma once
// The panel's command line: link choice, language, endpoint, preset folder, first page,
// the wire trace and the screenshot run. Parsing is plain so it can be checked without starting a
// window.
#include <optional>
#include <string>
#include <vector>

#include "core/text/Lang.h"

namespace tavelo {

struct CommandLine {
  bool demo = false;
  std::optional<Lang> lang;
  std::string host;  // empty: the adapter probe chooses
  int port = 0;      // 0: the probe's port
  std::string paramDir;
  std::optional<int> page;  // navigation index; none: the page the user left last
  std::optional<int> mode;  // application mode to choose once the parameter set is shown
  std::string screenshot;
  int screenshotTimeoutMs = 10000;
  bool trace = false;  // wire frames on stderr, as the command-line tool's --trace
  bool help = false;
  bool version = false;
  std::string error;  // set when the line cannot be used

  bool Ok() const { return error.empty(); }
};

// Parses arguments (without the program name).
CommandLine ParseCommandLine(const std::vector<std::string>& args);

const char* CommandLineUsage();

}  // namespace tavelo
