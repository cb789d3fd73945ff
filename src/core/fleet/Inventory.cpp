#include "core/fleet/Inventory.h"

#include <algorithm>
#include <charconv>
#include <unordered_map>

namespace tavelo {

namespace {

constexpr std::size_t kMaxNameLength = 64;
constexpr std::size_t kMaxHostLength = 253;

bool IsNameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '_' || c == '-';
}

// Host names and IPv4 addresses: letters, digits, dots and hyphens (no spaces, no scheme).
bool IsHostChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' ||
         c == '-';
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> fields;
  std::size_t i = 0;
  auto separator = [](char c) { return c == ' ' || c == '\t' || c == ',' || c == '\r'; };
  while (i < line.size()) {
    while (i < line.size() && separator(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !separator(line[i])) ++i;
    if (i > start) fields.push_back(line.substr(start, i - start));
  }
  return fields;
}

// Shown in a message: printable ASCII only, so a stray control character in the file cannot
// reach the terminal.
std::string Shown(std::string_view text) {
  std::string out;
  for (char c : text.substr(0, 80)) out += (c >= 32 && c < 127) ? c : '?';
  return out;
}

std::string Lower(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return out;
}

}  // namespace

std::optional<std::vector<Room>> ParseInventory(std::string_view text, std::uint16_t defaultPort,
                                                std::string& error) {
  std::vector<Room> rooms;
  // Names in lower case (each room's files are named after it, and many file systems ignore
  // case) and addresses, each with the index of the room that has it.
  std::unordered_map<std::string, std::size_t> names;
  std::unordered_map<std::string, std::size_t> addresses;
  int lineNumber = 0;
  std::size_t pos = 0;
  while (pos <= text.size()) {
    const std::size_t end = text.find('\n', pos);
    std::string_view line =
        text.substr(pos, end == std::string_view::npos ? std::string_view::npos : end - pos);
    pos = end == std::string_view::npos ? text.size() + 1 : end + 1;
    ++lineNumber;
    if (const auto hash = line.find('#'); hash != std::string_view::npos)
      line = line.substr(0, hash);
    const auto fields = Fields(line);
    if (fields.empty()) continue;
    const std::string where = "inventory line " + std::to_string(lineNumber) + ": ";
    if (fields.size() < 2 || fields.size() > 3) {
      error = where + "expected NAME HOST [PORT], found " + std::to_string(fields.size()) +
              (fields.size() == 1 ? " field" : " fields");
      return std::nullopt;
    }
    Room room;
    room.line = lineNumber;
    room.name = std::string(fields[0]);
    if (room.name.size() > kMaxNameLength || room.name.front() == '.' ||
        !std::all_of(room.name.begin(), room.name.end(), IsNameChar)) {
      error = where + "room name \"" + Shown(fields[0]) +
              "\" must be 1..64 letters, digits, '.', '_' or '-', not starting with '.'";
      return std::nullopt;
    }
    if (const auto same = names.find(Lower(room.name)); same != names.end()) {
      const Room& other = rooms[same->second];
      error = where + "room \"" + room.name + "\" is already named on line " +
              std::to_string(other.line) +
              (other.name == room.name ? std::string()
                                       : " as \"" + other.name +
                                             "\" (names that differ only in case would share "
                                             "files on many systems)");
      return std::nullopt;
    }
    room.host = std::string(fields[1]);
    if (room.host.size() > kMaxHostLength || room.host.front() == '-' ||
        !std::all_of(room.host.begin(), room.host.end(), IsHostChar)) {
      error = where + "host \"" + Shown(fields[1]) + "\" is not a host name or IPv4 address";
      return std::nullopt;
    }
    room.port = defaultPort;
    if (fields.size() == 3) {
      unsigned port = 0;
      const auto f = fields[2];
      const auto r = std::from_chars(f.data(), f.data() + f.size(), port);
      if (r.ec != std::errc() || r.ptr != f.data() + f.size() || port < 1 || port > 65535) {
        error = where + "port \"" + Shown(f) + "\" is not 1..65535";
        return std::nullopt;
      }
      room.port = static_cast<std::uint16_t>(port);
    }
    const std::string address = Lower(room.host) + ":" + std::to_string(room.port);
    if (const auto same = addresses.find(address); same != addresses.end()) {
      const Room& other = rooms[same->second];
      error = where + "room \"" + room.name + "\" has the address " + room.host + ":" +
              std::to_string(room.port) + " of room \"" + other.name + "\" on line " +
              std::to_string(other.line) + "; one processor cannot be two rooms";
      return std::nullopt;
    }
    names.emplace(Lower(room.name), rooms.size());
    addresses.emplace(address, rooms.size());
    rooms.push_back(std::move(room));
  }
  if (rooms.empty()) {
    error = "the inventory names no room (one a line: NAME HOST [PORT])";
    return std::nullopt;
  }
  return rooms;
}

}  // namespace tavelo
