// Feeds arbitrary bytes to the parameter file reader: it must refuse anything that is not a
// well-formed 1140-byte file without reading past the end, and a file it accepts must build
// the same bytes again and describe itself without trouble.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/presets/FileReport.h"
#include "core/presets/ParamFile.h"

namespace {

// The bytes a build writes as zero and a read ignores.
void ClearUnusedBytes(std::uint8_t* f) {
  for (std::size_t i : {1u, 3u, 4u, 5u, 6u, 7u, 1138u, 1139u}) f[i] = 0;
  std::memset(f + 1121, 0, 16);
}

void CheckAccepted(const std::uint8_t* file) {
  const tavelo::ParamFileResult parsed = tavelo::ParseParamFile(file, tavelo::kParamFileSize);
  if (!parsed.ok()) std::abort();
  auto expected = std::make_unique<std::uint8_t[]>(tavelo::kParamFileSize);
  std::memcpy(expected.get(), file, tavelo::kParamFileSize);
  ClearUnusedBytes(expected.get());
  const auto rebuilt = tavelo::BuildParamFile(parsed.data);
  if (std::memcmp(rebuilt.data(), expected.get(), tavelo::kParamFileSize) != 0) std::abort();

  const auto fields = tavelo::DescribeParamFile(parsed.data);
  const std::string json = tavelo::FieldsAsJson(tavelo::PcFileKind::kParameterFile, fields);
  if (json.empty() || json.back() != '\n') std::abort();
  if (!tavelo::DiffFields(fields, fields).empty()) std::abort();

  tavelo::ParamImage image;
  image.bytes[tavelo::img::kMusicVolume] = 84;
  image.bytes[tavelo::img::kMicVolume] = 80;
  tavelo::ApplyLoadedFile(image, parsed.data);
  if (image.bytes[tavelo::img::kMusicVolume] > image.bytes[tavelo::img::kMusicMaxVolume])
    std::abort();
  if (image.bytes[tavelo::img::kMicVolume] > image.bytes[tavelo::img::kMicMaxVolume]) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // A copy of exactly `size` bytes, so any read past it is reported.
  auto copy = std::make_unique<std::uint8_t[]>(size == 0 ? 1 : size);
  if (size > 0) std::memcpy(copy.get(), data, size);
  const tavelo::ParamFileResult raw = tavelo::ParseParamFile(copy.get(), size);
  if (raw.ok() && size != tavelo::kParamFileSize) std::abort();
  if (raw.ok()) CheckAccepted(copy.get());
  (void)tavelo::DescribeFileBytes(copy.get(), size);

  // Random bytes rarely pass the header and checksum, so also read every input as the field
  // part of a file whose header and checksum are made right.
  std::array<std::uint8_t, tavelo::kParamFileSize> file{};
  std::memcpy(file.data(), data, size < file.size() ? size : file.size());
  file[0] = 147;
  file[1] = 0;
  file[2] = 4;
  file[3] = 0;
  file[tavelo::pfile::kChecksum] = 0;
  file[tavelo::pfile::kChecksum] =
      static_cast<std::uint8_t>(-tavelo::ParamFileChecksumSum(file.data()));
  CheckAccepted(file.data());
  return 0;
}
