#include "cmd_device_links.h"

#include "platform/HidTransport.h"
#include "platform/TcpTransport.h"
#include "platform/WifiEndpoint.h"

namespace tavelo::cli {

std::unique_ptr<Transport> MakeLinkTransport(const CommandArgs& args, std::string& error) {
  switch (args.link) {
    case LinkChoice::kUsb:
      return std::make_unique<HidTransport>();
    case LinkChoice::kWifi: {
      // An address or port given on the command line replaces the adapter probe; the part
      // not given is the processor's own network's.
      std::optional<NetEndpoint> endpoint;
      if (args.host || args.port) {
        endpoint =
            NetEndpoint{args.host.value_or(kDirectEndpoint.host),
                        static_cast<std::uint16_t>(args.port.value_or(kDirectEndpoint.port))};
      }
      return std::make_unique<TcpTransport>(endpoint);
    }
    case LinkChoice::kDemo:
      break;
  }
  error = "no transport for this link";
  return nullptr;
}

}  // namespace tavelo::cli
