#pragma once
// Service codes: fixed texts that support staff type into the system page's "Lock Key New
// Password" edit to reveal controls an ordinary user should not meet. They are built at
// run time from a masked table (this file's .cpp, the one place they live), so they do not
// stand in the program as plain text. docs/service.md lists them for support staff.
#include <string>
#include <string_view>

namespace tavelo::ui {

enum class ServiceCode {
  kNone,
  kBoost,    // 12 characters: the boost page and its navigation button become available
  kLogo,     // 11 characters: the startup-logo controls are shown
  kWifi,     // 11 characters: the "WIFI" button is shown
  kFactory,  // 11 characters: the mass-upload dialog offers the factory upload
};

// The code that `text` is, compared whole and case-sensitively; kNone for anything else.
ServiceCode MatchServiceCode(std::string_view text);

// The text of a code (for tests and the support documentation check).
std::string ServiceCodeText(ServiceCode code);

}  // namespace tavelo::ui
