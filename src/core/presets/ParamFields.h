#pragma once
// Readable names and values for every field of the PC files, for `tavelo-cli show` and
// `diff`. Names and kinds are the parameter catalogue's; fields no page names stay image[N]
// or switch.bitN so nothing in a file is ever hidden.
#include <string>
#include <string_view>
#include <vector>

#include "core/params/EqBand.h"
#include "core/params/ParamImage.h"
#include "core/presets/ParamFile.h"

namespace tavelo {

struct FieldEntry {
  std::string key;       // "music.volume", "music_eq.band4", "switch.main.left_mute"
  std::string text;      // "70", "peak 1000 Hz q=1.0 +3.0 dB", "on"
  std::string json;      // a JSON value: 70, "sing", {"level":75,"on":true}
  std::string raw;       // the stored value itself; two fields differ exactly when raw differs
  bool compared = true;  // false for summaries that repeat other fields (whole switch word)
};

// Every field of a parameter file in a fixed order: preset name, power mode, image bytes,
// spare byte, words, EQ sets band by band, switch word bits, alternate switch word bits.
std::vector<FieldEntry> DescribeParamFile(const ParamFileData& data);

// The switch byte's bits and every boost band.
std::vector<FieldEntry> DescribeBoostFile(const BoostBlock& block);

// Pieces shared with other readable output.
std::string BandText(
    const EqBand& band);  // "peak 1000 Hz q=1.0 +3.0 dB", "high-pass 80 Hz butter_24db"
std::string BandJson(const EqBand& band);
std::string TenthsText(int tenths);              // "-12.0", "0.7"
std::string JsonString(std::string_view bytes);  // quoted, escaped, non-ASCII bytes as \u00XX
std::string SlopeName(int slope);                // "butter_24db", or "slope 9" for an unknown code
std::string BandTypeName(int type);              // "peak", "low shelf", ... or "type 7"

}  // namespace tavelo
