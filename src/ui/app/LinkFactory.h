#pragma once
// The transports behind the "USB" and "WIFI" link choices.
#include <memory>
#include <string>

#include "link/Transport.h"

namespace tavelo::ui {

// USB: the HID device. Wi-Fi: a TCP link to `host`:`port` when given, else to the
// endpoint the PC's adapters point at. Null when the platform offers no such link.
std::unique_ptr<Transport> MakePlatformTransport(bool wifi, const std::string& host, int port);

}  // namespace tavelo::ui
