// tavelo-cli diff: the fields in which two parameter files (or two boost files) differ.
#include <iostream>

#include "Command.h"
#include "presets/FileReport.h"

namespace tavelo::cli {
namespace {

int RunDiff(const std::vector<std::string>& args) {
  if (args.size() != 2 || args[0].rfind("--", 0) == 0 || args[1].rfind("--", 0) == 0) {
    std::cerr << "usage: tavelo-cli diff A B\n";
    return kExitUsage;
  }
  const DescribedFile a = DescribeFile(args[0]);
  const DescribedFile b = DescribeFile(args[1]);
  for (const auto* f : {&a, &b}) {
    if (!f->ok) {
      std::cerr << (f == &a ? args[0] : args[1]) << ": " << f->message << "\n";
      return kExitFailure;
    }
  }
  if (a.kind != b.kind) {
    std::cerr << "diff: " << args[0] << " is a " << PcFileKindName(a.kind) << " and " << args[1]
              << " a " << PcFileKindName(b.kind) << "\n";
    return kExitFailure;
  }
  for (const auto& line : DiffFields(a.fields, b.fields)) std::cout << line << "\n";
  return kExitOk;
}

const RegisterCommand kDiff(
    "diff",
    "diff A B              one line per differing field, 'field: A -> B'; exit 0 whether or "
    "not they differ, 1 if a file is refused",
    RunDiff);

}  // namespace
}  // namespace tavelo::cli
