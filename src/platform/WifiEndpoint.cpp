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

}  // namespace tavelo
