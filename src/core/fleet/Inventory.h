#pragma once
// The rooms of a venue, one processor each, as an installer lists them for fleet commands:
//   # second floor
//   room-201  10.0.2.11  7905
//   room-202, 10.0.2.12, 7905
// A line holds a name, a host and optionally a port, separated by spaces or commas; text
// after '#' is a comment. The name is also the room's file name in a preset folder, so it
// is kept to letters, digits, '.', '_' and '-' and must be unique.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavelo {

// The host that names the processor attached to this machine by USB (the venue service talks
// to it over USB; the port is not used).
inline constexpr std::string_view kUsbHost = "usb";

struct Room {
  std::string name;
  std::string host;
  std::uint16_t port = 0;
  int line = 0;  // where the inventory names it
};

// The rooms in file order. On the first line that cannot be read, `error` names the line and
// what is wrong with it ("inventory line 4: port \"70000\" is not 1..65535") and nothing is
// returned. An inventory without rooms is an error too.
std::optional<std::vector<Room>> ParseInventory(std::string_view text, std::uint16_t defaultPort,
                                                std::string& error);

}  // namespace tavelo
