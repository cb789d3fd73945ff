#include "platform/WifiEndpoint.h"

#include <QHostAddress>
#include <QNetworkInterface>

namespace tavelo {

NetEndpoint ChooseWifiEndpoint(const std::vector<AdapterAddress>& adapters) {
  constexpr std::uint32_t kVenueSubnet = 0xC0A86400;  // 192.168.100.0/24
  for (const AdapterAddress& a : adapters) {
    if (a.address != 0 && a.mask != 0 && (a.address & 0xFFFFFF00u) == kVenueSubnet) {
      return kVenueEndpoint;
    }
  }
  return kDirectEndpoint;
}

std::vector<AdapterAddress> ProbeAdapters() {
  std::vector<AdapterAddress> adapters;
  for (const QNetworkInterface& iface : QNetworkInterface::allInterfaces()) {
    // Every IPv4 address counts: an adapter here may carry several, and the one on the
    // venue network need not be the first.
    for (const QNetworkAddressEntry& entry : iface.addressEntries()) {
      if (entry.ip().protocol() != QAbstractSocket::IPv4Protocol) continue;
      adapters.push_back({entry.ip().toIPv4Address(), entry.netmask().toIPv4Address()});
    }
  }
  return adapters;
}

NetEndpoint ResolveWifiEndpoint(const std::optional<NetEndpoint>& explicitEndpoint) {
  if (explicitEndpoint) return *explicitEndpoint;
  return ChooseWifiEndpoint(ProbeAdapters());
}

std::optional<NetEndpoint> ParseEndpointText(std::string_view text, std::uint16_t defaultPort) {
  const QString trimmed =
      QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())).trimmed();
  const qsizetype colon = trimmed.indexOf(':');
  const QString host = colon < 0 ? trimmed : trimmed.left(colon);
  std::uint16_t port = defaultPort;
  if (colon >= 0) {
    bool ok = false;
    const uint value = trimmed.mid(colon + 1).toUInt(&ok);
    if (!ok || value < 1 || value > 65535) return std::nullopt;
    port = static_cast<std::uint16_t>(value);
  }
  const QHostAddress address(host);
  if (address.isNull() || address.protocol() != QAbstractSocket::IPv4Protocol) return std::nullopt;
  return NetEndpoint{address.toString().toStdString(), port};
}

std::string EndpointText(const NetEndpoint& endpoint) {
  return endpoint.host + ":" + std::to_string(endpoint.port);
}

}  // namespace tavelo
