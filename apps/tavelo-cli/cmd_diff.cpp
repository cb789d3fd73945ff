// tavelo-cli diff: the fields in which two parameter files (or two boost files) differ.
#include <iostream>

#include "Command.h"
#include "CommandLine.h"
#include "core/presets/FileReport.h"

namespace tavelo::cli {
namespace {

int RunDiff(const CommandArgs& args) {
  const std::string& pathA = args.positional[0];
  const std::string& pathB = args.positional[1];
  const DescribedFile a = DescribeFile(pathA);
  if (!a.ok) return CommandFailure("diff", pathA + ": " + a.message);
  const DescribedFile b = DescribeFile(pathB);
  if (!b.ok) return CommandFailure("diff", pathB + ": " + b.message);
  if (a.kind != b.kind) {
    return CommandFailure("diff", pathA + " is a " + PcFileKindName(a.kind) + " and " + pathB +
                                      " a " + PcFileKindName(b.kind));
  }
  for (const auto& line : DiffFields(a.fields, b.fields)) std::cout << line << "\n";
  return kExitOk;
}

const RegisterCommand kDiff({
    .name = "diff",
    .synopsis = "A B",
    .summary = "compare two parameter files or two boost files, field by field",
    .details = "  One line per differing field, 'field: A -> B'; exit 0 whether or not they\n"
               "  differ, 1 if a file is refused. A and B are paths as given.",
    .operands = {"A", "B"},
    .minOperands = 2,
    .maxOperands = 2,
    .run = RunDiff,
});

}  // namespace
}  // namespace tavelo::cli
