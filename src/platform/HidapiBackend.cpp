// The HID backend over hidapi (hidraw on Linux).
#include <hidapi/hidapi.h>

#include <cerrno>
#include <cstring>

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
    // Started once, and shut down at exit, after every device was closed.
    struct Library {
      bool ready = hid_init() == 0;
      ~Library() {
        if (ready) hid_exit();
      }
    };
    static Library library;
    if (!library.ready) return nullptr;
    openError_.clear();
    hid_device_info* list = hid_enumerate(vendorId, productId);
    std::unique_ptr<HidDevice> opened;
    // The first device with the IDs is the one; a second processor is never tried instead,
    // so which one is used does not depend on which happens to open.
    for (hid_device_info* info = list; info != nullptr; info = info->next) {
      if (info->vendor_id != vendorId || info->product_id != productId) continue;
      errno = 0;
      if (hid_device* device = hid_open_path(info->path)) {
        opened = std::make_unique<HidapiDevice>(device, info->path);
      } else {
        const int code = errno;
        openError_ = std::string(info->path) + ": " +
                     (code != 0 ? std::strerror(code) : "the system refused to open it");
      }
      break;
    }
    hid_free_enumeration(list);
    return opened;
  }
  std::string OpenError() const override { return openError_; }

 private:
  std::string openError_;
};

}  // namespace

std::unique_ptr<HidBackend> MakeHidapiBackend() {
  return std::make_unique<HidapiBackend>();
}

}  // namespace tavelo
