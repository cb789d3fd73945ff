#include "core/link/LinkOpenProblem.h"

#include <cerrno>
#include <initializer_list>
#include <string_view>

namespace tavelo {
namespace {

// Fills the "%s" placeholders in order; an argument that itself holds "%s" stays as it is.
std::string FillInOrder(std::string text, std::initializer_list<std::string_view> arguments) {
  std::size_t from = 0;
  for (const std::string_view argument : arguments) {
    const std::size_t at = text.find("%s", from);
    if (at == std::string::npos) break;
    text.replace(at, 2, argument);
    from = at + argument.size();
  }
  return text;
}

}  // namespace

OpenRefusal RefusalOfError(int errorNumber) {
  switch (errorNumber) {
    case EACCES:
    case EPERM:
      return OpenRefusal::kPermissionDenied;
    case EBUSY:
      return OpenRefusal::kBusy;
    default:
      return OpenRefusal::kOther;
  }
}

TextId OpenProblemTextId(OpenRefusal refusal) {
  switch (refusal) {
    case OpenRefusal::kPermissionDenied:
      return TextId::kMsgUsbOpenDenied;
    case OpenRefusal::kBusy:
      return TextId::kMsgUsbOpenBusy;
    case OpenRefusal::kNone:
    case OpenRefusal::kOther:
      break;
  }
  return TextId::kMsgUsbOpenRefused;
}

std::string OpenProblemMessage(const LinkOpenProblem& problem, Lang lang) {
  if (problem.refusal == OpenRefusal::kNone) return {};
  return FillInOrder(Text(OpenProblemTextId(problem.refusal), lang),
                     {problem.path, problem.systemText});
}

std::string OpenProblemSummary(const LinkOpenProblem& problem) {
  if (problem.refusal == OpenRefusal::kNone) return {};
  return "the processor at " + problem.path + " cannot be opened: " + problem.systemText;
}

}  // namespace tavelo
