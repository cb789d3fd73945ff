#include "ui/app/LinkFactory.h"

#include "platform/HidTransport.h"
#include "platform/TcpTransport.h"
#include "platform/WifiEndpoint.h"

namespace tavelo::ui {

std::optional<NetEndpoint> ExplicitEndpoint(const std::string& host, int port) {
  if (host.empty() && port <= 0) return std::nullopt;  // the adapter probe decides
  NetEndpoint endpoint = host.empty() ? ResolveWifiEndpoint(std::nullopt) : kDirectEndpoint;
  if (!host.empty()) endpoint.host = host;
  if (port > 0) endpoint.port = static_cast<std::uint16_t>(port);
  return endpoint;
}

std::unique_ptr<Transport> MakePlatformTransport(bool wifi, const std::string& host, int port) {
  if (wifi) return std::make_unique<TcpTransport>(ExplicitEndpoint(host, port));
  return std::make_unique<HidTransport>();
}

}  // namespace tavelo::ui
