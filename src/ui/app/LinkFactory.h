#pragma once
// The transports behind the "USB" and "WIFI" link choices.
#include <memory>
#include <optional>
#include <string>

#include "core/link/Transport.h"
#include "platform/WifiEndpoint.h"

namespace tavelo::ui {

// The endpoint --host / --port name: the host alone keeps the direct port, the port alone
// keeps the host the adapters point at; neither leaves the choice to the adapter probe.
std::optional<NetEndpoint> ExplicitEndpoint(const std::string& host, int port);

// USB: the HID device. Wi-Fi: a TCP link to the explicit endpoint when given, else to the
// one the PC's adapters point at.
std::unique_ptr<Transport> MakePlatformTransport(bool wifi, const std::string& host, int port);

}  // namespace tavelo::ui
