// The installed udev rule gives the seat's user the processor's hidraw node, and nothing else.
#include "udev_rule.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "platform/HidDevice.h"

namespace tavelo::testing {
namespace {

std::string Hex4(std::uint16_t id) {
  char text[8];
  std::snprintf(text, sizeof text, "%04x", id);
  return text;
}

// The rule lines of the file (comments and blank lines left out).
std::vector<std::string> RuleLines() {
  std::ifstream in(TAVELO_UDEV_RULE);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (line.find_first_not_of(" \t") == std::string::npos || line[0] == '#') continue;
    lines.push_back(line);
  }
  return lines;
}

// The processor as the kernel shows it: the hidraw node, its HID device, the USB interface
// and the USB device that carries the ids.
DeviceChain Processor(const std::string& vendor, const std::string& product) {
  return {{"hidraw", {{"dev", "243:0"}}},
          {"hid", {{"country", "00"}}},
          {"usb", {{"bInterfaceClass", "03"}}},
          {"usb", {{"idVendor", vendor}, {"idProduct", product}, {"manufacturer", "x"}}}};
}

std::optional<std::set<std::string>> RunRule(const DeviceChain& chain) {
  const std::vector<std::string> lines = RuleLines();
  EXPECT_EQ(lines.size(), 1u) << "one rule line expected in " << TAVELO_UDEV_RULE;
  if (lines.empty()) return std::nullopt;
  const ParsedRule rule = ParseRuleLine(lines.front());
  EXPECT_EQ(rule.error, "") << lines.front();
  std::string unknown;
  auto tags = Apply(rule, chain, &unknown);
  EXPECT_EQ(unknown, "") << "a key the check does not know";
  return tags;
}

TEST(UdevRule, TagsTheProcessorsHidrawNodeForTheSeatsUser) {
  const auto tags = RunRule(Processor(Hex4(kProcessorVendorId), Hex4(kProcessorProductId)));
  ASSERT_TRUE(tags.has_value()) << "the rule does not match the processor";
  EXPECT_EQ(*tags, std::set<std::string>{"uaccess"});
}

TEST(UdevRule, LeavesOtherDevicesAlone) {
  const std::string vendor = Hex4(kProcessorVendorId);
  const std::string product = Hex4(kProcessorProductId);
  // Another product of the same vendor, another vendor's product of the same number.
  EXPECT_FALSE(RunRule(Processor(vendor, Hex4(kProcessorProductId + 1))).has_value());
  EXPECT_FALSE(RunRule(Processor(Hex4(kProcessorVendorId + 1), product)).has_value());
  // The USB device node itself (not the HID node the program opens), and another kind of
  // node under the processor.
  DeviceChain usbNode = Processor(vendor, product);
  usbNode.erase(usbNode.begin(), usbNode.begin() + 3);
  EXPECT_FALSE(RunRule(usbNode).has_value());
  DeviceChain input = Processor(vendor, product);
  input.front().subsystem = "input";
  EXPECT_FALSE(RunRule(input).has_value());
}

// udev compares sysfs text, which is lower-case hex: an upper-case id in the rule would
// never match.
TEST(UdevRule, WritesTheProgramsIdsAsUdevComparesThem) {
  const std::vector<std::string> lines = RuleLines();
  ASSERT_EQ(lines.size(), 1u);
  const ParsedRule rule = ParseRuleLine(lines.front());
  std::map<std::string, std::string> ids;
  for (const RuleKey& key : rule.keys) {
    if (key.name == "ATTRS") ids[key.attr] = key.value;
  }
  EXPECT_EQ(ids["idVendor"], Hex4(kProcessorVendorId));
  EXPECT_EQ(ids["idProduct"], Hex4(kProcessorProductId));
}

// logind turns the uaccess tag into an ACL in 73-seat-late.rules; a rule that sorts after it
// would tag the node too late to count.
TEST(UdevRule, RunsBeforeTheSeatRules) {
  const std::string name = std::filesystem::path(TAVELO_UDEV_RULE).filename().string();
  ASSERT_TRUE(name.size() > 3 && std::isdigit(static_cast<unsigned char>(name[0])) &&
              std::isdigit(static_cast<unsigned char>(name[1])) && name[2] == '-')
      << name;
  EXPECT_LT(std::stoi(name.substr(0, 2)), 73) << name;
  EXPECT_TRUE(name.ends_with(".rules")) << name;
}

// The checker itself: a wrong key form or a lookalike operator must not pass as a match.
TEST(UdevRuleChecker, RejectsWhatUdevWouldNotRead) {
  EXPECT_NE(ParseRuleLine(R"(SUBSYSTEM=="hidraw", ATTRS{idVendor}=10c4)").error, "");
  EXPECT_NE(ParseRuleLine(R"(SUBSYSTEM=="hidraw", ATTRS{idVendor}=="10c4)").error, "");
  EXPECT_NE(ParseRuleLine(R"(subsystem=="hidraw")").error, "");
  // ATTR looks at the node only, where USB ids never are.
  const ParsedRule onNode =
      ParseRuleLine(R"(SUBSYSTEM=="hidraw", ATTR{idVendor}=="10c4", TAG+="uaccess")");
  ASSERT_EQ(onNode.error, "");
  EXPECT_FALSE(Apply(onNode, Processor("10c4", "0321")).has_value());
  // Parent keys must hold on one device: ids split over two devices do not match.
  const ParsedRule split = ParseRuleLine(
      R"(SUBSYSTEM=="hidraw", ATTRS{idVendor}=="10c4", ATTRS{bInterfaceClass}=="03", TAG+="x")");
  EXPECT_FALSE(Apply(split, Processor("10c4", "0321")).has_value());
  const ParsedRule glob = ParseRuleLine(R"(SUBSYSTEM=="hid*", ATTRS{idProduct}!="03[0-1]?")");
  EXPECT_TRUE(Apply(glob, Processor("10c4", "0321")).has_value());
  EXPECT_FALSE(Apply(glob, Processor("10c4", "0311")).has_value());
}

}  // namespace
}  // namespace tavelo::testing
