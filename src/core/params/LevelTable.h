#pragma once
// The three levels of the top bar (music, microphone, effect): which catalogue row holds
// each and which row holds the stored maximum it never exceeds. The top bar, its hot keys,
// the volume clamping of the block encoder and `tavelo-cli set` all read this one table.
#include <array>
#include <optional>

#include "core/params/Catalogue.h"

namespace tavelo {

// The top bar's levels. The master level (kMain) has no entry in kVolumeLevels: it is no
// volume, has no stored maximum and no hot keys.
enum class TopLevel { kMusic = 1, kMic = 2, kEffect = 3, kMain = 4 };

struct VolumeLevel {
  TopLevel level;
  RowId value;
  std::optional<RowId> maximum;  // the stored maximum, where there is one
};

inline constexpr std::array<VolumeLevel, 3> kVolumeLevels = {{
    {TopLevel::kMusic, row::kMusicVolume, row::kMusicMaxVolume},
    {TopLevel::kMic, row::kMicVolume, row::kMicMaxVolume},
    {TopLevel::kEffect, row::kEffectVolume, std::nullopt},
}};

inline const VolumeLevel& VolumeLevelOf(TopLevel level) {
  return kVolumeLevels.at(static_cast<std::size_t>(level) - 1);
}

}  // namespace tavelo
