#pragma once
// Why a processor that was found could not be opened, as the link's backend saw it: what
// kind of refusal, at which device node, and the system's own words for it. The message a
// user sees (cause and remedy) is made from this, never by reading a text back.
#include <string>

#include "core/text/Lang.h"
#include "core/text/Texts.h"

namespace tavelo {

enum class OpenRefusal : int {
  kNone,              // it opened, or no processor was attached
  kPermissionDenied,  // the user may not use the device node (no access rule installed)
  kBusy,              // another program holds it
  kOther,             // any other reason the system gave
};

struct LinkOpenProblem {
  OpenRefusal refusal = OpenRefusal::kNone;
  std::string path;        // the device node found ("/dev/hidraw3")
  std::string systemText;  // the system's reason ("Permission denied")
};

// The refusal an error number from opening a device node stands for.
OpenRefusal RefusalOfError(int errorNumber);

// The message that tells the user the cause and what to do about it, in `lang`.
TextId OpenProblemTextId(OpenRefusal refusal);
std::string OpenProblemMessage(const LinkOpenProblem& problem, Lang lang);
// One line for the console's failure report: "the processor at /dev/hidraw3 cannot be
// opened: Permission denied". Empty when nothing was refused.
std::string OpenProblemSummary(const LinkOpenProblem& problem);

}  // namespace tavelo
