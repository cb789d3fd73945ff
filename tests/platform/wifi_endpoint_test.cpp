// The Wi-Fi endpoint choice from the PC's adapters, and the receive ring.
#include <gtest/gtest.h>

#include <numeric>
#include <vector>

#include "platform/ReceiveRing.h"
#include "platform/WifiEndpoint.h"

namespace tavelo {
namespace {

constexpr std::uint32_t Ip(int a, int b, int c, int d) {
  return (static_cast<std::uint32_t>(a) << 24) | (static_cast<std::uint32_t>(b) << 16) |
         (static_cast<std::uint32_t>(c) << 8) | static_cast<std::uint32_t>(d);
}
constexpr std::uint32_t kMask24 = Ip(255, 255, 255, 0);

TEST(WifiEndpoint, VenueNetworkWinsWhenAnyAdapterIsOnIt) {
  EXPECT_EQ(
      ChooseWifiEndpoint({{Ip(10, 0, 0, 5), Ip(255, 0, 0, 0)}, {Ip(192, 168, 100, 23), kMask24}}),
      (NetEndpoint{"192.168.100.1", 7905}));
  EXPECT_EQ(ChooseWifiEndpoint({{Ip(192, 168, 74, 20), kMask24}}),
            (NetEndpoint{"192.168.74.1", 17400}));
  EXPECT_EQ(ChooseWifiEndpoint({}), kDirectEndpoint);  // an unreadable adapter list
  // A zero mask or a neighbouring subnet does not count.
  EXPECT_EQ(ChooseWifiEndpoint({{Ip(192, 168, 100, 5), 0}}), kDirectEndpoint);
  EXPECT_EQ(ChooseWifiEndpoint({{Ip(192, 168, 101, 5), kMask24}, {Ip(192, 169, 100, 5), kMask24}}),
            kDirectEndpoint);
}

TEST(WifiEndpoint, AnExplicitEndpointOverridesTheProbe) {
  const NetEndpoint loopback{"127.0.0.1", 4242};
  EXPECT_EQ(ResolveWifiEndpoint(loopback), loopback);
  const NetEndpoint probed = ResolveWifiEndpoint(std::nullopt);
  EXPECT_TRUE(probed == kVenueEndpoint || probed == kDirectEndpoint);
}

TEST(ReceiveRing, DrainsInArrivalOrderAcrossTheWrap) {
  ReceiveRing ring;
  std::vector<std::uint8_t> first(8000, 0xEE), out(8192);
  ASSERT_EQ(ring.Write(first.data(), first.size()), first.size());
  ASSERT_EQ(ring.Read(out.data(), 8000), 8000u);
  std::vector<std::uint8_t> burst(500);
  std::iota(burst.begin(), burst.end(), 0);  // wraps at byte 192 of the burst
  ring.Write(burst.data(), burst.size());
  std::vector<std::uint8_t> got(500);
  ASSERT_EQ(ring.Read(got.data(), 300), 300u);
  ASSERT_EQ(ring.Read(got.data() + 300, 300), 200u);
  EXPECT_EQ(got, burst);
  EXPECT_EQ(ring.Pending(), 0u);
}

TEST(ReceiveRing, NeverOverrunsBytesBeyondItsRoomAreDropped) {
  ReceiveRing ring;
  std::vector<std::uint8_t> bytes(9000);
  std::iota(bytes.begin(), bytes.end(), 0);
  EXPECT_EQ(ring.Write(bytes.data(), bytes.size()), ReceiveRing::kCapacity);
  EXPECT_EQ(ring.Dropped(), 9000u - ReceiveRing::kCapacity);
  EXPECT_EQ(ring.Write(bytes.data(), 1), 0u);
  std::vector<std::uint8_t> out(10000);
  ASSERT_EQ(ring.Read(out.data(), out.size()), ReceiveRing::kCapacity);
  // What was kept is the oldest bytes, untouched by the overflow.
  EXPECT_TRUE(std::equal(out.begin(), out.begin() + ReceiveRing::kCapacity, bytes.begin()));
  ring.Clear();
  EXPECT_EQ(ring.Pending(), 0u);
}

}  // namespace
}  // namespace tavelo
