#pragma once
// The device model of the virtual processor: a current preset, ten stored presets and a
// factory set, the lock key and admin password, names, logo, echo type values and the
// boost block. It answers every request frame the way the processor does, so the engine,
// the panel's demo mode, tavelo-sim and the tests all talk to one implementation.
//
// Defaults: lock key 1234 (not engaged), admin password 123456, admin mode 1 (so a demo
// user can save presets), protocol version 3, VR adjustment present, Bluetooth name
// "TAVELO-SIM", low-energy name "TAVELO-SIM-BLE".
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/params/Bodies.h"
#include "core/params/ParamImage.h"
#include "core/sim/Faults.h"

namespace tavelo {

inline constexpr int kSimMaxUsbReplyPayload = 60;
inline constexpr int kSimProtocolVersion = 3;
inline constexpr std::array<std::uint8_t, 4> kSimSignature = {23, 1, 2, 5};

// One reply as the processor sends it, with the delivery rules that faults impose.
struct SimReply {
  std::vector<std::uint8_t> bytes;  // the whole reply frame; empty when the reply is dropped
  int latencyMs = 0;                // it becomes available this long after the request
  bool cutLink = false;             // the link dies once this reply has been delivered
};

struct SimEchoValues {
  std::array<std::uint8_t, 9> bytes{};    // image 114..122
  std::array<std::uint16_t, 4> delays{};  // W26..W29
};

class VirtualProcessor {
 public:
  // Defaults everywhere: current preset and every stored and factory preset hold the
  // default parameter set, named "USER 1".."USER 10".
  VirtualProcessor();

  // Starts from `current` (for instance a parameter file); stored presets as above.
  explicit VirtualProcessor(const ParamImage& current);

  // A reproducible, varied current preset and stored presets, derived from `seed`.
  static VirtualProcessor Seeded(std::uint32_t seed);

  // --- requests -----------------------------------------------------------------------
  // Answers one request (the code and the data bytes that follow it in the frame).
  SimReply Answer(std::uint8_t code, const std::uint8_t* data, int dataLength);

  // Counts replies sent so far (dropped ones excluded).
  int RepliesSent() const { return repliesSent_; }
  // True once a cut-after fault has fired: the link must stay down.
  bool LinkCut() const { return linkCut_; }
  // Re-plugs after a cut: counting starts again.
  void RestoreLink();

  // --- faults ------------------------------------------------------------------------
  void AddFault(const SimFaultSpec& fault);
  void ClearFaults();
  void SetLatencyMs(int ms) { latencyMs_ = ms; }
  int LatencyMs() const;

  // --- state, for set-up and for tests ----------------------------------------------
  ParamImage& Current() { return current_; }
  const ParamImage& Current() const { return current_; }
  const ParamImage& Stored(int slot) const { return stored_[static_cast<std::size_t>(slot)]; }
  ParamImage& Stored(int slot) { return stored_[static_cast<std::size_t>(slot)]; }
  const ParamImage& Factory(int slot) const { return factory_[static_cast<std::size_t>(slot)]; }
  int CurrentPreset() const { return currentPreset_; }
  void SetCurrentPreset(int slot) { currentPreset_ = slot; }

  // Four digits 0..9 each; false (nothing changed) when `digits` is not four digits.
  bool SetLockKey(const std::string& digits);
  const std::array<std::uint8_t, 4>& LockKey() const { return lockKey_; }
  bool LockEngaged() const { return lockEngaged_; }
  void SetLockEngaged(bool engaged) { lockEngaged_ = engaged; }
  const std::array<std::uint8_t, 6>& AdminPassword() const { return adminPassword_; }
  int AdminMode() const { return adminMode_; }
  void SetAdminMode(int mode) { adminMode_ = mode; }

