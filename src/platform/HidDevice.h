#pragma once
// A HID device as the USB link needs it: write one output report, read one input report
// with a time-out. Behind an interface so the link's reader logic can be tested without
// hardware; the real one is hidapi.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "core/link/LinkOpenProblem.h"

namespace tavelo {

inline constexpr std::uint16_t kProcessorVendorId = 0x10C4;
inline constexpr std::uint16_t kProcessorProductId = 0x0321;

class HidDevice {
 public:
  virtual ~HidDevice() = default;
  // Writes one output report (report ID first). Bytes written, or -1 on failure.
  virtual int Write(const std::uint8_t* report, std::size_t size) = 0;
  // Reads one input report's data bytes. Bytes read, 0 on time-out, -1 on failure
  // (a removed device fails). A time-out of 0 only takes what is already waiting.
  virtual int Read(std::uint8_t* out, std::size_t size, int timeoutMs) = 0;
  // The system path of the device, for matching removal notices.
  virtual std::string Path() const = 0;
};

class HidBackend {
 public:
  virtual ~HidBackend() = default;
  // Finds and opens the processor with these IDs; nullptr when there is none or it cannot
  // be opened (OpenProblem() then says why).
  virtual std::unique_ptr<HidDevice> Open(std::uint16_t vendorId, std::uint16_t productId) = 0;
  // Why the last Open() found a processor but could not open it; no refusal when it opened
  // or none was attached.
  virtual LinkOpenProblem OpenProblem() const { return {}; }
};

// The processor's IDs as the user reads them ("10C4:0321").
std::string ProcessorIdText();

std::unique_ptr<HidBackend> MakeHidapiBackend();

}  // namespace tavelo
