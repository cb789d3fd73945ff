#include "platform/HidOpenPolicy.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace tavelo {
namespace {

// A device node's name reaches the console and a message box: no control bytes.
std::string Printable(const std::string& text) {
  std::string out = text;
  for (char& c : out) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte < 0x20 || byte == 0x7F) c = '?';
  }
  return out;
}

// The device went away between the enumeration and the open: as if none was attached.
bool Vanished(int errorNumber) {
  return errorNumber == ENOENT || errorNumber == ENODEV || errorNumber == ENXIO;
}

}  // namespace

std::string ProcessorIdText() {
  char text[16];
  std::snprintf(text, sizeof text, "%04X:%04X", kProcessorVendorId, kProcessorProductId);
  return text;
}

std::unique_ptr<HidDevice> HidOpenPolicy::Open(std::uint16_t vendorId, std::uint16_t productId) {
  problem_ = {};
  if (!system_ || !system_->Ready()) return nullptr;
  for (const HidDeviceEntry& entry : system_->Enumerate(vendorId, productId)) {
    if (entry.vendorId != vendorId || entry.productId != productId) continue;
    int errorNumber = 0;
    if (auto device = system_->OpenPath(entry.path, errorNumber)) return device;
    if (Vanished(errorNumber)) return nullptr;
    problem_.refusal = RefusalOfError(errorNumber);
    problem_.path = Printable(entry.path);
    problem_.systemText =
        errorNumber != 0 ? std::strerror(errorNumber) : "the system gave no reason";
    return nullptr;
  }
  return nullptr;
}

}  // namespace tavelo
