#include "cmd_device_links.h"

namespace tavelo::cli {

std::unique_ptr<Transport> MakeLinkTransport(const DeviceArgs&, std::string& error) {
  error = "this link is not available in this build";
  return nullptr;
}

}  // namespace tavelo::cli
