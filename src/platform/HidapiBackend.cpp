// The HID library's side of the USB link: hidapi (hidraw on Linux) behind the open policy's
// seam.
#include <hidapi/hidapi.h>
#include <unistd.h>

#include <cerrno>

#include "platform/HidOpenPolicy.h"

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

class HidapiSystem : public HidSystem {
 public:
  bool Ready() override {
    // Started once, and shut down at exit, after every device was closed.
    struct Library {
      bool ready = hid_init() == 0;
      ~Library() {
        if (ready) hid_exit();
      }
    };
    static Library library;
    return library.ready;
  }

  std::vector<HidDeviceEntry> Enumerate(std::uint16_t vendorId, std::uint16_t productId) override {
    std::vector<HidDeviceEntry> entries;
    hid_device_info* list = hid_enumerate(vendorId, productId);
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
      if (info->path != nullptr) entries.push_back({info->path, info->vendor_id, info->product_id});
    }
    hid_free_enumeration(list);
    return entries;
  }

  std::unique_ptr<HidDevice> OpenPath(const std::string& path, int& errorNumber) override {
    errno = 0;
    if (hid_device* device = hid_open_path(path.c_str())) {
      errorNumber = 0;
      return std::make_unique<HidapiDevice>(device, path);
    }
    errorNumber = errno;
    // The library does not promise to leave the system's reason behind: ask for it.
    if (errorNumber == 0 && access(path.c_str(), R_OK | W_OK) != 0) errorNumber = errno;
    return nullptr;
  }
};

}  // namespace

std::unique_ptr<HidSystem> MakeHidapiSystem() {
  return std::make_unique<HidapiSystem>();
}

std::unique_ptr<HidBackend> MakeHidapiBackend() {
  return std::make_unique<HidOpenPolicy>(MakeHidapiSystem());
}

}  // namespace tavelo
