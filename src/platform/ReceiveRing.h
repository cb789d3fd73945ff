#pragma once
// The Wi-Fi link's receive ring: 8192 bytes written by the socket and drained in arrival
// order. It never overruns: bytes beyond its free room are dropped (and counted), since
// the processor only ever sends what was asked for and the drain runs on every request.
#include <array>
#include <cstddef>
#include <cstdint>

namespace tavelo {

class ReceiveRing {
 public:
  static constexpr std::size_t kCapacity = 8192;

  // Stores as many bytes as fit; returns the number stored.
  std::size_t Write(const std::uint8_t* bytes, std::size_t size);
  // Takes up to `capacity` bytes, oldest first.
  std::size_t Read(std::uint8_t* out, std::size_t capacity);
  void Clear();

  std::size_t Pending() const { return pending_; }
  std::size_t Dropped() const { return dropped_; }

 private:
  std::array<std::uint8_t, kCapacity> data_{};
  std::size_t write_ = 0;
  std::size_t read_ = 0;
  std::size_t pending_ = 0;
  std::size_t dropped_ = 0;
};

}  // namespace tavelo
