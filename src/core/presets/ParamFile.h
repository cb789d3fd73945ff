#pragma once
// The 1140-byte PC preset file: a parameter image with the page-side extras the processor
// does not store (pass-filter bands, the alternate switch word, spare fields, power mode).
// Files written by other installations must load, so the layout is byte-exact.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/params/EqBand.h"
#include "core/params/ParamImage.h"

namespace tavelo {

inline constexpr std::size_t kParamFileSize = 1140;
inline constexpr std::uint16_t kParamFileMagic = 147;
inline constexpr std::uint16_t kParamFileVersion = 4;

// Byte offsets inside a parameter file.
namespace pfile {
inline constexpr std::size_t kMagic = 0;
inline constexpr std::size_t kVersion = 2;
inline constexpr std::size_t kImageBytes = 8;  // image 0..140, then the spare byte
inline constexpr std::size_t kWords = 150;     // W0..W43, then the spare word
inline constexpr std::size_t kEqSets = 240;    // every set with its in-memory band count
inline constexpr std::size_t kSwitchWord = 1096;
inline constexpr std::size_t kAltSwitchWord = 1100;
inline constexpr std::size_t kPresetName = 1104;
inline constexpr std::size_t kPowerMode = 1120;
inline constexpr std::size_t kChecksum = 1137;
}  // namespace pfile

// File offset of band 0 of EQ set s (sets follow each other in image order).
std::size_t ParamFileEqOffset(EqSet s);

// Every field a parameter file carries, as read from or written to one.
struct ParamFileData {
  std::array<std::uint8_t, kSettingsBytes + 1> bytes{};  // image 0..140 and the spare byte
  std::array<std::uint16_t, kWordCount + 1> words{};     // W0..W43 and the spare word
  // Only the first kEqSets[s].memoryBands of each set are in the file; the rest stay zero.
  std::array<std::array<EqBand, kMaxBandsPerSet>, kEqSetCount> eq{};
  std::uint32_t switchWord = 0;
  std::uint32_t altSwitchWord = 0;
  std::array<char, kPresetNameSize> name{};
  std::uint8_t powerMode = 0;

  friend bool operator==(const ParamFileData&, const ParamFileData&) = default;
};

enum class ParamFileError { kNone, kCannotRead, kWrongSize, kBadMagic, kBadVersion, kBadChecksum };

struct ParamFileResult {
  ParamFileError error = ParamFileError::kNone;
  std::string message;  // "wrong size: 1139 bytes", "bad magic", "bad version: 3", "bad checksum"
  ParamFileData data;   // meaningful only when ok()
  bool ok() const { return error == ParamFileError::kNone; }
};

// The bands a page keeps beyond those that travel (its pass filters) are not stored by the
// processor: their type follows their place (low-pass, then high-pass), their frequency and
// slope are the filter's own values. Fills them in from there, as the pages draw them.
void DerivePassFilterBands(const ParamImage& image, EqSet set, EqBand* bands);

// The file's fields taken from an image (what "Save To PC" and `pull` write), its pass-
// filter bands derived from the filter values: whichever path wrote it, the same state
// gives the same file.
ParamFileData ParamFileDataFromImage(const ParamImage& image);

// The 1140 bytes of a file: zeros, the fields, then the checksum.
std::array<std::uint8_t, kParamFileSize> BuildParamFile(const ParamFileData& data);
std::array<std::uint8_t, kParamFileSize> BuildParamFile(const ParamImage& image);

// Checks size, magic, version and checksum, in that order, and reads the fields. Reads only
// bytes[0..size); never throws.
ParamFileResult ParseParamFile(const std::uint8_t* bytes, std::size_t size);

// The sum the checksum balances: bytes 0, 2, 8..1119, 1120 and 1137 (bytes 1 and 3 take no
// part). A valid file sums to 0 modulo 256. `bytes` must hold kParamFileSize bytes.
std::uint8_t ParamFileChecksumSum(const std::uint8_t* bytes);

// "Load From PC": copies every field of the file into the image but keeps the user's current
// music, microphone and effect volumes, then limits music and microphone to the loaded
// maxima. Used by Load From PC, load into a processor slot and mass upload.
void ApplyLoadedFile(ParamImage& image, const ParamFileData& data);

// Copies every field of the file into the image as it stands, volumes included (a report or
// an export of the file itself).
void CopyFileFields(ParamImage& image, const ParamFileData& data);

}  // namespace tavelo
