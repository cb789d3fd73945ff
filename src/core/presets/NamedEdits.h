#pragma once
// Edits of the processor's current preset by catalogue name, as `tavelo-cli set` takes them:
// NAME=VALUE words are checked against the catalogue before anything is connected (name,
// range, whether a block carries the value), then planned against the processor's image
// into block requests: one request per block, in the order given, each output set only in
// the application mode whose requests address it.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/params/Catalogue.h"

namespace tavelo {

struct NamedEdit {
  std::string key;                    // the name as written
  const CatalogueRow* row = nullptr;  // the value edited; null for the mute action
  int value = 0;                      // scalar rows; mute: 1 on, 0 off
  std::optional<int> on;              // a level given with its on bit ("75 on")
  EqBand band{};                      // band rows
  // "eq.SET.BAND": the band of the set that the code-3 set id names in the processor's
  // mode at the time (resolved by PlanEdits); -1 otherwise.
  int legacySetId = -1;
  int legacyBand = 0;
};

// One word: "reverb.level=40", "main.set2.left_volume.on=0", "music_eq.band4=peak,1000,1.0,3",
// "app_mode=sing" and every other name `show` prints; also the short forms "mode=sing",
// "mute=on" and "eq.SET.BAND=...". On a refusal `error` names the name and what it takes.
std::optional<NamedEdit> ParseNamedEdit(std::string_view word, std::string& error);

// A group of edits that one block request carries.
struct PlannedBlock {
  std::vector<NamedEdit> edits;  // resolved: every edit but mute has its row
};

// Groups the edits by the block that carries them, in the order of each block's first edit,
// checking each against the application mode the edits before it leave in `image`. A value
// of an output set that the mode does not address is refused with a message naming the mode
// it needs; then nothing is planned.
std::optional<std::vector<PlannedBlock>> PlanEdits(const ParamImage& image,
                                                   const std::vector<NamedEdit>& edits,
                                                   std::string& error);

// Writes an edit into the image (a filter band also into its pass filter's word and slope).
void ApplyNamedEdit(ParamImage& image, const NamedEdit& edit);

// The request that sends a planned block from the image as it now is.
BlockRequest RequestForBlock(const ParamImage& image, const PlannedBlock& block);

// "reverb.level=40 on": the edited value as the image holds it now, in the syntax `set` reads.
std::string DescribeNamedEdit(const NamedEdit& edit, const ParamImage& image);

// Every name `set` accepts, with what it takes: "music.volume  0..84  step".
std::string SettableNamesText();
std::string SettableNamesJson();

}  // namespace tavelo
