// The venue inventory: the forms installers write, and a refusal that names the line.
#include "core/fleet/Inventory.h"

#include <gtest/gtest.h>

#include <chrono>

namespace tavelo {
namespace {

TEST(Inventory, ReadsSpacesCommasCommentsCrlfAndTheDefaultPort) {
  std::string error;
  const auto rooms = ParseInventory(
      "# second floor\r\n"
      "room-201  10.0.2.11  7905\r\n"
      "\r\n"
      "room-202, 10.0.2.12, 17400   # by the bar\r\n"
      "Lobby_1\tdsp-lobby.local\n"
      "   # the last line has no end\n"
      "r.4 127.0.0.1 1",
      7905, error);
  ASSERT_TRUE(rooms) << error;
  ASSERT_EQ(rooms->size(), 4u);
  EXPECT_EQ((*rooms)[0].name, "room-201");
  EXPECT_EQ((*rooms)[0].host, "10.0.2.11");
  EXPECT_EQ((*rooms)[0].line, 2);
  EXPECT_EQ((*rooms)[1].port, 17400);
  EXPECT_EQ((*rooms)[2].host, "dsp-lobby.local");
  EXPECT_EQ((*rooms)[2].port, 7905);
  EXPECT_EQ((*rooms)[3].port, 1);
  EXPECT_EQ((*rooms)[3].line, 7);
}

TEST(Inventory, RefusalsNameTheLineAndWhatIsWrong) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"a 1.2.3.4\nb\n", "inventory line 2: expected NAME HOST [PORT], found 1 field"},
      {"a 1.2.3.4 1 2\n", "inventory line 1: expected NAME HOST [PORT], found 4 fields"},
      {"a 1.2.3.4 70000\n", "inventory line 1: port \"70000\" is not 1..65535"},
      {"a 1.2.3.4 0\n", "inventory line 1: port \"0\" is not 1..65535"},
      {"a 1.2.3.4 79x\n", "inventory line 1: port \"79x\" is not 1..65535"},
      {"../etc 1.2.3.4\n", "inventory line 1: room name \"../etc\" must be"},
      {".hidden 1.2.3.4\n", "inventory line 1: room name \".hidden\" must be"},
      {"r\x1b[2J 1.2.3.4\n", "inventory line 1: room name \"r?[2J\" must be"},
      {"a 1.2.3.4\n\na 1.2.3.5\n", "inventory line 3: room \"a\" is already named on line 1"},
      {"Lobby 1.2.3.4\nlobby 1.2.3.5\n",
       "inventory line 2: room \"lobby\" is already named on line 1 as \"Lobby\" (names that "
       "differ only in case"},
      {"a 10.0.0.1\nb 10.0.0.2 7905\nc 10.0.0.1 7905\n",
       "inventory line 3: room \"c\" has the address 10.0.0.1:7905 of room \"a\" on line 1; one "
       "processor cannot be two rooms"},
      {"a DSP.local 1\nb dsp.LOCAL 1\n", "inventory line 2: room \"b\" has the address"},
      {"a http://x\n", "inventory line 1: host \"http://x\" is not a host name"},
      {"# nothing\n\n", "the inventory names no room"},
      {"", "the inventory names no room"},
  };
  for (const auto& [text, expected] : cases) {
    std::string error;
    EXPECT_FALSE(ParseInventory(text, 7905, error)) << text;
    EXPECT_EQ(error.rfind(expected, 0), 0u) << error;
  }
}

// A venue's inventory is a few hundred lines; a huge one must still be read at once.
TEST(Inventory, AMebibyteOfRoomsIsReadInAMomentAndTheSamePortOnOtherHostsIsFine) {
  std::string text;
  int count = 0;
  while (text.size() < (1u << 20)) {
    text += "room-" + std::to_string(count) + " 10." + std::to_string(count / 65536) + "." +
            std::to_string(count / 256 % 256) + "." + std::to_string(count % 256) + " 7905\n";
    ++count;
  }
  const auto start = std::chrono::steady_clock::now();
  std::string error;
  const auto rooms = ParseInventory(text, 7905, error);
  const auto elapsed = std::chrono::steady_clock::now() - start;
  ASSERT_TRUE(rooms) << error;
  EXPECT_EQ(rooms->size(), static_cast<std::size_t>(count));
  EXPECT_LT(elapsed, std::chrono::seconds(4));  // a quadratic check took 11 s
}

}  // namespace
}  // namespace tavelo
