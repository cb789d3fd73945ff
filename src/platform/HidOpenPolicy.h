#pragma once
// How the processor is chosen and opened among the attached HID devices, over a seam that
// stands for the HID library's enumeration and open, so the rule can be tested without
// devices: the first device with the processor's IDs, in enumeration order, is the one. A
// second processor is never tried instead, so which one is used does not depend on which
// happens to open. When the chosen one refuses, the refusal is kept with its device node
// and the system's reason.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/HidDevice.h"

namespace tavelo {

struct HidDeviceEntry {
  std::string path;  // the device node ("/dev/hidraw3")
  std::uint16_t vendorId = 0;
  std::uint16_t productId = 0;
};

// The HID library as the open policy uses it.
class HidSystem {
 public:
  virtual ~HidSystem() = default;
  // False when the library could not be started.
  virtual bool Ready() = 0;
  // Attached devices with these IDs, in the system's enumeration order.
  virtual std::vector<HidDeviceEntry> Enumerate(std::uint16_t vendorId,
                                                std::uint16_t productId) = 0;
  // Opens one device; nullptr with `errorNumber` set (0 when the system gave none) when it
  // was refused.
  virtual std::unique_ptr<HidDevice> OpenPath(const std::string& path, int& errorNumber) = 0;
};

class HidOpenPolicy : public HidBackend {
 public:
  explicit HidOpenPolicy(std::unique_ptr<HidSystem> system) : system_(std::move(system)) {}

  std::unique_ptr<HidDevice> Open(std::uint16_t vendorId, std::uint16_t productId) override;
  LinkOpenProblem OpenProblem() const override { return problem_; }

 private:
  std::unique_ptr<HidSystem> system_;
  LinkOpenProblem problem_;
};

std::unique_ptr<HidSystem> MakeHidapiSystem();

}  // namespace tavelo
