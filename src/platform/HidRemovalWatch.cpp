#include "platform/HidRemovalWatch.h"

#include <QSocketNotifier>

#ifdef TAVELO_HAVE_UDEV
#include <libudev.h>
#endif

namespace tavelo {

#ifdef TAVELO_HAVE_UDEV

HidRemovalWatch::HidRemovalWatch(std::function<void(const std::string&)> onRemoved, QObject* parent)
    : QObject(parent), onRemoved_(std::move(onRemoved)) {
  udev* u = udev_new();
  if (u == nullptr) return;
  udev_monitor* m = udev_monitor_new_from_netlink(u, "udev");
  if (m == nullptr || udev_monitor_filter_add_match_subsystem_devtype(m, "hidraw", nullptr) < 0 ||
      udev_monitor_enable_receiving(m) < 0) {
    if (m != nullptr) udev_monitor_unref(m);
    udev_unref(u);
    return;
  }
  udev_ = u;
  monitor_ = m;
  notifier_ = new QSocketNotifier(udev_monitor_get_fd(m), QSocketNotifier::Read, this);
  connect(notifier_, &QSocketNotifier::activated, this, &HidRemovalWatch::OnReadable);
}

HidRemovalWatch::~HidRemovalWatch() {
  delete notifier_;
  if (monitor_ != nullptr) udev_monitor_unref(static_cast<udev_monitor*>(monitor_));
  if (udev_ != nullptr) udev_unref(static_cast<udev*>(udev_));
}

void HidRemovalWatch::OnReadable() {
  udev_device* device = udev_monitor_receive_device(static_cast<udev_monitor*>(monitor_));
  if (device == nullptr) return;
  const char* action = udev_device_get_action(device);
  const char* node = udev_device_get_devnode(device);
  const std::string removed = (action != nullptr && std::string(action) == "remove" && node)
                                  ? std::string(node)
                                  : std::string();
  udev_device_unref(device);
  if (!removed.empty() && onRemoved_) onRemoved_(removed);
}

#else

HidRemovalWatch::HidRemovalWatch(std::function<void(const std::string&)> onRemoved, QObject* parent)
    : QObject(parent), onRemoved_(std::move(onRemoved)) {}

HidRemovalWatch::~HidRemovalWatch() = default;

void HidRemovalWatch::OnReadable() {}

#endif

}  // namespace tavelo
