// tavelo-cli show: the readable contents of a parameter file or a boost file.
#include <iostream>

#include "Command.h"
#include "CommandLine.h"
#include "core/presets/FileReport.h"

namespace tavelo::cli {
namespace {

int RunShow(const CommandArgs& args) {
  const std::string& path = args.positional[0];
  const DescribedFile file = DescribeFile(path);
  if (!file.ok) return CommandFailure("show", path + ": " + file.message);
  const bool json = args.Has("--json");
  std::cout << (json ? FieldsAsJson(file.kind, file.fields) : FieldsAsText(file.kind, file.fields));
  return kExitOk;
}

const RegisterCommand kShow({
    .name = "show",
    .synopsis = "FILE [--json]",
    .summary = "print the fields of a parameter (1140-byte) or boost (116-byte) file",
    .details = "  --json   the fields as a JSON object\n"
               "  FILE is a path as given, relative to the current folder; exit 1 if the\n"
               "  file is refused.",
    .flags = {"--json"},
    .operands = {"FILE"},
    .minOperands = 1,
    .maxOperands = 1,
    .run = RunShow,
});

}  // namespace
}  // namespace tavelo::cli
