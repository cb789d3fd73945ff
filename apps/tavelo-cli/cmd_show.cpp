// tavelo-cli show: the readable contents of a parameter file or a boost file.
#include <iostream>

#include "Command.h"
#include "presets/FileReport.h"

namespace tavelo::cli {
namespace {

int RunShow(const std::vector<std::string>& args) {
  std::string path;
  bool json = false;
  for (const auto& a : args) {
    if (a == "--json") {
      json = true;
    } else if (!a.empty() && a[0] == '-' && a != "-") {
      std::cerr << "show: unknown option " << a << "\n";
      return kExitUsage;
    } else if (path.empty()) {
      path = a;
    } else {
      std::cerr << "show: one file at a time\n";
      return kExitUsage;
    }
  }
  if (path.empty()) {
    std::cerr << "usage: tavelo-cli show FILE [--json]\n";
    return kExitUsage;
  }
  const DescribedFile file = DescribeFile(path);
  if (!file.ok) {
    std::cerr << path << ": " << file.message << "\n";
    return kExitFailure;
  }
  std::cout << (json ? FieldsAsJson(file.kind, file.fields) : FieldsAsText(file.kind, file.fields));
  return kExitOk;
}

const RegisterCommand kShow(
    "show",
    "show FILE [--json]    fields of a parameter (1140-byte) or boost (116-byte) file; "
    "exit 1 if the file is refused",
    RunShow);

}  // namespace
}  // namespace tavelo::cli
