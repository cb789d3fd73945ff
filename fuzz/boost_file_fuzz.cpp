// Feeds arbitrary bytes to the boost file reader: anything but a well-formed 116-byte file is
// refused without reading past the end; an accepted file builds the same bytes again.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/presets/BoostFile.h"
#include "core/presets/FileReport.h"

namespace {

void CheckAccepted(const std::uint8_t* file) {
  const tavelo::BoostFileResult parsed = tavelo::ParseBoostFile(file, tavelo::kBoostFileSize);
  if (!parsed.ok()) std::abort();
  auto rebuilt = tavelo::BuildBoostFile(parsed.block);
  // The last byte is written as zero and not read; the checksum absorbs its value.
  std::array<std::uint8_t, tavelo::kBoostFileSize> expected{};
  std::memcpy(expected.data(), file, expected.size());
  expected[tavelo::bfile::kChecksum] = static_cast<std::uint8_t>(expected[114] + expected[115]);
  expected[115] = 0;
  if (rebuilt != expected) std::abort();
  const auto fields = tavelo::DescribeBoostFile(parsed.block);
  if (!tavelo::DiffFields(fields, fields).empty()) std::abort();
  (void)tavelo::FieldsAsJson(tavelo::PcFileKind::kBoostFile, fields);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto copy = std::make_unique<std::uint8_t[]>(size == 0 ? 1 : size);
  if (size > 0) std::memcpy(copy.get(), data, size);
  const tavelo::BoostFileResult raw = tavelo::ParseBoostFile(copy.get(), size);
  if (raw.ok() && size != tavelo::kBoostFileSize) std::abort();
  if (raw.ok()) CheckAccepted(copy.get());
  (void)tavelo::DescribeFileBytes(copy.get(), size);

  std::array<std::uint8_t, tavelo::kBoostFileSize> file{};
  std::memcpy(file.data(), data, size < file.size() ? size : file.size());
  file[0] = tavelo::kBoostFileMagic;
  file[tavelo::bfile::kChecksum] = 0;
  file[tavelo::bfile::kChecksum] =
      static_cast<std::uint8_t>(-tavelo::BoostFileChecksumSum(file.data()));
  CheckAccepted(file.data());
  return 0;
}
