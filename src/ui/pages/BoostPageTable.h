#pragma once
// The boost page as a table: four short equalisers of the boost block (microphone 5
// bands; music, reverb and echo 3 each), one shown at a time, and the four "Boost" boxes
// that switch them on.
#include "ui/pages/PageTable.h"

namespace tavelo::boost {

inline constexpr int kMaxBands = 5;

// Control ids of the boost page.
inline constexpr int kChannelButtons[kBoostChannels] = {2001, 2002, 2003, 2004};  // MIC..ECHO
inline constexpr int kBoostBoxes[kBoostChannels] = {2011, 2012, 2013, 2014};
inline constexpr int kStoreButton = 2021;  // "Save Boost": the processor stores the block
inline constexpr int kSaveFileButton = 2022, kLoadFileButton = 2023;

const BandColumnIds& Column(int band);
const PageDefinition& Definition();

}  // namespace tavelo::boost
