// What a user is told when a processor is attached but refuses to open: the refusal follows
// the system's error number, and the message fills in exactly what the backend found.
#include <gtest/gtest.h>

#include <cerrno>

#include "core/link/LinkOpenProblem.h"

namespace tavelo {
namespace {

TEST(LinkOpenProblem, EachErrorNumberNamesItsRemedy) {
  EXPECT_EQ(RefusalOfError(EACCES), OpenRefusal::kPermissionDenied);
  EXPECT_EQ(RefusalOfError(EPERM), OpenRefusal::kPermissionDenied);
  EXPECT_EQ(RefusalOfError(EBUSY), OpenRefusal::kBusy);
  EXPECT_EQ(RefusalOfError(EIO), OpenRefusal::kOther);
  EXPECT_EQ(RefusalOfError(0), OpenRefusal::kOther);  // refused without a reason is a refusal

  const LinkOpenProblem busy{OpenRefusal::kBusy, "/dev/hidraw1", "Device or resource busy"};
  EXPECT_EQ(OpenProblemMessage(busy, Lang::kEnglish),
            "The processor is connected at /dev/hidraw1 but cannot be opened: Device or "
            "resource busy. Another program is using it: close that program and connect again.");
  const LinkOpenProblem other{OpenRefusal::kOther, "/dev/hidraw1", "Input/output error"};
  EXPECT_NE(OpenProblemMessage(other, Lang::kEnglish).find("Input/output error. Replug"),
            std::string::npos);
  EXPECT_NE(OpenProblemMessage(other, Lang::kChinese).find("Input/output error"),
            std::string::npos);
  // Nothing refused: nothing to say.
  EXPECT_EQ(OpenProblemMessage({}, Lang::kEnglish), "");
  EXPECT_EQ(OpenProblemSummary({}), "");
}

// A path or reason that holds a placeholder of its own is printed as it is, and does not
// take the next argument's place.
TEST(LinkOpenProblem, ArgumentsAreFilledInOrderAndNeverReread) {
  const LinkOpenProblem odd{OpenRefusal::kPermissionDenied, "/dev/%s", "Permission denied"};
  const std::string text = OpenProblemMessage(odd, Lang::kEnglish);
  EXPECT_EQ(text.rfind("The processor is connected at /dev/%s but cannot be opened: Permission "
                       "denied. Install",
                       0),
            0u)
      << text;
  EXPECT_EQ(OpenProblemSummary(odd),
            "the processor at /dev/%s cannot be opened: Permission denied");
}

}  // namespace
}  // namespace tavelo
