#pragma once
// One small interface over every way of reaching a processor: USB HID, Wi-Fi TCP and
// the in-process virtual processor. Everything runs on the engine's thread; a transport
// with a thread of its own calls the wake-up hook, and the owner then calls
// Engine::BytesArrived() on the engine's thread.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

#include "core/link/LinkOpenProblem.h"

namespace tavelo {

// Timing class of a link: USB-like (reply time-out 100 ticks, keep-alive 50) or
// Wi-Fi-like (130 and 55, connection made asynchronously).
enum class LinkKind : int { kUsb = 0, kWifi = 1 };

// The link a user picks (panel buttons, the command line's --link): a processor on USB or
// Wi-Fi, or the built-in virtual processor, which runs on USB timings.
enum class LinkChoice { kUsb, kWifi, kDemo };

enum class FetchStatus {
  kNothing,  // nothing has arrived yet
  kBytes,    // bytes were handed over
  kFailed,   // the link failed: read error, read time-out, device removed
};

class Transport {
 public:
  virtual ~Transport() = default;

  virtual LinkKind Kind() const = 0;

  // USB: finds and opens the device, true on success. Wi-Fi: starts connecting and
  // returns true; IsConnected() turns true once the connection stands.
  virtual bool Open() = 0;
  virtual bool IsConnected() const = 0;
  // Wi-Fi: the connect has failed for good (refused, unknown host, unreachable) and waiting
  // longer would change nothing; FailureText() says why.
  virtual bool ConnectFailed() const { return false; }

  // Sends one request frame (N + 4 bytes; a USB transport cuts it into reports itself).
  // Returns the number of bytes written; 0 when nothing was written. A failed USB write
  // leaves the transport closed.
  virtual int Send(const std::uint8_t* frame, int size) = 0;

  // Hands over up to `capacity` received bytes in arrival order.
  virtual FetchStatus Fetch(std::uint8_t* out, std::size_t capacity, std::size_t& got) = 0;

  // Releases everything; safe to call twice.
  virtual void Close() = 0;

  // Which link this is, for the user: "Wi-Fi 192.168.4.1:8080", "USB (10C4:0321)".
  virtual std::string Describe() const { return {}; }
  // Why the last open or the link failed, in plain words ("connection refused by
  // 127.0.0.1:9"); empty when nothing failed or the cause is unknown.
  virtual std::string FailureText() const { return {}; }
  // A processor that was found but refused to open: what kind of refusal, where, and the
  // system's reason, so the user can be told the remedy.
  virtual LinkOpenProblem OpenProblem() const { return {}; }

  // Called (from any thread) when bytes have arrived or the link state changed.
  void SetWakeup(std::function<void()> wakeup) { wakeup_ = std::move(wakeup); }

 protected:
  void Wake() const {
    if (wakeup_) wakeup_();
  }

 private:
  std::function<void()> wakeup_;
};

}  // namespace tavelo
