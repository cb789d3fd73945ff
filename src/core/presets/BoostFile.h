#pragma once
// The boost page's own 116-byte ".btpar" file: the switch byte and the four boost EQ sets.
#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "core/params/ParamImage.h"
#include "core/presets/AtomicFile.h"

namespace tavelo {

inline constexpr std::size_t kBoostFileSize = 116;
inline constexpr std::uint8_t kBoostFileMagic = 149;

namespace bfile {
inline constexpr std::size_t kMagic = 0;
inline constexpr std::size_t kSwitches = 1;
inline constexpr std::size_t kChecksum = 114;
}  // namespace bfile

// File order of the boost channels: music first, then microphone, reverb, echo.
inline constexpr std::array<int, kBoostChannels> kBoostFileChannelOrder = {1, 0, 2, 3};

// File offset of band 0 of boost channel `channel` (0 microphone .. 3 echo).
std::size_t BoostFileChannelOffset(int channel);

enum class BoostFileError { kNone, kWrongSize, kBadMagic, kBadChecksum };

struct BoostFileResult {
  BoostFileError error = BoostFileError::kNone;
  std::string message;  // "wrong size: 115 bytes", "bad magic", "bad checksum"
  BoostBlock block;     // meaningful only when ok(); bands past a channel's count keep defaults
  bool ok() const { return error == BoostFileError::kNone; }
};

std::array<std::uint8_t, kBoostFileSize> BuildBoostFile(const BoostBlock& block);

// Checks size, magic and checksum and reads the block. Reads only bytes[0..size).
BoostFileResult ParseBoostFile(const std::uint8_t* bytes, std::size_t size);

// Loading a boost file: takes over the switch byte and the bands each channel has, leaving
// the unused tail of the shorter channels as it was.
void ApplyLoadedBoost(BoostBlock& target, const BoostBlock& loaded);

// 149 plus the sum of all kBoostFileSize bytes (the magic counts twice); 0 in a valid file.
std::uint8_t BoostFileChecksumSum(const std::uint8_t* bytes);

// The first band whose values the boost page could not have set (type, frequency, Q, gain
// or slope out of range), as "music band 2: frequency 7 Hz outside 20..20000"; empty when
// every band of every channel is fine. Such a block is not taken into the panel: it would
// be drawn and sent to the processor as it stands.
std::string BoostBandProblem(const BoostBlock& block);

// A boost file chosen by the user: read from disk, checked as a file and band by band.
enum class BoostLoadOutcome { kLoaded, kUnreadable, kRefused };
struct BoostLoad {
  BoostLoadOutcome outcome = BoostLoadOutcome::kUnreadable;
  std::string reason;  // why it was not loaded; empty when loaded
  BoostBlock block;    // meaningful when loaded
};
BoostLoad LoadBoostFile(const std::filesystem::path& path);

// Writes the block as a boost file; an interrupted save keeps the previous file.
FileResult SaveBoostFile(const std::filesystem::path& path, const BoostBlock& block);

}  // namespace tavelo
