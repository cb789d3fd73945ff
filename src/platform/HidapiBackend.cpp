// The HID backend over hidapi (hidraw on Linux).
#include <hidapi/hidapi.h>

#include <mutex>

#include "platform/HidDevice.h"

namespace tavelo {
namespace {

class HidapiDevice : public HidDevice {
 public:
  HidapiDevice(hid_device* device, std::string path) : device_(device), path_(std::move(path)) {}
  ~HidapiDevice() override { hid_close(device_); }
  HidapiDevice(const HidapiDevice&) = delete;
  HidapiDevice& operator=(const HidapiDevice&) = delete;

  int Write(const std::uint8_t* report, std::size_t size) override {
    return hid_write(device_, report, size);
  }
  // Devices without numbered reports deliver the data bytes only (no report ID).
  int Read(std::uint8_t* out, std::size_t size, int timeoutMs) override {
    return hid_read_timeout(device_, out, size, timeoutMs);
  }
  std::string Path() const override { return path_; }

 private:
  hid_device* device_;
  std::string path_;
};

class HidapiBackend : public HidBackend {
 public:
  std::unique_ptr<HidDevice> Open(std::uint16_t vendorId, std::uint16_t productId) override {
    static std::once_flag initOnce;
    static bool ready = false;
    std::call_once(initOnce, [] { ready = hid_init() == 0; });
    if (!ready) return nullptr;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    std::unique_ptr<HidDevice> opened;
    for (hid_device_info* info = list; info != nullptr && !opened; info = info->next) {
      // Only the IDs are compared; the first matching device that opens is the one.
      if (info->vendor_id != vendorId || info->product_id != productId) continue;
      if (hid_device* device = hid_open_path(info->path)) {
        opened = std::make_unique<HidapiDevice>(device, info->path);
      }
    }
    hid_free_enumeration(list);
    return opened;
  }
};

}  // namespace

std::unique_ptr<HidBackend> MakeHidapiBackend() {
  return std::make_unique<HidapiBackend>();
}

}  // namespace tavelo
