#pragma once
// What `tavelo-cli show` and `diff` print for a PC file, kept here so tests reach it without
// running the tool.
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/presets/ParamFields.h"

namespace tavelo {

enum class PcFileKind { kParameterFile, kBoostFile };

struct DescribedFile {
  bool ok = false;
  std::string message;  // why the file was refused: "wrong size: 1139 bytes", "bad checksum"
  PcFileKind kind = PcFileKind::kParameterFile;
  std::vector<FieldEntry> fields;
};

// Tells the two formats apart by size (1140 parameter file, 116 boost file), checks the file
// and names its fields.
DescribedFile DescribeFileBytes(const std::uint8_t* bytes, std::size_t size);

// The same for a file on disk; a file that cannot be read, or is far too large to be either
// format, is refused with the reason.
DescribedFile DescribeFile(const std::filesystem::path& path);

const char* PcFileKindName(PcFileKind kind);  // "parameter_file", "boost_file"

// "key: text" lines.
std::string FieldsAsText(PcFileKind kind, const std::vector<FieldEntry>& fields);

// One JSON object, keys in table order: {"kind": ..., "<key>": <value>, ...} and a newline.
std::string FieldsAsJson(PcFileKind kind, const std::vector<FieldEntry>& fields);

// One compared field whose stored value differs: its key and the two values as shown. When
// the two readable texts are alike (a pass filter's unused Q, a name's padding) the stored
// values are shown instead, so a difference is never claimed that it does not show. Both
// lists must come from the same kind of file.
struct FieldDifference {
  std::string key;
  std::string a;
  std::string b;
};
std::vector<FieldDifference> DiffFieldList(const std::vector<FieldEntry>& a,
                                           const std::vector<FieldEntry>& b);

// The same as "key: A -> B" lines.
std::vector<std::string> DiffFields(const std::vector<FieldEntry>& a,
                                    const std::vector<FieldEntry>& b);

}  // namespace tavelo
