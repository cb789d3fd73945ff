#pragma once
// The processor's vocabulary: every command code a request frame carries, and the notice
// codes that some replies report. Code that talks to the processor names these instead of
// writing the numbers.
#include <cstdint>

namespace tavelo {

enum class CommandCode : std::uint8_t {
  kNone = 0,  // no block carries the value
  kRecallPreset = 1,
  kMusicBlock = 2,
  kEqBand = 3,
  kEqSetReset = 4,
  kMicBlock = 5,
  kKeyButton = 6,
  kAdjustManner = 7,
  kEffectVolume = 9,
  kEffectInitLevel = 10,
  kReverbBlock = 11,
  kToneValue = 12,
  kEchoBlock = 13,
  kOutputChannel = 14,
  kSwitchWord = 15,
  kPassFilter = 17,
  kUseInitVolume = 18,
  kResetAll = 20,
  kMute = 21,
  kUploadFinishedAlias = 22,  // answered like an upload finish; never sent
  kLogoText = 23,
  kStatusPoll = 28,
  kUnposted29 = 29,
  kUnposted32 = 32,
  kAppMode = 34,
  kLockKey = 43,
  kLockKeyPassword = 44,
  kAdminMode = 45,
  kAdminPassword = 46,
  kUnposted47 = 47,
  kBoostSwitches = 48,
  kBoostBand = 49,
  kBoostRead = 50,
  kBoostBlock = 51,
  kTwoByteSetting = 53,
  kRecordMixer = 57,
  kEchoType = 58,
  kPowerMode = 59,
  kMicEqLink = 60,
  kOutputDisplay = 61,
  kReadStart = 63,
  kReadChunk = 64,
  kWriteStart = 65,
  kWriteChunk = 66,
  kWriteFinish = 67,
  kMicSetting = 72,
  kRestoreFactory = 75,
  kBluetoothName = 78,
};

constexpr int CodeNumber(CommandCode c) {
  return static_cast<int>(c);
}

// The notice a reply reports (the high byte of the engine's notice; the low byte is the
// processor's result where the reply carries one).
enum class NoticeCode : std::uint8_t {
  kLockKey = 0x08,
  kLockKeyPassword = 0x09,
  kAdminMode = 0x0A,
  kAdminPassword = 0x0B,
  kUploadFinished = 0x20,
  kRecallDone = 0x21,
  kBoostStored = 0x31,
  kResetAllDone = 0x32,
  kLogoSet = 0x33,
  kEchoTypeReloaded = 0x34,
  kFactoryRestored = 0x35,
};

// The engine's notice: the reply's kind in the high byte, the processor's result in the low.
constexpr int NoticeWord(NoticeCode n, int result = 0) {
  return static_cast<int>(n) << 8 | (result & 0xFF);
}

}  // namespace tavelo
