// Which processor the USB link opens, and what it reports when it cannot: the open policy
// over a fake HID library.
#include <gtest/gtest.h>

#include <cerrno>

#include "platform/fake_hid.h"

namespace tavelo {
namespace {

using fakehid::FakeState;
using fakehid::FakeSystem;
using fakehid::Processor;

struct Policy {
  std::shared_ptr<FakeState> state = std::make_shared<FakeState>();
  FakeSystem* system = nullptr;
  std::unique_ptr<HidOpenPolicy> policy;
  Policy() {
    auto s = std::make_unique<FakeSystem>(state);
    system = s.get();
    policy = std::make_unique<HidOpenPolicy>(std::move(s));
  }
  std::unique_ptr<HidDevice> Open() {
    return policy->Open(kProcessorVendorId, kProcessorProductId);
  }
};

// Two processors attached: the first in enumeration order is the one, whether or not it
// opens; the second is never tried in its place. Devices with other IDs are passed over.
TEST(HidOpenPolicy, TheFirstProcessorInEnumerationOrderIsTheOneWhicheverOpens) {
  {
    Policy p;
    p.system->attached = {
        {"/dev/hidraw0", 0x046D, 0xC52B}, Processor("/dev/hidraw4"), Processor("/dev/hidraw2")};
    auto device = p.Open();
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->Path(), "/dev/hidraw4");
    EXPECT_EQ(p.system->tried, std::vector<std::string>{"/dev/hidraw4"});
    EXPECT_EQ(p.policy->OpenProblem().refusal, OpenRefusal::kNone);
  }
  {
    Policy p;  // the order decides, not the node's name
    p.system->attached = {Processor("/dev/hidraw2"), Processor("/dev/hidraw4")};
    EXPECT_EQ(p.Open()->Path(), "/dev/hidraw2");
  }
  {
    Policy p;  // the first refuses: no fall-back to the second
    p.system->attached = {Processor("/dev/hidraw4"), Processor("/dev/hidraw2")};
    p.system->refusing["/dev/hidraw4"] = EACCES;
    EXPECT_EQ(p.Open(), nullptr);
    EXPECT_EQ(p.system->tried, std::vector<std::string>{"/dev/hidraw4"});
    EXPECT_EQ(p.policy->OpenProblem().path, "/dev/hidraw4");
  }
}

// Present but not openable: the refusal, the node and the system's reason, per cause. A
// later open that works, or finds nothing, forgets the last refusal.
TEST(HidOpenPolicy, APresentProcessorThatRefusesSaysWhyAndWhere) {
  struct Case {
    int errorNumber;
    OpenRefusal refusal;
    const char* systemText;
  };
  for (const Case c : {Case{EACCES, OpenRefusal::kPermissionDenied, "Permission denied"},
                       Case{EPERM, OpenRefusal::kPermissionDenied, "Operation not permitted"},
                       Case{EBUSY, OpenRefusal::kBusy, "Device or resource busy"},
                       Case{EIO, OpenRefusal::kOther, "Input/output error"},
                       Case{0, OpenRefusal::kOther, "the system gave no reason"}}) {
    SCOPED_TRACE(c.systemText);
    Policy p;
    p.system->attached = {Processor("/dev/hidraw3")};
    p.system->refusing["/dev/hidraw3"] = c.errorNumber;
    EXPECT_EQ(p.Open(), nullptr);
    const LinkOpenProblem problem = p.policy->OpenProblem();
    EXPECT_EQ(problem.refusal, c.refusal);
    EXPECT_EQ(problem.path, "/dev/hidraw3");
    EXPECT_EQ(problem.systemText, c.systemText);
    p.system->refusing.clear();
    EXPECT_NE(p.Open(), nullptr);
    EXPECT_EQ(p.policy->OpenProblem().refusal, OpenRefusal::kNone);
  }
  // A control byte in a node's name never reaches the console.
  Policy p;
  p.system->attached = {Processor("/dev/hid\x1b[2Jraw3")};
  p.system->refusing["/dev/hid\x1b[2Jraw3"] = EACCES;
  p.Open();
  EXPECT_EQ(p.policy->OpenProblem().path, "/dev/hid?[2Jraw3");
}

// None present (nothing attached, only other devices, gone between listing and opening, or
// the library would not start): no device and nothing refused, so only "Open failed".
TEST(HidOpenPolicy, NoProcessorIsNotARefusal) {
  Policy none;
  EXPECT_EQ(none.Open(), nullptr);
  EXPECT_EQ(none.policy->OpenProblem().refusal, OpenRefusal::kNone);

  Policy others;
  others.system->attached = {{"/dev/hidraw0", 0x10C4, 0x0322}, {"/dev/hidraw1", 0x10C5, 0x0321}};
  EXPECT_EQ(others.Open(), nullptr);
  EXPECT_TRUE(others.system->tried.empty());

  for (const int gone : {ENOENT, ENODEV}) {
    Policy unplugged;
    unplugged.system->attached = {Processor("/dev/hidraw3")};
    unplugged.system->refusing["/dev/hidraw3"] = gone;
    EXPECT_EQ(unplugged.Open(), nullptr);
    EXPECT_EQ(unplugged.policy->OpenProblem().refusal, OpenRefusal::kNone);
  }

  Policy broken;
  broken.system->ready = false;
  broken.system->attached = {Processor("/dev/hidraw3")};
  EXPECT_EQ(broken.Open(), nullptr);
  EXPECT_TRUE(broken.system->tried.empty());
}

}  // namespace
}  // namespace tavelo
