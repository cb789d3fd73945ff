#pragma once
// Which processor address a Wi-Fi link connects to. The processor runs its own network
// on 192.168.74.x; once it has joined a venue network it is found on 192.168.100.x. Only
// the PC's adapter list decides, so the choice is a pure function of that list.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavelo {

struct NetEndpoint {
  std::string host;
  std::uint16_t port = 0;
  friend bool operator==(const NetEndpoint&, const NetEndpoint&) = default;
};

// An adapter's first IPv4 address and its netmask, host byte order (192.168.1.2 is
// 0xC0A80102).
struct AdapterAddress {
  std::uint32_t address = 0;
  std::uint32_t mask = 0;
};

inline const NetEndpoint kVenueEndpoint{"192.168.100.1", 7905};
inline const NetEndpoint kDirectEndpoint{"192.168.74.1", 17400};
inline const NetEndpoint kModuleEndpoint{"192.168.74.1", 17402};

// 192.168.100.1:7905 when any adapter has an address 192.168.100.x and a non-zero mask
// (and a non-zero address), otherwise 192.168.74.1:17400.
NetEndpoint ChooseWifiEndpoint(const std::vector<AdapterAddress>& adapters);

// The PC's IPv4 addresses with their masks, every address of every adapter. An unreadable
// list is empty.
std::vector<AdapterAddress> ProbeAdapters();

// The endpoint to use: `explicitEndpoint` when given (venue networks and tests), else the
// probe's choice.
NetEndpoint ResolveWifiEndpoint(const std::optional<NetEndpoint>& explicitEndpoint);

// An address typed by the user: "192.168.74.1" or "192.168.74.1:17402" (spaces around are
// ignored). The host must be an IPv4 address; a missing port is `defaultPort`. Nothing
// when the text cannot be read.
std::optional<NetEndpoint> ParseEndpointText(std::string_view text, std::uint16_t defaultPort);
std::string EndpointText(const NetEndpoint& endpoint);  // "host:port"

}  // namespace tavelo
