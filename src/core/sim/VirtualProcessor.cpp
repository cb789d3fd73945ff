#include "core/sim/VirtualProcessor.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "core/link/CommandCode.h"
#include "core/link/Frame.h"
#include "core/link/LittleEndian.h"
#include "core/link/ReplyParser.h"
#include "core/params/BlockEncoder.h"
#include "core/params/UploadSlotByte.h"
#include "core/sim/BlockApply.h"

namespace tavelo {
namespace {

constexpr int kMaxChunkReply = kMaxReplyPayload - 1;  // N counts the reply code too

void PutLe16(std::vector<std::uint8_t>& out, int value) {
  out.resize(out.size() + 2);
  le::Put16(out.data() + out.size() - 2, static_cast<std::uint16_t>(value));
}

void SetName(std::array<char, kPresetNameSize>& name, const char* text) {
  name.fill(' ');
  std::memcpy(name.data(), text, std::min(std::strlen(text), name.size()));
}

template <std::size_t N>
void SetDeviceName(std::array<char, N>& name, const char* text) {
  name.fill('\0');
  std::memcpy(name.data(), text, std::min(std::strlen(text), N - 1));
}

constexpr const char* kDefaultBtName = "TAVELO-SIM";
constexpr const char* kDefaultBleName = "TAVELO-SIM-BLE";

// Front panel at rest: levels centred, middle frequencies at 1000 Hz, and the echo and
// reverb quick values near their start-up values.
constexpr std::array<std::uint8_t, 7> kRestPositions = {0x66, 0x66, 0x66, 0x66, 0xC1, 0x57, 0x60};

// What each echo type recalls: image 114..122 and W26..W29.
constexpr std::array<SimEchoValues, 3> kEchoDefaults = {{
    {{0, 100, 60, 100, 60, 64, 0, 50, 50}, {180, 0, 180, 0}},
    {{1, 100, 60, 100, 60, 64, 0, 50, 50}, {200, 0, 200, 0}},
    {{2, 100, 60, 100, 60, 64, 0, 50, 50}, {200, 0, 300, 20}},
}};

constexpr std::uint8_t kAccepted = 1;
constexpr std::uint8_t kRefused = 0;

// Copies the preset part (the 654-byte body) of `from` into `to`, leaving the extras of
// `to` (preset names, boost block, tone words, device names) as they are.
void CopyPresetPart(const ParamImage& from, ParamImage& to) {
  std::array<std::uint8_t, kUploadBodySize> body{};
  BuildUploadBody(from, body);
  DecodeUploadBody(body.data(), to);
}

}  // namespace

std::vector<std::uint8_t> BuildSimReplyFrame(std::uint8_t code, const std::uint8_t* data,
                                             int dataLength) {
  const int n = dataLength + 1;
  std::vector<std::uint8_t> frame;
  frame.reserve(static_cast<std::size_t>(n + 4));
  frame.push_back(kReplyStart);
  PutLe16(frame, n);
  frame.push_back(static_cast<std::uint8_t>(~code));
  frame.insert(frame.end(), data, data + dataLength);
  std::uint8_t sum = 0;
  for (std::size_t i = 1; i < frame.size(); ++i) sum += frame[i];
  frame.push_back(static_cast<std::uint8_t>(-sum));
  return frame;
}

VirtualProcessor::VirtualProcessor() {
  ApplyDefaults(current_);
  InitCommon();
}

VirtualProcessor::VirtualProcessor(const ParamImage& current) : current_(current) {
  InitCommon();
  // The given preset is what slot 0 holds too, so a recall of slot 0 gives it back.
  CopyPresetPart(current_, stored_[0]);
}

void VirtualProcessor::InitCommon() {
  ParamImage base;
  ApplyDefaults(base);
  for (int slot = 0; slot < kStoredPresets; ++slot) {
    ParamImage preset = base;
    char name[kPresetNameSize + 1];
    std::snprintf(name, sizeof name, "USER %d", slot + 1);
    SetName(preset.name, name);
    stored_[static_cast<std::size_t>(slot)] = preset;
    factory_[static_cast<std::size_t>(slot)] = preset;
  }
  if (current_.name == std::array<char, kPresetNameSize>{}) current_.name = stored_[0].name;
  if (current_.btName[0] == '\0') SetDeviceName(current_.btName, kDefaultBtName);
  if (current_.bleName[0] == '\0') SetDeviceName(current_.bleName, kDefaultBleName);
  positions_ = kRestPositions;
  echoValues_ = kEchoDefaults;
}

// --- faults ---------------------------------------------------------------------------

void VirtualProcessor::AddFault(const SimFaultSpec& fault) {
  faults_.push_back(fault);
  if (fault.fault == SimFault::kLocked) lockEngaged_ = true;
  if (fault.fault == SimFault::kCutAfter) repliesSent_ = 0;  // counted from now on
}

void VirtualProcessor::ClearFaults() {
  faults_.clear();
}

bool VirtualProcessor::FaultFor(SimFault fault, std::uint8_t code) const {
  return std::any_of(faults_.begin(), faults_.end(), [&](const SimFaultSpec& f) {
    return f.fault == fault && (f.arg < 0 || f.arg == code);
  });
}

int VirtualProcessor::FaultArg(SimFault fault, int fallback) const {
  for (const SimFaultSpec& f : faults_) {
    if (f.fault == fault) return f.arg < 0 ? fallback : f.arg;
  }
  return -1;
}

int VirtualProcessor::LatencyMs() const {
  constexpr int kDefaultSlowMs = 500;
  return std::max(latencyMs_, FaultArg(SimFault::kSlowReply, kDefaultSlowMs));
}

// The cut fires once: a re-plugged or reconnected processor behaves again.
void VirtualProcessor::CutLink(SimReply& reply) {
  reply.cutLink = true;
  linkCut_ = true;
  faults_.erase(
      std::remove_if(faults_.begin(), faults_.end(),
                     [](const SimFaultSpec& f) { return f.fault == SimFault::kCutAfter; }),
      faults_.end());
}

void VirtualProcessor::RestoreLink() {
  linkCut_ = false;
  repliesSent_ = 0;
}

// --- settings --------------------------------------------------------------------------

bool VirtualProcessor::SetLockKey(const std::string& digits) {
  if (digits.size() != lockKey_.size()) return false;
  if (!std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return false;
  }
  for (std::size_t i = 0; i < lockKey_.size(); ++i) {
    lockKey_[i] = static_cast<std::uint8_t>(digits[i] - '0');
  }
  return true;
}

void VirtualProcessor::SetIndicators(std::uint8_t first, std::uint8_t second) {
  indicators_ = {first, second};
}

const SimEchoValues& VirtualProcessor::EchoValues(int echoType) const {
  return echoValues_[static_cast<std::size_t>(std::clamp(echoType, 0, 2))];
}

std::array<std::uint8_t, kDownloadBodySize> VirtualProcessor::DownloadBody() const {
  ParamImage image = current_;
  for (int slot = 0; slot < kStoredPresets; ++slot) {
    image.presetNames[static_cast<std::size_t>(slot)] =
        stored_[static_cast<std::size_t>(slot)].name;
  }
  std::array<std::uint8_t, kDownloadBodySize> body{};
  BuildDownloadBody(image, body);
  return body;
}

// --- requests --------------------------------------------------------------------------

SimReply VirtualProcessor::Answer(std::uint8_t code, const std::uint8_t* data, int dataLength) {
  if (dataLength < 0) dataLength = 0;
  return Finish(code, data, dataLength);
}

SimReply VirtualProcessor::Finish(std::uint8_t code, const std::uint8_t* data, int dataLength) {
  SimReply reply;
  reply.latencyMs = LatencyMs();
  // The request takes effect even when its reply is then lost.
  std::vector<std::uint8_t> replyData = ReplyData(code, data, dataLength);
  const int cutAfter = FaultArg(SimFault::kCutAfter, 0);
  if (cutAfter >= 0 && repliesSent_ >= cutAfter) {
    CutLink(reply);  // the link is gone before this reply could leave
    return reply;
  }
  if (FaultFor(SimFault::kDropReply, code)) return reply;
  reply.bytes = BuildSimReplyFrame(code, replyData.data(), static_cast<int>(replyData.size()));
  if (FaultFor(SimFault::kCorruptReplyChecksum, code)) reply.bytes.back() += 1;
  ++repliesSent_;
  // The link dies once this reply is out.
  if (cutAfter >= 0 && repliesSent_ >= cutAfter) CutLink(reply);
  return reply;
}

std::vector<std::uint8_t> VirtualProcessor::ReplyData(std::uint8_t code, const std::uint8_t* data,
                                                      int dataLength) {
  const std::uint8_t d0 = dataLength > 0 ? data[0] : 0;
  using C = CommandCode;
  switch (static_cast<CommandCode>(code)) {
    case C::kStatusPoll:
      return StatusReply();
    case C::kReadStart:
      return ReadStartReply();
    case C::kReadChunk:
      return ChunkReply(data, dataLength);
    case C::kWriteStart:
      return {UploadStart(data, dataLength)};
    case C::kWriteChunk:
      return {UploadChunk(data, dataLength)};
    case C::kWriteFinish:
      return {UploadFinish(data, dataLength)};
    case C::kRecallPreset:
      return {Recall(d0)};
    case C::kResetAll:
      stored_ = factory_;
      return {kAccepted};
    case C::kRestoreFactory:
      stored_ = factory_;
      currentPreset_ = 0;
      CopyPresetPart(factory_[0], current_);
      useInitVolume_ = false;
      powerMode_ = 0;
      return {kAccepted};
    case C::kLockKey:
      return {CheckLockKey(data, dataLength)};
    case C::kLockKeyPassword:
      return {ChangeLockKey(data, dataLength)};
    case C::kAdminMode:
      return {CheckAdmin(data, dataLength)};
    case C::kAdminPassword:
      return {ChangeAdminPassword(data, dataLength)};
    case C::kEchoType:
      return EchoTypeReply(d0);
    case C::kBoostRead:
      return BoostReply();
    case C::kUseInitVolume:
      useInitVolume_ = d0 != 0;
      return {kAccepted};
    case C::kMute:
      muted_ = d0 != 0;
      return {kAccepted};
    case C::kPowerMode:
      powerMode_ = d0;
      return {kAccepted};
    case C::kLogoText:
      if (dataLength < static_cast<int>(logo_.size())) return {kRefused};
      std::copy_n(data, logo_.size(), logo_.begin());
      return {kAccepted};
    case C::kBluetoothName:
      SetBluetoothName(data, dataLength);
      return {kAccepted};
    default:
      break;
  }
  const bool applied = ApplyBlockToImage(current_, code, data, dataLength);
  if (applied && code == CodeNumber(CommandCode::kEchoBlock)) {
    // The echo block also becomes what this echo type recalls.
    SimEchoValues& values = echoValues_[std::min<std::size_t>(current_.byte(img::kEchoType), 2)];
    std::copy_n(current_.bytes.begin() + img::kEchoType, values.bytes.size(), values.bytes.begin());
    for (std::size_t i = 0; i < values.delays.size(); ++i) {
      values.delays[i] = current_.word(26 + static_cast<int>(i));
    }
  }
  return {applied ? kAccepted : kRefused};
}

std::vector<std::uint8_t> VirtualProcessor::StatusReply() const {
  std::vector<std::uint8_t> out;
  out.push_back(0);
  const int version = FaultArg(SimFault::kWrongVersion, 2);
  out.push_back(static_cast<std::uint8_t>(version >= 0 ? version : kSimProtocolVersion));
  out.push_back(indicators_[0]);
  out.push_back(indicators_[1]);
  out.insert(out.end(), positions_.begin(), positions_.end());
  return out;
}

std::vector<std::uint8_t> VirtualProcessor::ReadStartReply() const {
  const auto body = DownloadBody();
  std::vector<std::uint8_t> out(22, 0);
  out[0] = static_cast<std::uint8_t>(currentPreset_);
  std::copy(kSimSignature.begin(), kSimSignature.end(), out.begin() + 1);
  if (FaultArg(SimFault::kWrongSignature, 0) >= 0) out[4] = 6;
  out[7] = static_cast<std::uint8_t>((lockEngaged_ ? 0x01 : 0) | (useInitVolume_ ? 0x04 : 0) |
                                     (vrPresent_ ? 0x80 : 0));
  out[8] = static_cast<std::uint8_t>(adminMode_);
  out[15] = inputStatus_;
  int announced = FaultArg(SimFault::kOversizedTotal, 5000);
  if (announced < 0) announced = std::min(FaultArg(SimFault::kShortTotal, 653), kDownloadBodySize);
  if (announced < 0) announced = kDownloadBodySize;
  out[17] = static_cast<std::uint8_t>(announced & 0xFF);
  out[18] = static_cast<std::uint8_t>((announced >> 8) & 0xFF);
  // Bytes past the body read as zeros, so an oversized total keeps the body's checksum.
  std::uint8_t checksum = BodyChecksum(
      body.data(), std::min<std::size_t>(body.size(), static_cast<std::size_t>(announced)));
  if (FaultArg(SimFault::kBadBodyChecksum, 0) >= 0) checksum += 1;
  out[19] = checksum;
  return out;
}

std::vector<std::uint8_t> VirtualProcessor::ChunkReply(const std::uint8_t* data,
                                                       int dataLength) const {
  if (dataLength < 4) return {};
  const int offset = le::Get16(data);
  const int count = std::min<int>(le::Get16(data + 2), kMaxChunkReply);
  const auto body = DownloadBody();
  // Bytes beyond the body (an oversized total) read as zeros.
  std::vector<std::uint8_t> out(static_cast<std::size_t>(count), 0);
  for (int i = 0; i < count && offset + i < kDownloadBodySize; ++i) {
    out[static_cast<std::size_t>(i)] = body[static_cast<std::size_t>(offset + i)];
  }
  return out;
}

// --- uploads -----------------------------------------------------------------------------

std::uint8_t VirtualProcessor::UploadStart(const std::uint8_t* data, int dataLength) {
  uploadTotal_ = -1;
  if (dataLength < 3) return kRefused;
  const int total = le::Get16(data);
  if (total != kUploadBodySize) return kRefused;
  uploadTotal_ = total;
  uploadChecksum_ = data[2];
  uploadBody_.fill(0);
  return kAccepted;
}

std::uint8_t VirtualProcessor::UploadChunk(const std::uint8_t* data, int dataLength) {
  if (uploadTotal_ < 0 || dataLength < 4) return kRefused;
  const int offset = le::Get16(data);
  const int count = le::Get16(data + 2);
  if (count > dataLength - 4 || offset + count > uploadTotal_) return kRefused;
  std::copy_n(data + 4, count, uploadBody_.begin() + offset);
  return kAccepted;
}

std::uint8_t VirtualProcessor::UploadFinish(const std::uint8_t* data, int dataLength) {
  const int total = uploadTotal_;
  uploadTotal_ = -1;
  if (total < 0 || dataLength < 2) return kRefused;
  // A body that does not match its announced checksum is not stored.
  if (BodyChecksum(uploadBody_.data(), static_cast<std::size_t>(total)) != uploadChecksum_) {
    return kRefused;
  }
  const int slot = data[0] & kSlotByteMask;
  powerMode_ = data[1];
  if (slot < kStoredPresets) {
    // Bit 7 marks a loaded file; either way the slot becomes the current preset, as the
    // panel assumes when it sets its current preset number.
    DecodeUploadBody(uploadBody_.data(), stored_[static_cast<std::size_t>(slot)]);
    DecodeUploadBody(uploadBody_.data(), current_);
    currentPreset_ = slot;
    return kAccepted;
  }
  if (slot < kFactorySlotBase + kStoredPresets) {
    DecodeUploadBody(uploadBody_.data(),
                     factory_[static_cast<std::size_t>(slot - kFactorySlotBase)]);
    return kAccepted;
  }
  return kRefused;
}

std::uint8_t VirtualProcessor::Recall(int slot) {
  if (slot >= kStoredPresets) return kRefused;
  CopyPresetPart(stored_[static_cast<std::size_t>(slot)], current_);
  currentPreset_ = slot;
  return kAccepted;
}

// --- lock key and admin --------------------------------------------------------------------

std::uint8_t VirtualProcessor::CheckLockKey(const std::uint8_t* data, int dataLength) {
  if (dataLength < 5 || !std::equal(lockKey_.begin(), lockKey_.end(), data)) return kRefused;
  lockEngaged_ = data[4] != 0;
  return kAccepted;
}

std::uint8_t VirtualProcessor::ChangeLockKey(const std::uint8_t* data, int dataLength) {
  if (dataLength < 8 || !std::equal(lockKey_.begin(), lockKey_.end(), data)) return kRefused;
  if (!std::all_of(data + 4, data + 8, [](std::uint8_t d) { return d <= 9; })) return kRefused;
  std::copy_n(data + 4, 4, lockKey_.begin());
  return kAccepted;
}

std::uint8_t VirtualProcessor::CheckAdmin(const std::uint8_t* data, int dataLength) {
  if (dataLength < 7 || !std::equal(adminPassword_.begin(), adminPassword_.end(), data)) {
    return kRefused;
  }
  if (data[6] > 2) return kRefused;
  adminMode_ = data[6];
  return kAccepted;
}

std::uint8_t VirtualProcessor::ChangeAdminPassword(const std::uint8_t* data, int dataLength) {
  if (dataLength < 12 || !std::equal(adminPassword_.begin(), adminPassword_.end(), data)) {
    return kRefused;
  }
  if (!std::all_of(data + 6, data + 12, [](std::uint8_t d) { return d <= 9; })) return kRefused;
  std::copy_n(data + 6, 6, adminPassword_.begin());
  return kAccepted;
}

// --- echo type, boost, names --------------------------------------------------------------

std::vector<std::uint8_t> VirtualProcessor::EchoTypeReply(int echoType) {
  const SimEchoValues& values = EchoValues(echoType);
  std::copy(values.bytes.begin(), values.bytes.end(), current_.bytes.begin() + img::kEchoType);
  std::vector<std::uint8_t> out(values.bytes.begin(), values.bytes.end());
  for (std::size_t i = 0; i < values.delays.size(); ++i) {
    current_.word(26 + static_cast<int>(i)) = values.delays[i];
    PutLe16(out, values.delays[i]);
  }
  return out;
}

std::vector<std::uint8_t> VirtualProcessor::BoostReply() const {
  std::vector<std::uint8_t> out;
  out.push_back(current_.boost.switches);
  for (int ch = 0; ch < kBoostChannels; ++ch) {
    for (int b = 0; b < kBoostBandCounts[static_cast<std::size_t>(ch)]; ++b) {
      const auto record = EncodeWireBand(
          current_.boost.bands[static_cast<std::size_t>(ch)][static_cast<std::size_t>(b)]);
      out.insert(out.end(), record.begin(), record.end());
    }
  }
  return out;
}

void VirtualProcessor::SetBluetoothName(const std::uint8_t* data, int dataLength) {
  constexpr int kNameBytes = 8;
  if (dataLength < 1 || data[0] == 0) {
    SetDeviceName(current_.btName, kDefaultBtName);
    return;
  }
  current_.btName.fill('\0');
  for (int i = 0; i < kNameBytes && 1 + i < dataLength && data[1 + i] != 0; ++i) {
    current_.btName[static_cast<std::size_t>(i)] = static_cast<char>(data[1 + i]);
  }
}

}  // namespace tavelo
