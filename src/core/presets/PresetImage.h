#pragma once
// A parameter file on disk read into a whole image, for the tools that look at a file
// rather than load it into a processor (reports, filter export, comparisons).
#include <filesystem>
#include <optional>
#include <string>

#include "core/params/ParamImage.h"

namespace tavelo {

// The processor's defaults overlaid with every field of the file. On a refusal `error` says
// why ("cannot read ...: No such file or directory", "bad checksum") and nothing is returned.
std::optional<ParamImage> LoadPresetImage(const std::filesystem::path& path, std::string& error);

}  // namespace tavelo