  bool UseInitVolume() const { return useInitVolume_; }
  void SetUseInitVolume(bool on) { useInitVolume_ = on; }
  bool VrPresent() const { return vrPresent_; }
  void SetVrPresent(bool present) { vrPresent_ = present; }
  std::uint8_t InputStatus() const { return inputStatus_; }
  void SetInputStatus(std::uint8_t flags) { inputStatus_ = flags; }
  std::uint8_t PowerMode() const { return powerMode_; }
  bool Muted() const { return muted_; }

  // Front panel: two indicator bytes and seven bytes of two 4-bit positions each.
  void SetIndicators(std::uint8_t first, std::uint8_t second);
  void SetPanelPositions(const std::array<std::uint8_t, 7>& positions) { positions_ = positions; }

  // Logo: flag, line 1, line 2 (16 bytes each) as the last code 23 carried.
  const std::array<std::uint8_t, 33>& Logo() const { return logo_; }
  const SimEchoValues& EchoValues(int echoType) const;

  // The 937 bytes a full download delivers now, and its checksum.
  std::array<std::uint8_t, kDownloadBodySize> DownloadBody() const;

 private:
  void InitCommon();
  void CutLink(SimReply& reply);
  SimReply Finish(std::uint8_t code, const std::uint8_t* data, int dataLength);
  std::vector<std::uint8_t> ReplyData(std::uint8_t code, const std::uint8_t* data, int dataLength);
  std::vector<std::uint8_t> StatusReply() const;
  std::vector<std::uint8_t> ReadStartReply() const;
  std::vector<std::uint8_t> ChunkReply(const std::uint8_t* data, int dataLength) const;
  std::uint8_t UploadStart(const std::uint8_t* data, int dataLength);
  std::uint8_t UploadChunk(const std::uint8_t* data, int dataLength);
  std::uint8_t UploadFinish(const std::uint8_t* data, int dataLength);
  std::uint8_t Recall(int slot);
  std::uint8_t CheckLockKey(const std::uint8_t* data, int dataLength);
  std::uint8_t ChangeLockKey(const std::uint8_t* data, int dataLength);
  std::uint8_t CheckAdmin(const std::uint8_t* data, int dataLength);
  std::uint8_t ChangeAdminPassword(const std::uint8_t* data, int dataLength);
  std::vector<std::uint8_t> EchoTypeReply(int echoType);
  std::vector<std::uint8_t> BoostReply() const;
  void SetBluetoothName(const std::uint8_t* data, int dataLength);
  bool FaultFor(SimFault fault, std::uint8_t code) const;
  int FaultArg(SimFault fault, int fallback) const;

  ParamImage current_{};
  std::array<ParamImage, kStoredPresets> stored_{};
  std::array<ParamImage, kStoredPresets> factory_{};
  int currentPreset_ = 0;

  std::array<std::uint8_t, 4> lockKey_{1, 2, 3, 4};
  bool lockEngaged_ = false;
  std::array<std::uint8_t, 6> adminPassword_{1, 2, 3, 4, 5, 6};
  int adminMode_ = 1;
  bool useInitVolume_ = false;
  bool vrPresent_ = true;
  bool muted_ = false;
  std::uint8_t inputStatus_ = 0;
  std::uint8_t powerMode_ = 0;
  std::array<std::uint8_t, 2> indicators_{};
  std::array<std::uint8_t, 7> positions_{};
  std::array<std::uint8_t, 33> logo_{};
  std::array<SimEchoValues, 3> echoValues_{};

  // Upload in progress.
  std::array<std::uint8_t, kTransferBufferSize> uploadBody_{};
  int uploadTotal_ = -1;  // -1: no upload started
  std::uint8_t uploadChecksum_ = 0;

  std::vector<SimFaultSpec> faults_;
  int latencyMs_ = 0;
  int repliesSent_ = 0;
  bool linkCut_ = false;
};

// Frames a reply: 55, N (LE), ~code, data, checksum.
std::vector<std::uint8_t> BuildSimReplyFrame(std::uint8_t code, const std::uint8_t* data,
                                             int dataLength);

}  // namespace tavelo
