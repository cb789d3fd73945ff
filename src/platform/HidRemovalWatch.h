#pragma once
// Notices the removal of HID devices while a link is open (udev where available), so an
// unplugged processor is seen even before the next read fails.
#include <QObject>
#include <functional>
#include <string>

class QSocketNotifier;

namespace tavelo {

class HidRemovalWatch : public QObject {
  Q_OBJECT

 public:
  // Calls onRemoved(devicePath) on this thread for each removed HID device.
  explicit HidRemovalWatch(std::function<void(const std::string&)> onRemoved,
                           QObject* parent = nullptr);
  ~HidRemovalWatch() override;

  // False where no removal notices can be had; the read error then tells.
  bool Active() const { return notifier_ != nullptr; }

 private:
  void OnReadable();

  std::function<void(const std::string&)> onRemoved_;
  void* udev_ = nullptr;
  void* monitor_ = nullptr;
  QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tavelo
