#include "ui/app/CommandLine.h"

#include <charconv>

#include "ui/app/Navigation.h"

namespace tavelo {
namespace {

bool ParseInt(const std::string& text, int& out) {
  const char* end = text.data() + text.size();
  const auto result = std::from_chars(text.data(), end, out);
  return result.ec == std::errc() && result.ptr == end;
}

}  // namespace

const char* CommandLineUsage() {
  return "usage: tavelo [--demo] [--lang en|zh] [--host ADDR] [--port N] [--param-dir DIR]\n"
         "              [--page music|mic|rev|echo|main|sur|cout|swout|system|boost]\n"
         "              [--mode auto|sing|dance] [--trace] [--screenshot FILE]\n"
         "       tavelo --help | --version\n"
         "The preset files are the 1140-byte files in param_dir in the current folder, or in\n"
         "DIR when --param-dir is given. Without options the link, Wi-Fi address, page, window\n"
         "position and preset folder of the last run are used; options given here win over them.\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
  CommandLine line;
  for (std::size_t i = 0; i < args.size() && line.Ok(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string& out) {
      if (i + 1 >= args.size()) {
        line.error = arg + " needs a value";
        return false;
      }
      out = args[++i];
      return true;
    };
    std::string v;
    if (arg == "--demo") {
      line.demo = true;
    } else if (arg == "--trace") {
      line.trace = true;
    } else if (arg == "--help" || arg == "-h") {
      line.help = true;
    } else if (arg == "--version") {
      line.version = true;
    } else if (arg == "--lang") {
      if (!value(v)) break;
      if (v == "en")
        line.lang = Lang::kEnglish;
      else if (v == "zh")
        line.lang = Lang::kChinese;
      else
        line.error = "--lang takes en or zh";
    } else if (arg == "--host") {
      if (value(v)) line.host = v;
      if (line.Ok() && line.host.empty()) line.error = "--host needs an address";
    } else if (arg == "--port") {
      if (!value(v)) break;
      if (!ParseInt(v, line.port) || line.port < 1 || line.port > 65535)
        line.error = "--port takes 1..65535";
    } else if (arg == "--param-dir") {
      if (value(v)) line.paramDir = v;
      if (line.Ok() && line.paramDir.empty()) line.error = "--param-dir needs a folder";
    } else if (arg == "--page") {
      if (!value(v)) break;
      const auto index = nav::IndexOfPageName(v);
      if (index)
        line.page = *index;
      else
        line.error = "unknown page " + v;
    } else if (arg == "--mode") {
      if (!value(v)) break;
      static const char* const kModes[] = {"auto", "sing", "dance"};
      for (int m = 0; m < 3; ++m)
        if (v == kModes[m]) line.mode = m;
      if (!line.mode) line.error = "--mode takes auto, sing or dance";
    } else if (arg == "--screenshot") {
      if (value(v)) line.screenshot = v;
      if (line.Ok() && line.screenshot.empty()) line.error = "--screenshot needs a file";
    } else {
      line.error = "unknown option " + arg;
    }
  }
  return line;
}

}  // namespace tavelo
