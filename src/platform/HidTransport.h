#pragma once
// The USB link: finds the processor by its IDs, writes each request as 65-byte output
// reports and reads exactly one input report per request on a reader thread, which wakes
// the owner's thread when the report (or a failure) is in. A missing report after the read
// time-out (3000 ms), a read error, a failed write or the device's removal take the link
// down; the device handles are released whenever it goes down.
#include <QObject>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "core/link/Transport.h"
#include "platform/HidDevice.h"

namespace tavelo {

class HidRemovalWatch;

class HidTransport : public QObject, public Transport {
  Q_OBJECT

 public:
  static constexpr int kReadTimeoutMs = 3000;

  explicit HidTransport(std::unique_ptr<HidBackend> backend = MakeHidapiBackend(),
                        QObject* parent = nullptr);
  ~HidTransport() override;

  LinkKind Kind() const override { return LinkKind::kUsb; }
  bool Open() override;
  bool IsConnected() const override;
  int Send(const std::uint8_t* frame, int size) override;
  FetchStatus Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) override;
  void Close() override;
  std::string Describe() const override;
  std::string FailureText() const override;
  LinkOpenProblem OpenProblem() const override;

  // Tests shorten the read time-out.
  void SetReadTimeoutMs(int ms) {
    std::lock_guard lock(mutex_);
    readTimeoutMs_ = ms;
  }
  // The device at this path was removed (removal notices call it; compared ignoring case).
  void DeviceRemoved(const std::string& path);

 private:
  void ReaderLoop();
  void PostWake();
  void DiscardWaitingReports();

  std::unique_ptr<HidBackend> backend_;
  std::unique_ptr<HidDevice> device_;
  std::unique_ptr<HidRemovalWatch> removalWatch_;
  int readTimeoutMs_ = kReadTimeoutMs;  // under mutex_

  // Every call on the device (write, read) holds this: the HID library forbids two calls
  // on one device at once. Taken before mutex_ when both are needed.
  std::mutex deviceMutex_;

  // Hand-over with the reader thread, all under mutex_.
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::thread reader_;
  bool stop_ = false;
  int cyclesPending_ = 0;  // requests whose input report is still to be read
  bool reading_ = false;
  bool failed_ = false;  // read error, read time-out or removal
  std::vector<std::uint8_t> staged_;
  std::string failure_;          // why the link failed or would not open (under mutex_)
  LinkOpenProblem openProblem_;  // the last Open()'s refusal (under mutex_)
};

}  // namespace tavelo
