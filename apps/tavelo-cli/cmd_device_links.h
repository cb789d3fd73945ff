#pragma once
// The transports of the real links: USB HID and the processor's Wi-Fi socket.
#include <memory>
#include <string>

#include "CommandLine.h"
#include "core/link/Transport.h"

namespace tavelo::cli {

// The transport for --link usb or --link wifi (with --host/--port overriding the endpoint
// the PC's adapters would choose). Null with `error` set when it cannot be made.
std::unique_ptr<Transport> MakeLinkTransport(const CommandArgs& args, std::string& error);

}  // namespace tavelo::cli
