#pragma once
// What the boost page's file buttons do once the user has chosen a file: write the boost
// block as a ".btpar" file, or read one, check it and take it over. The messages are in
// the user's language, with a line saying why a file could not be written or loaded.
#include <filesystem>
#include <string>

#include "core/params/ParamImage.h"
#include "core/text/Lang.h"

namespace tavelo {

struct BoostFileReport {
  bool loaded = false;  // the block now holds the file's switches and bands
  std::string text;     // the message to show; empty when there is none
  std::string detail;   // what went wrong and what became of the data; empty on success
};

// Saves atomically: a failed save keeps the previous file.
BoostFileReport SaveBoostAs(const BoostBlock& block, const std::filesystem::path& path, Lang lang);
// Loads only a file that passes every check; otherwise `block` is unchanged.
BoostFileReport LoadBoostFrom(BoostBlock& block, const std::filesystem::path& path, Lang lang);

}  // namespace tavelo
