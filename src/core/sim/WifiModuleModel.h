#pragma once
// The processor's wireless module as the settings dialog sees it: it answers heartbeats,
// stores the access point and station settings and restores its factory settings.
#include <cstdint>
#include <string>
#include <vector>

namespace tavelo {

class WifiModuleModel {
 public:
  WifiModuleModel();

  // Feeds received bytes; returns the reply bytes to send (3 per complete message).
  std::vector<std::uint8_t> Feed(const std::uint8_t* bytes, std::size_t size);

  const std::string& ApName() const { return apName_; }
  const std::string& ApPassword() const { return apPassword_; }
  const std::string& StaName() const { return staName_; }
  const std::string& StaPassword() const { return staPassword_; }
  int Heartbeats() const { return heartbeats_; }

  // Next set-STA replies carry result 0 (the module refuses), for tests of "Setting error".
  void SetRefuseSettings(bool refuse) { refuse_ = refuse; }
  // The module stops answering (heartbeats included).
  void SetSilent(bool silent) { silent_ = silent; }

 private:
  void Restore();
  std::vector<std::uint8_t> Handle();

  std::vector<std::uint8_t> buffer_;
  std::size_t start_ = 0;  // what Handle() has taken off the front of buffer_ so far
  std::string apName_, apPassword_, staName_, staPassword_;
  int heartbeats_ = 0;
  bool refuse_ = false;
  bool silent_ = false;
};

}  // namespace tavelo
