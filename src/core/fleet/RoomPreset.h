#pragma once
// A room's current preset, as read from its processor, in the form of a parameter file, so
// fleet commands compare it with a reference file by the same field table `diff` uses.
#include <string>
#include <vector>

#include "core/params/ParamImage.h"
#include "core/presets/ParamFile.h"

namespace tavelo {

// The room's preset as a file would hold it. A download does not carry every field of a
// file: the pass-filter bands a page keeps beyond those that travel, the alternate switch
// word, the spare byte and word and the power mode. Those are taken from `reference`, so a
// comparison never reports a difference the processor cannot hold or show.
ParamFileData RoomAsFile(const ParamImage& room, const ParamFileData& reference);

// The room's preset as fleet pull stores it: the name cleaned as every saved preset's name is
// (printable, space padded), so a file pulled from a room compares as the same.
ParamImage FiledRoomImage(ParamImage room);

// What a processor holds after storing an upload of `sent`: the preset part as the upload
// body carries it (a wire band keeps no slope, for one), everything else as it was. A
// download of the room compares with this, not with the file the preset came from.
ParamImage AsUploaded(const ParamImage& sent);

// "field: reference -> room" for every field in which the room differs from the reference,
// in field-table order. Both names are compared as FiledRoomImage() stores them.
std::vector<std::string> RoomDifferences(const ParamImage& room, const ParamFileData& reference);

}  // namespace tavelo
