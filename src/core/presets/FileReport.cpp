#include "core/presets/FileReport.h"

#include <string>
#include <system_error>

#include "core/presets/AtomicFile.h"
#include "core/presets/BoostFile.h"
#include "core/presets/ParamFile.h"
#include "core/presets/PresetFolder.h"

namespace tavelo {
namespace {

// Said after a size that fits neither kind, so the user knows what was expected.
std::string SizesNote() {
  return " (a parameter file has " + std::to_string(kParamFileSize) + " bytes, a boost file " +
         std::to_string(kBoostFileSize) + ")";
}

}  // namespace

DescribedFile DescribeFileBytes(const std::uint8_t* bytes, std::size_t size) {
  DescribedFile out;
  if (size == kBoostFileSize) {
    out.kind = PcFileKind::kBoostFile;
    const BoostFileResult boost = ParseBoostFile(bytes, size);
    out.ok = boost.ok();
    out.message = boost.message;
    if (out.ok) out.fields = DescribeBoostFile(boost.block);
    return out;
  }
  out.kind = PcFileKind::kParameterFile;
  const ParamFileResult param = ParseParamFile(bytes, size);
  out.ok = param.ok();
  out.message = param.message;
  if (param.error == ParamFileError::kWrongSize) out.message += SizesNote();
  if (out.ok) out.fields = DescribeParamFile(param.data);
  return out;
}

DescribedFile DescribeFile(const std::filesystem::path& path) {
  const ReadResult read = ReadPcFileBytes(path);
  if (read.ok) return DescribeFileBytes(read.bytes.data(), read.bytes.size());
  DescribedFile out;
  out.message = read.message + (read.tooLarge ? SizesNote() : "");
  return out;
}

const char* PcFileKindName(PcFileKind kind) {
  return kind == PcFileKind::kBoostFile ? "boost_file" : "parameter_file";
}

std::string FieldsAsText(PcFileKind kind, const std::vector<FieldEntry>& fields) {
  std::string out = std::string("kind: ") + PcFileKindName(kind) + "\n";
  for (const auto& f : fields) out += f.key + ": " + f.text + "\n";
  return out;
}

std::string FieldsAsJson(PcFileKind kind, const std::vector<FieldEntry>& fields) {
  std::string out = std::string("{\n  \"kind\": \"") + PcFileKindName(kind) + "\"";
  for (const auto& f : fields) out += ",\n  " + JsonString(f.key) + ": " + f.json;
  return out + "\n}\n";
}

std::vector<FieldDifference> DiffFieldList(const std::vector<FieldEntry>& a,
                                           const std::vector<FieldEntry>& b) {
  std::vector<FieldDifference> out;
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  for (std::size_t i = 0; i < n; ++i) {
    if (!a[i].compared || a[i].raw == b[i].raw) continue;
    const bool sameText = a[i].text == b[i].text;
    out.push_back({a[i].key, sameText ? a[i].raw : a[i].text, sameText ? b[i].raw : b[i].text});
  }
  return out;
}

std::vector<std::string> DiffFields(const std::vector<FieldEntry>& a,
                                    const std::vector<FieldEntry>& b) {
  std::vector<std::string> lines;
  for (const auto& d : DiffFieldList(a, b)) lines.push_back(d.key + ": " + d.a + " -> " + d.b);
  return lines;
}

}  // namespace tavelo
