#include "core/params/Catalogue.h"

#include <array>
#include <deque>
#include <string>
#include <vector>

namespace tavelo {
namespace {

using C = CommandCode;
using Kind = ValueKind;
using enum row::Id;

constexpr std::string_view kMusicInputs[] = {"Analog Auto", "VOD", "AUX", "BGM", "COAX", "OPTI"};
constexpr std::string_view kReverbTypes[] = {"hall", "room", "plate"};
constexpr std::string_view kEchoTypes[] = {"mono", "stereo", "dual"};
constexpr std::string_view kAppModes[] = {"auto", "sing", "dance"};
constexpr std::string_view kAdjustManners[] = {"VR", "Param"};

constexpr Carrier kNotCarried{};

constexpr Carrier Via(CommandCode code, int arg = 0, ArgRule rule = ArgRule::kFixed,
                      ModeRule mode = ModeRule::kAnyMode) {
  return {code, arg, rule, mode};
}

constexpr CatalogueRow R(RowId id, std::string_view name, Place place, int min, int max, int def,
                         Unit unit, ValueKind kind, ReadoutFormat readout, Carrier carrier,
                         std::optional<Label> label = kNoLabel, PerSet perSet = {},
                         std::span<const std::string_view> choices = {}) {
  return {id, name, place, min, max, def, unit, kind, readout, carrier, label, perSet, choices};
}

// One line per named value, in id order: name, place, range, the processor's default (the
// value a fresh panel shows), unit, kind, readout, carrier, label. Positions and codes: the
// image and command tables of the protocol; readouts: the formats the pages show. A level
// byte's default is split between its level row and its on row; the switch word's between
// its bit rows.
// clang-format off
constexpr CatalogueRow kNamedRows[] = {
    R(kMusicVolume, "music.volume", {Where::kByte, 0}, 0, 84, 35, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kMusicBlock), Label::kMusicColon),
    R(kMicVolume, "mic.volume", {Where::kByte, 1}, 0, 80, 35, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kMicBlock), Label::kMicColon),
    R(kEffectVolume, "effect.volume", {Where::kByte, 2}, 0, 99, 35, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kEffectVolume), Label::kEffectColon),
    R(kMusicInitVolume, "music.init_volume", {Where::kByte, 3}, 0, 84, 35, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kMusicBlock), Label::kMusicInitVol),
    R(kMusicMaxVolume, "music.max_volume", {Where::kByte, 4}, 0, 84, 84, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kMusicBlock), Label::kMusicMaxVol),
    R(kMusicNoiseGate, "music.noise_gate", {Where::kByte, 5}, 0, 41, 11, Unit::kDb, Kind::kNumber, {ReadoutKind::kDecibelsOrOff, 91}, Via(C::kMusicBlock), Label::kNoiseGate),
    R(kMusicInput, "music.input", {Where::kByte, 6}, 0, 5, 0, Unit::kNone, Kind::kChoice, {}, Via(C::kMusicBlock), Label::kMusicInput, PerSet{1, 0}, kMusicInputs),
    R(kMusicHpfSlope, "music.hpf_slope", {Where::kByte, 7}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 2), Label::kHpType),
    R(kMusicLpfSlope, "music.lpf_slope", {Where::kByte, 8}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 3), Label::kLpType),
    R(kMusicKey, "music.key", {Where::kByte, 9}, 0, 14, 7, Unit::kStep, Kind::kNumber, {ReadoutKind::kMusicKey}, Via(C::kMusicBlock), Label::kMusicKey),
    R(kMicInitVolume, "mic.init_volume", {Where::kByte, 10}, 0, 84, 35, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kMicBlock), Label::kMicInitVol),
    R(kMicMaxVolume, "mic.max_volume", {Where::kByte, 11}, 0, 84, 84, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kMicBlock), Label::kMicMaxVol),
    R(kMicMic1Volume, "mic.mic1_volume", {Where::kLevel, 12}, 0, 100, 100, Unit::kStep, Kind::kLevel, {ReadoutKind::kNumber}, Via(C::kMicBlock), Label::kMicAVol),
    R(kMicMic1VolumeOn, "mic.mic1_volume.on", {Where::kLevelOn, 12}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kMicBlock)),
    R(kMicMic2Volume, "mic.mic2_volume", {Where::kLevel, 13}, 0, 100, 100, Unit::kStep, Kind::kLevel, {ReadoutKind::kNumber}, Via(C::kMicBlock), Label::kMicBVol),
    R(kMicMic2VolumeOn, "mic.mic2_volume.on", {Where::kLevelOn, 13}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kMicBlock)),
    R(kMicNoiseGate, "mic.noise_gate", {Where::kByte, 14}, 0, 41, 15, Unit::kDb, Kind::kNumber, {ReadoutKind::kDecibelsOrOff, 81}, Via(C::kMicBlock), Label::kNoiseGate),
    R(kMicCompThreshold, "mic.comp_threshold", {Where::kByte, 15}, 0, 50, 10, Unit::kDb, Kind::kNumber, {ReadoutKind::kDecibels, 50}, Via(C::kMicBlock), Label::kCompTh),
    R(kMicCompRatio, "mic.comp_ratio", {Where::kByte, 16}, 2, 100, 4, Unit::kRatio, Kind::kNumber, {ReadoutKind::kRatio}, Via(C::kMicBlock), Label::kCompRatio),
    R(kMicCompAttack, "mic.comp_attack", {Where::kByte, 17}, 1, 90, 1, Unit::kMs, Kind::kNumber, {ReadoutKind::kMilliseconds}, Via(C::kMicBlock), Label::kCompAttack),
    R(kMicCompRelease, "mic.comp_release", {Where::kByte, 18}, 1, 25, 1, Unit::kTenthsSecond, Kind::kNumber, {ReadoutKind::kSeconds}, Via(C::kMicBlock), Label::kCompRelease),
    R(kMicHpfSlope, "mic.hpf_slope", {Where::kByte, 19}, 0, 7, 6, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter), Label::kHpType),
    R(kMicLpfSlope, "mic.lpf_slope", {Where::kByte, 20}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 1), Label::kLpType),
    R(kEffectInitLevel, "effect.init_level", {Where::kByte, 21}, 0, 84, 35, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kEffectInitLevel), Label::kEffectInitLevel),
    R(kMusicInput1Gain, "music.input1_gain", {Where::kByte, 22}, 0, 12, 12, Unit::kStep, Kind::kNumber, {ReadoutKind::kSigned, 12}, Via(C::kMusicBlock), Label::kInput1Gain),
    R(kMusicInput2Gain, "music.input2_gain", {Where::kByte, 23}, 0, 12, 12, Unit::kStep, Kind::kNumber, {ReadoutKind::kSigned, 12}, Via(C::kMusicBlock), Label::kInput2Gain),
    R(kMusicBtGain, "music.bt_gain", {Where::kByte, 24}, 0, 12, 6, Unit::kStep, Kind::kNumber, {ReadoutKind::kSigned, 12}, Via(C::kMusicBlock), Label::kBtGain),
    R(kMusicUdiskGain, "music.udisk_gain", {Where::kByte, 25}, 0, 12, 6, Unit::kStep, Kind::kNumber, {ReadoutKind::kSigned, 12}, Via(C::kMusicBlock), Label::kUdiskGain),
    R(kMusicOpticalGain, "music.optical_gain", {Where::kByte, 26}, 0, 12, 6, Unit::kStep, Kind::kNumber, {ReadoutKind::kSigned, 12}, Via(C::kMusicBlock), Label::kOpticalGain),
    R(kMicFbx, "mic.fbx", {Where::kByte, 27}, 0, 4, 3, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kMicBlock), Label::kMicFbx),
    R(kMainSet1LeftVolume, "main.set1.left_volume", {Where::kLevel, 28}, 0, 99, 99, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel), Label::kLChVol, PerSet{2, 0}),
    R(kMainSet2LeftVolume, "main.set2.left_volume", {Where::kLevel, 29}, 0, 99, 99, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel), Label::kLChVol, PerSet{2, 1}),
    R(kMainSet1LeftVolumeOn, "main.set1.left_volume.on", {Where::kLevelOn, 28}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 0}),
    R(kMainSet2LeftVolumeOn, "main.set2.left_volume.on", {Where::kLevelOn, 29}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 1}),
    R(kMainSet1RightVolume, "main.set1.right_volume", {Where::kLevel, 30}, 0, 99, 99, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel), Label::kRChVol, PerSet{2, 0}),
    R(kMainSet2RightVolume, "main.set2.right_volume", {Where::kLevel, 31}, 0, 99, 99, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel), Label::kRChVol, PerSet{2, 1}),
    R(kMainSet1RightVolumeOn, "main.set1.right_volume.on", {Where::kLevelOn, 30}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 0}),
    R(kMainSet2RightVolumeOn, "main.set2.right_volume.on", {Where::kLevelOn, 31}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 1}),
    R(kMainSet1MicDirectLevel, "main.set1.mic_direct_level", {Where::kLevel, 32}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel), Label::kMicDirectLevel, PerSet{2, 0}),
    R(kMainSet2MicDirectLevel, "main.set2.mic_direct_level", {Where::kLevel, 33}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel), Label::kMicDirectLevel, PerSet{2, 1}),
    R(kMainSet1MicDirectLevelOn, "main.set1.mic_direct_level.on", {Where::kLevelOn, 32}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 0}),
    R(kMainSet2MicDirectLevelOn, "main.set2.mic_direct_level.on", {Where::kLevelOn, 33}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 1}),
    R(kMainSet1MusicLevel, "main.set1.music_level", {Where::kLevel, 34}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel), Label::kMusicLevel, PerSet{2, 0}),
    R(kMainSet2MusicLevel, "main.set2.music_level", {Where::kLevel, 35}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel), Label::kMusicLevel, PerSet{2, 1}),
    R(kMainSet1MusicLevelOn, "main.set1.music_level.on", {Where::kLevelOn, 34}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 0}),
    R(kMainSet2MusicLevelOn, "main.set2.music_level.on", {Where::kLevelOn, 35}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 1}),
    R(kMainSet1ReverbLevel, "main.set1.reverb_level", {Where::kLevel, 36}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel), Label::kReverbLevel, PerSet{2, 0}),
    R(kMainSet2ReverbLevel, "main.set2.reverb_level", {Where::kLevel, 37}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel), Label::kReverbLevel, PerSet{2, 1}),
    R(kMainSet1ReverbLevelOn, "main.set1.reverb_level.on", {Where::kLevelOn, 36}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 0}),
    R(kMainSet2ReverbLevelOn, "main.set2.reverb_level.on", {Where::kLevelOn, 37}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 1}),
    R(kMainSet1EchoLevel, "main.set1.echo_level", {Where::kLevel, 38}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel), Label::kEchoLevel, PerSet{2, 0}),
    R(kMainSet2EchoLevel, "main.set2.echo_level", {Where::kLevel, 39}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel), Label::kEchoLevel, PerSet{2, 1}),
    R(kMainSet1EchoLevelOn, "main.set1.echo_level.on", {Where::kLevelOn, 38}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 0}),
    R(kMainSet2EchoLevelOn, "main.set2.echo_level.on", {Where::kLevelOn, 39}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel), kNoLabel, PerSet{2, 1}),
    R(kMainCompThreshold, "main.comp_threshold", {Where::kByte, 40}, 0, 50, 10, Unit::kDb, Kind::kNumber, {ReadoutKind::kDecibels, 50}, Via(C::kOutputChannel), Label::kCompTh),
    R(kMainCompRatio, "main.comp_ratio", {Where::kByte, 41}, 2, 100, 4, Unit::kRatio, Kind::kNumber, {ReadoutKind::kRatio}, Via(C::kOutputChannel), Label::kCompRatio),
    R(kMainCompAttack, "main.comp_attack", {Where::kByte, 42}, 1, 90, 1, Unit::kMs, Kind::kNumber, {ReadoutKind::kMilliseconds}, Via(C::kOutputChannel), Label::kCompAttack),
    R(kMainCompRelease, "main.comp_release", {Where::kByte, 43}, 1, 25, 1, Unit::kTenthsSecond, Kind::kNumber, {ReadoutKind::kSeconds}, Via(C::kOutputChannel), Label::kCompRelease),
    R(kMainSet1HpfSlope, "main.set1.hpf_slope", {Where::kByte, 44}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 4, ArgRule::kFixed, ModeRule::kSingOnly), Label::kHpTypeOutput, PerSet{2, 0}),
    R(kMainSet2HpfSlope, "main.set2.hpf_slope", {Where::kByte, 45}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 4, ArgRule::kFixed, ModeRule::kNotSing), Label::kHpTypeOutput, PerSet{2, 1}),
    R(kMainSet1LpfSlope, "main.set1.lpf_slope", {Where::kByte, 46}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 5, ArgRule::kFixed, ModeRule::kSingOnly), Label::kLpType, PerSet{2, 0}),
    R(kMainSet2LpfSlope, "main.set2.lpf_slope", {Where::kByte, 47}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 5, ArgRule::kFixed, ModeRule::kNotSing), Label::kLpType, PerSet{2, 1}),
    R(kMainSet1HpfHz, "main.set1.hpf_hz", {Where::kWord, 4}, 20, 20000, 20, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 4, ArgRule::kFixed, ModeRule::kSingOnly), Label::kHpfOutput, PerSet{2, 0}),
    R(kMainSet2HpfHz, "main.set2.hpf_hz", {Where::kWord, 5}, 20, 20000, 20, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 4, ArgRule::kFixed, ModeRule::kNotSing), Label::kHpfOutput, PerSet{2, 1}),
    R(kMainSet1LpfHz, "main.set1.lpf_hz", {Where::kWord, 6}, 20, 20000, 20000, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 5, ArgRule::kFixed, ModeRule::kSingOnly), Label::kLpf, PerSet{2, 0}),
    R(kMainSet2LpfHz, "main.set2.lpf_hz", {Where::kWord, 7}, 20, 20000, 20000, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 5, ArgRule::kFixed, ModeRule::kNotSing), Label::kLpf, PerSet{2, 1}),
    R(kMainLeftDelayMs, "main.left_delay_ms", {Where::kWord, 30}, 0, 50, 0, Unit::kMs, Kind::kMs, {ReadoutKind::kDelayDistance}, Via(C::kOutputChannel), Label::kLDelay),
    R(kMainRightDelayMs, "main.right_delay_ms", {Where::kWord, 31}, 0, 50, 0, Unit::kMs, Kind::kMs, {ReadoutKind::kDelayDistance}, Via(C::kOutputChannel), Label::kRDelay),
    R(kSwitchMainLeftMute, "switch.main.left_mute", {Where::kSwitchBit, 0}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kLchMute),
    R(kSwitchMainRightMute, "switch.main.right_mute", {Where::kSwitchBit, 1}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kRchMute),
    R(kSwitchMainCompOn, "switch.main.comp_on", {Where::kSwitchBit, 6}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kCompBypass),
    R(kSwitchMainSet1EqOn, "switch.main.set1.eq_on", {Where::kSwitchBit, 16}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass, PerSet{2, 0}),
    R(kSwitchMainSet2EqOn, "switch.main.set2.eq_on", {Where::kSwitchBit, 17}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass, PerSet{2, 1}),
    R(kSurroundSet1LeftVolume, "surround.set1.left_volume", {Where::kLevel, 48}, 0, 99, 99, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel, 2), Label::kLChVol, PerSet{2, 0}),
    R(kSurroundSet2LeftVolume, "surround.set2.left_volume", {Where::kLevel, 49}, 0, 99, 99, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel, 2), Label::kLChVol, PerSet{2, 1}),
    R(kSurroundSet1LeftVolumeOn, "surround.set1.left_volume.on", {Where::kLevelOn, 48}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 0}),
    R(kSurroundSet2LeftVolumeOn, "surround.set2.left_volume.on", {Where::kLevelOn, 49}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 1}),
    R(kSurroundSet1RightVolume, "surround.set1.right_volume", {Where::kLevel, 50}, 0, 99, 99, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel, 2), Label::kRChVol, PerSet{2, 0}),
    R(kSurroundSet2RightVolume, "surround.set2.right_volume", {Where::kLevel, 51}, 0, 99, 99, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel, 2), Label::kRChVol, PerSet{2, 1}),
    R(kSurroundSet1RightVolumeOn, "surround.set1.right_volume.on", {Where::kLevelOn, 50}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 0}),
    R(kSurroundSet2RightVolumeOn, "surround.set2.right_volume.on", {Where::kLevelOn, 51}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 1}),
    R(kSurroundSet1MicDirectLevel, "surround.set1.mic_direct_level", {Where::kLevel, 52}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 2), Label::kMicDirectLevel, PerSet{2, 0}),
    R(kSurroundSet2MicDirectLevel, "surround.set2.mic_direct_level", {Where::kLevel, 53}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 2), Label::kMicDirectLevel, PerSet{2, 1}),
    R(kSurroundSet1MicDirectLevelOn, "surround.set1.mic_direct_level.on", {Where::kLevelOn, 52}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 0}),
    R(kSurroundSet2MicDirectLevelOn, "surround.set2.mic_direct_level.on", {Where::kLevelOn, 53}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 1}),
    R(kSurroundSet1MusicLevel, "surround.set1.music_level", {Where::kLevel, 54}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 2), Label::kMusicLevel, PerSet{2, 0}),
    R(kSurroundSet2MusicLevel, "surround.set2.music_level", {Where::kLevel, 55}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 2), Label::kMusicLevel, PerSet{2, 1}),
    R(kSurroundSet1MusicLevelOn, "surround.set1.music_level.on", {Where::kLevelOn, 54}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 0}),
    R(kSurroundSet2MusicLevelOn, "surround.set2.music_level.on", {Where::kLevelOn, 55}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 1}),
    R(kSurroundSet1ReverbLevel, "surround.set1.reverb_level", {Where::kLevel, 56}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 2), Label::kReverbLevel, PerSet{2, 0}),
    R(kSurroundSet2ReverbLevel, "surround.set2.reverb_level", {Where::kLevel, 57}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 2), Label::kReverbLevel, PerSet{2, 1}),
    R(kSurroundSet1ReverbLevelOn, "surround.set1.reverb_level.on", {Where::kLevelOn, 56}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 0}),
    R(kSurroundSet2ReverbLevelOn, "surround.set2.reverb_level.on", {Where::kLevelOn, 57}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 1}),
    R(kSurroundSet1EchoLevel, "surround.set1.echo_level", {Where::kLevel, 58}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 2), Label::kEchoLevel, PerSet{2, 0}),
    R(kSurroundSet2EchoLevel, "surround.set2.echo_level", {Where::kLevel, 59}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 2), Label::kEchoLevel, PerSet{2, 1}),
    R(kSurroundSet1EchoLevelOn, "surround.set1.echo_level.on", {Where::kLevelOn, 58}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 0}),
    R(kSurroundSet2EchoLevelOn, "surround.set2.echo_level.on", {Where::kLevelOn, 59}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 2), kNoLabel, PerSet{2, 1}),
    R(kSurroundCompThreshold, "surround.comp_threshold", {Where::kByte, 60}, 0, 50, 10, Unit::kDb, Kind::kNumber, {ReadoutKind::kDecibels, 50}, Via(C::kOutputChannel, 2), Label::kCompTh),
    R(kSurroundCompRatio, "surround.comp_ratio", {Where::kByte, 61}, 2, 100, 4, Unit::kRatio, Kind::kNumber, {ReadoutKind::kRatio}, Via(C::kOutputChannel, 2), Label::kCompRatio),
    R(kSurroundCompAttack, "surround.comp_attack", {Where::kByte, 62}, 1, 90, 1, Unit::kMs, Kind::kNumber, {ReadoutKind::kMilliseconds}, Via(C::kOutputChannel, 2), Label::kCompAttack),
    R(kSurroundCompRelease, "surround.comp_release", {Where::kByte, 63}, 1, 25, 1, Unit::kTenthsSecond, Kind::kNumber, {ReadoutKind::kSeconds}, Via(C::kOutputChannel, 2), Label::kCompRelease),
    R(kSurroundSet1HpfSlope, "surround.set1.hpf_slope", {Where::kByte, 64}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 8, ArgRule::kFixed, ModeRule::kSingOnly), Label::kHpTypeOutput, PerSet{2, 0}),
    R(kSurroundSet2HpfSlope, "surround.set2.hpf_slope", {Where::kByte, 65}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 8, ArgRule::kFixed, ModeRule::kNotSing), Label::kHpTypeOutput, PerSet{2, 1}),
    R(kSurroundSet1LpfSlope, "surround.set1.lpf_slope", {Where::kByte, 66}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 9, ArgRule::kFixed, ModeRule::kSingOnly), Label::kLpType, PerSet{2, 0}),
    R(kSurroundSet2LpfSlope, "surround.set2.lpf_slope", {Where::kByte, 67}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 9, ArgRule::kFixed, ModeRule::kNotSing), Label::kLpType, PerSet{2, 1}),
    R(kSurroundSet1HpfHz, "surround.set1.hpf_hz", {Where::kWord, 8}, 20, 20000, 20, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 8, ArgRule::kFixed, ModeRule::kSingOnly), Label::kHpfOutput, PerSet{2, 0}),
    R(kSurroundSet2HpfHz, "surround.set2.hpf_hz", {Where::kWord, 9}, 20, 20000, 20, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 8, ArgRule::kFixed, ModeRule::kNotSing), Label::kHpfOutput, PerSet{2, 1}),
    R(kSurroundSet1LpfHz, "surround.set1.lpf_hz", {Where::kWord, 10}, 20, 20000, 20000, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 9, ArgRule::kFixed, ModeRule::kSingOnly), Label::kLpf, PerSet{2, 0}),
    R(kSurroundSet2LpfHz, "surround.set2.lpf_hz", {Where::kWord, 11}, 20, 20000, 20000, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 9, ArgRule::kFixed, ModeRule::kNotSing), Label::kLpf, PerSet{2, 1}),
    R(kSurroundLeftDelayMs, "surround.left_delay_ms", {Where::kWord, 32}, 0, 150, 0, Unit::kMs, Kind::kMs, {ReadoutKind::kDelayDistance}, Via(C::kOutputChannel, 2), Label::kLDelay),
    R(kSurroundRightDelayMs, "surround.right_delay_ms", {Where::kWord, 33}, 0, 150, 0, Unit::kMs, Kind::kMs, {ReadoutKind::kDelayDistance}, Via(C::kOutputChannel, 2), Label::kRDelay),
    R(kSwitchSurroundLeftMute, "switch.surround.left_mute", {Where::kSwitchBit, 2}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kLchMute),
    R(kSwitchSurroundRightMute, "switch.surround.right_mute", {Where::kSwitchBit, 3}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kRchMute),
    R(kSwitchSurroundCompOn, "switch.surround.comp_on", {Where::kSwitchBit, 8}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kCompBypass),
    R(kSwitchSurroundSet1EqOn, "switch.surround.set1.eq_on", {Where::kSwitchBit, 18}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass, PerSet{2, 0}),
    R(kSwitchSurroundSet2EqOn, "switch.surround.set2.eq_on", {Where::kSwitchBit, 19}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass, PerSet{2, 1}),
    R(kCentreSet1Volume, "centre.set1.volume", {Where::kLevel, 68}, 0, 99, 99, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel, 4), Label::kOutputVol, PerSet{2, 0}),
    R(kCentreSet2Volume, "centre.set2.volume", {Where::kLevel, 69}, 0, 99, 99, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel, 4), Label::kOutputVol, PerSet{2, 1}),
    R(kCentreSet1VolumeOn, "centre.set1.volume.on", {Where::kLevelOn, 68}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 4), kNoLabel, PerSet{2, 0}),
    R(kCentreSet2VolumeOn, "centre.set2.volume.on", {Where::kLevelOn, 69}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 4), kNoLabel, PerSet{2, 1}),
    R(kCentreSet1MicDirectLevel, "centre.set1.mic_direct_level", {Where::kLevel, 72}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 4), Label::kMicDirectLevel, PerSet{2, 0}),
    R(kCentreSet2MicDirectLevel, "centre.set2.mic_direct_level", {Where::kLevel, 73}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 4), Label::kMicDirectLevel, PerSet{2, 1}),
    R(kCentreSet1MicDirectLevelOn, "centre.set1.mic_direct_level.on", {Where::kLevelOn, 72}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 4), kNoLabel, PerSet{2, 0}),
    R(kCentreSet2MicDirectLevelOn, "centre.set2.mic_direct_level.on", {Where::kLevelOn, 73}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 4), kNoLabel, PerSet{2, 1}),
    R(kCentreSet1MusicLevel, "centre.set1.music_level", {Where::kLevel, 74}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 4), Label::kMusicLevel, PerSet{2, 0}),
    R(kCentreSet2MusicLevel, "centre.set2.music_level", {Where::kLevel, 75}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 4), Label::kMusicLevel, PerSet{2, 1}),
    R(kCentreSet1MusicLevelOn, "centre.set1.music_level.on", {Where::kLevelOn, 74}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 4), kNoLabel, PerSet{2, 0}),
    R(kCentreSet2MusicLevelOn, "centre.set2.music_level.on", {Where::kLevelOn, 75}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 4), kNoLabel, PerSet{2, 1}),
    R(kCentreSet1ReverbLevel, "centre.set1.reverb_level", {Where::kLevel, 76}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 4), Label::kReverbLevel, PerSet{2, 0}),
    R(kCentreSet2ReverbLevel, "centre.set2.reverb_level", {Where::kLevel, 77}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 4), Label::kReverbLevel, PerSet{2, 1}),
    R(kCentreSet1ReverbLevelOn, "centre.set1.reverb_level.on", {Where::kLevelOn, 76}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 4), kNoLabel, PerSet{2, 0}),
    R(kCentreSet2ReverbLevelOn, "centre.set2.reverb_level.on", {Where::kLevelOn, 77}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 4), kNoLabel, PerSet{2, 1}),
    R(kCentreSet1EchoLevel, "centre.set1.echo_level", {Where::kLevel, 78}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 4), Label::kEchoLevel, PerSet{2, 0}),
    R(kCentreSet2EchoLevel, "centre.set2.echo_level", {Where::kLevel, 79}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 4), Label::kEchoLevel, PerSet{2, 1}),
    R(kCentreSet1EchoLevelOn, "centre.set1.echo_level.on", {Where::kLevelOn, 78}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 4), kNoLabel, PerSet{2, 0}),
    R(kCentreSet2EchoLevelOn, "centre.set2.echo_level.on", {Where::kLevelOn, 79}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 4), kNoLabel, PerSet{2, 1}),
    R(kImage70, "image[70]", {Where::kByte, 70}, 0, 255, 99, Unit::kNone, Kind::kNumber, {}, Via(C::kOutputChannel, 4)),
    R(kImage71, "image[71]", {Where::kByte, 71}, 0, 255, 99, Unit::kNone, Kind::kNumber, {}, Via(C::kOutputChannel, 4)),
    R(kCentreCompThreshold, "centre.comp_threshold", {Where::kByte, 80}, 0, 50, 10, Unit::kDb, Kind::kNumber, {ReadoutKind::kDecibels, 50}, Via(C::kOutputChannel, 4), Label::kCompTh),
    R(kCentreCompRatio, "centre.comp_ratio", {Where::kByte, 81}, 2, 100, 4, Unit::kRatio, Kind::kNumber, {ReadoutKind::kRatio}, Via(C::kOutputChannel, 4), Label::kCompRatio),
    R(kCentreCompAttack, "centre.comp_attack", {Where::kByte, 82}, 1, 90, 1, Unit::kMs, Kind::kNumber, {ReadoutKind::kMilliseconds}, Via(C::kOutputChannel, 4), Label::kCompAttack),
    R(kCentreCompRelease, "centre.comp_release", {Where::kByte, 83}, 1, 25, 1, Unit::kTenthsSecond, Kind::kNumber, {ReadoutKind::kSeconds}, Via(C::kOutputChannel, 4), Label::kCompRelease),
    R(kCentreSet1HpfSlope, "centre.set1.hpf_slope", {Where::kByte, 84}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 12, ArgRule::kFixed, ModeRule::kSingOnly), Label::kHpTypeOutput, PerSet{2, 0}),
    R(kCentreSet2HpfSlope, "centre.set2.hpf_slope", {Where::kByte, 85}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 12, ArgRule::kFixed, ModeRule::kNotSing), Label::kHpTypeOutput, PerSet{2, 1}),
    R(kCentreSet1LpfSlope, "centre.set1.lpf_slope", {Where::kByte, 86}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 13, ArgRule::kFixed, ModeRule::kSingOnly), Label::kLpType, PerSet{2, 0}),
    R(kCentreSet2LpfSlope, "centre.set2.lpf_slope", {Where::kByte, 87}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 13, ArgRule::kFixed, ModeRule::kNotSing), Label::kLpType, PerSet{2, 1}),
    R(kCentreSet1HpfHz, "centre.set1.hpf_hz", {Where::kWord, 12}, 20, 20000, 20, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 12, ArgRule::kFixed, ModeRule::kSingOnly), Label::kHpfOutput, PerSet{2, 0}),
    R(kCentreSet2HpfHz, "centre.set2.hpf_hz", {Where::kWord, 13}, 20, 20000, 20, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 12, ArgRule::kFixed, ModeRule::kNotSing), Label::kHpfOutput, PerSet{2, 1}),
    R(kCentreSet1LpfHz, "centre.set1.lpf_hz", {Where::kWord, 14}, 20, 20000, 20000, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 13, ArgRule::kFixed, ModeRule::kSingOnly), Label::kLpf, PerSet{2, 0}),
    R(kCentreSet2LpfHz, "centre.set2.lpf_hz", {Where::kWord, 15}, 20, 20000, 20000, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 13, ArgRule::kFixed, ModeRule::kNotSing), Label::kLpf, PerSet{2, 1}),
    R(kCentreDelayMs, "centre.delay_ms", {Where::kWord, 34}, 0, 50, 0, Unit::kMs, Kind::kMs, {ReadoutKind::kDelayDistance}, Via(C::kOutputChannel, 4), Label::kOutputDelay),
    R(kSwitchCentreMute, "switch.centre.mute", {Where::kSwitchBit, 4}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kMute),
    R(kSwitchCentreCompOn, "switch.centre.comp_on", {Where::kSwitchBit, 10}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kCompBypass),
    R(kSwitchCentreSet1EqOn, "switch.centre.set1.eq_on", {Where::kSwitchBit, 20}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass, PerSet{2, 0}),
    R(kSwitchCentreSet2EqOn, "switch.centre.set2.eq_on", {Where::kSwitchBit, 21}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass, PerSet{2, 1}),
    R(kSubSet1Volume, "sub.set1.volume", {Where::kLevel, 88}, 0, 99, 75, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel, 5), Label::kOutputVol, PerSet{2, 0}),
    R(kSubSet2Volume, "sub.set2.volume", {Where::kLevel, 89}, 0, 99, 75, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kOutputChannel, 5), Label::kOutputVol, PerSet{2, 1}),
    R(kSubSet1VolumeOn, "sub.set1.volume.on", {Where::kLevelOn, 88}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 5), kNoLabel, PerSet{2, 0}),
    R(kSubSet2VolumeOn, "sub.set2.volume.on", {Where::kLevelOn, 89}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 5), kNoLabel, PerSet{2, 1}),
    R(kSubSet1MicDirectLevel, "sub.set1.mic_direct_level", {Where::kLevel, 92}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 5), Label::kMicDirectLevel, PerSet{2, 0}),
    R(kSubSet2MicDirectLevel, "sub.set2.mic_direct_level", {Where::kLevel, 93}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 5), Label::kMicDirectLevel, PerSet{2, 1}),
    R(kSubSet1MicDirectLevelOn, "sub.set1.mic_direct_level.on", {Where::kLevelOn, 92}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 5), kNoLabel, PerSet{2, 0}),
    R(kSubSet2MicDirectLevelOn, "sub.set2.mic_direct_level.on", {Where::kLevelOn, 93}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 5), kNoLabel, PerSet{2, 1}),
    R(kSubSet1MusicLevel, "sub.set1.music_level", {Where::kLevel, 94}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 5), Label::kMusicLevel, PerSet{2, 0}),
    R(kSubSet2MusicLevel, "sub.set2.music_level", {Where::kLevel, 95}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 5), Label::kMusicLevel, PerSet{2, 1}),
    R(kSubSet1MusicLevelOn, "sub.set1.music_level.on", {Where::kLevelOn, 94}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 5), kNoLabel, PerSet{2, 0}),
    R(kSubSet2MusicLevelOn, "sub.set2.music_level.on", {Where::kLevelOn, 95}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 5), kNoLabel, PerSet{2, 1}),
    R(kSubSet1ReverbLevel, "sub.set1.reverb_level", {Where::kLevel, 96}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 5), Label::kReverbLevel, PerSet{2, 0}),
    R(kSubSet2ReverbLevel, "sub.set2.reverb_level", {Where::kLevel, 97}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 5), Label::kReverbLevel, PerSet{2, 1}),
    R(kSubSet1ReverbLevelOn, "sub.set1.reverb_level.on", {Where::kLevelOn, 96}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 5), kNoLabel, PerSet{2, 0}),
    R(kSubSet2ReverbLevelOn, "sub.set2.reverb_level.on", {Where::kLevelOn, 97}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 5), kNoLabel, PerSet{2, 1}),
    R(kSubSet1EchoLevel, "sub.set1.echo_level", {Where::kLevel, 98}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 5), Label::kEchoLevel, PerSet{2, 0}),
    R(kSubSet2EchoLevel, "sub.set2.echo_level", {Where::kLevel, 99}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kOutputChannel, 5), Label::kEchoLevel, PerSet{2, 1}),
    R(kSubSet1EchoLevelOn, "sub.set1.echo_level.on", {Where::kLevelOn, 98}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 5), kNoLabel, PerSet{2, 0}),
    R(kSubSet2EchoLevelOn, "sub.set2.echo_level.on", {Where::kLevelOn, 99}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kOutputChannel, 5), kNoLabel, PerSet{2, 1}),
    R(kImage90, "image[90]", {Where::kByte, 90}, 0, 255, 75, Unit::kNone, Kind::kNumber, {}, Via(C::kOutputChannel, 5)),
    R(kImage91, "image[91]", {Where::kByte, 91}, 0, 255, 75, Unit::kNone, Kind::kNumber, {}, Via(C::kOutputChannel, 5)),
    R(kSubCompThreshold, "sub.comp_threshold", {Where::kByte, 100}, 0, 50, 10, Unit::kDb, Kind::kNumber, {ReadoutKind::kDecibels, 50}, Via(C::kOutputChannel, 5), Label::kCompTh),
    R(kSubCompRatio, "sub.comp_ratio", {Where::kByte, 101}, 2, 100, 4, Unit::kRatio, Kind::kNumber, {ReadoutKind::kRatio}, Via(C::kOutputChannel, 5), Label::kCompRatio),
    R(kSubCompAttack, "sub.comp_attack", {Where::kByte, 102}, 1, 90, 1, Unit::kMs, Kind::kNumber, {ReadoutKind::kMilliseconds}, Via(C::kOutputChannel, 5), Label::kCompAttack),
    R(kSubCompRelease, "sub.comp_release", {Where::kByte, 103}, 1, 25, 1, Unit::kTenthsSecond, Kind::kNumber, {ReadoutKind::kSeconds}, Via(C::kOutputChannel, 5), Label::kCompRelease),
    R(kSubSet1HpfSlope, "sub.set1.hpf_slope", {Where::kByte, 104}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 14, ArgRule::kFixed, ModeRule::kSingOnly), Label::kHpTypeOutput, PerSet{2, 0}),
    R(kSubSet2HpfSlope, "sub.set2.hpf_slope", {Where::kByte, 105}, 0, 7, 0, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 14, ArgRule::kFixed, ModeRule::kNotSing), Label::kHpTypeOutput, PerSet{2, 1}),
    R(kSubSet1LpfSlope, "sub.set1.lpf_slope", {Where::kByte, 106}, 0, 7, 6, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 15, ArgRule::kFixed, ModeRule::kSingOnly), Label::kLpType, PerSet{2, 0}),
    R(kSubSet2LpfSlope, "sub.set2.lpf_slope", {Where::kByte, 107}, 0, 7, 6, Unit::kNone, Kind::kSlope, {}, Via(C::kPassFilter, 15, ArgRule::kFixed, ModeRule::kNotSing), Label::kLpType, PerSet{2, 1}),
    R(kSubSet1HpfHz, "sub.set1.hpf_hz", {Where::kWord, 16}, 20, 20000, 20, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 14, ArgRule::kFixed, ModeRule::kSingOnly), Label::kHpfOutput, PerSet{2, 0}),
    R(kSubSet2HpfHz, "sub.set2.hpf_hz", {Where::kWord, 17}, 20, 20000, 20, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 14, ArgRule::kFixed, ModeRule::kNotSing), Label::kHpfOutput, PerSet{2, 1}),
    R(kSubSet1LpfHz, "sub.set1.lpf_hz", {Where::kWord, 18}, 20, 20000, 125, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 15, ArgRule::kFixed, ModeRule::kSingOnly), Label::kLpf, PerSet{2, 0}),
    R(kSubSet2LpfHz, "sub.set2.lpf_hz", {Where::kWord, 19}, 20, 20000, 125, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 15, ArgRule::kFixed, ModeRule::kNotSing), Label::kLpf, PerSet{2, 1}),
    R(kSubDelayMs, "sub.delay_ms", {Where::kWord, 35}, 0, 50, 0, Unit::kMs, Kind::kMs, {ReadoutKind::kDelayDistance}, Via(C::kOutputChannel, 5), Label::kOutputDelay),
    R(kSwitchSubMute, "switch.sub.mute", {Where::kSwitchBit, 5}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kMute),
    R(kSwitchSubCompOn, "switch.sub.comp_on", {Where::kSwitchBit, 11}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kCompBypass),
    R(kSwitchSubSet1EqOn, "switch.sub.set1.eq_on", {Where::kSwitchBit, 22}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass, PerSet{2, 0}),
    R(kSwitchSubSet2EqOn, "switch.sub.set2.eq_on", {Where::kSwitchBit, 23}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass, PerSet{2, 1}),
    R(kReverbLevel, "reverb.level", {Where::kLevel, 108}, 0, 100, 0, Unit::kStep, Kind::kLevel, {ReadoutKind::kNumber}, Via(C::kReverbBlock), Label::kReverbLevel),
    R(kReverbLevelOn, "reverb.level.on", {Where::kLevelOn, 108}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kReverbBlock)),
    R(kReverbType, "reverb.type", {Where::kByte, 109}, 0, 2, 1, Unit::kNone, Kind::kChoice, {}, Via(C::kReverbBlock), Label::kReverbType, PerSet{1, 0}, kReverbTypes),
    R(kReverbDirect, "reverb.direct", {Where::kLevel, 110}, 0, 100, 0, Unit::kStep, Kind::kLevel, {ReadoutKind::kNumber}, Via(C::kReverbBlock), Label::kReverbDirect),
    R(kReverbDirectOn, "reverb.direct.on", {Where::kLevelOn, 110}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kReverbBlock)),
    R(kReverbEchoRatio, "reverb.echo_ratio", {Where::kByte, 111}, 0, 100, 50, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kReverbBlock), Label::kEchoRatio),
    R(kReverbLiveliness, "reverb.liveliness", {Where::kByte, 112}, 20, 99, 0, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, kNotCarried, Label::kReverbLiveliness),
    R(kImage113, "image[113]", {Where::kByte, 113}, 0, 255, 85, Unit::kNone, Kind::kNumber, {}, Via(C::kReverbBlock)),
    R(kReverbHpfHz, "reverb.hpf_hz", {Where::kWord, 20}, 20, 1000, 100, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kReverbBlock), Label::kReverbHighpassHz),
    R(kReverbLpfHz, "reverb.lpf_hz", {Where::kWord, 21}, 4000, 16000, 15200, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kReverbBlock), Label::kReverbLowpassHz),
    R(kReverbDecayMs, "reverb.decay_ms", {Where::kWord, 24}, 500, 5000, 2680, Unit::kMs, Kind::kMs, {ReadoutKind::kMilliseconds}, Via(C::kReverbBlock), Label::kReverbDecay),
    R(kReverbPredelayMs, "reverb.predelay_ms", {Where::kWord, 25}, 0, 100, 0, Unit::kMs, Kind::kMs, {ReadoutKind::kMilliseconds}, Via(C::kReverbBlock), Label::kReverbPredelay),
    R(kSwitchReverbEqOn, "switch.reverb.eq_on", {Where::kSwitchBit, 24}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass),
    R(kEchoType, "echo.type", {Where::kByte, 114}, 0, 2, 1, Unit::kNone, Kind::kChoice, {}, Via(C::kEchoType, 0, ArgRule::kValue), Label::kEchoType, PerSet{1, 0}, kEchoTypes),
    R(kEchoLevel, "echo.level", {Where::kLevel, 115}, 0, 100, 100, Unit::kStep, Kind::kLevel, {ReadoutKind::kNumber}, Via(C::kEchoBlock), Label::kEchoLevel),
    R(kEchoLevelOn, "echo.level.on", {Where::kLevelOn, 115}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kEchoBlock)),
    R(kEchoRepeat, "echo.repeat", {Where::kByte, 116}, 0, 90, 60, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kEchoBlock), Label::kEchoRepeat),
    R(kEchoRightLevel, "echo.right_level", {Where::kLevel, 117}, 0, 100, 100, Unit::kStep, Kind::kLevel, {ReadoutKind::kNumber}, Via(C::kEchoBlock), Label::kEchoEffRLevel),
    R(kEchoRightLevelOn, "echo.right_level.on", {Where::kLevelOn, 117}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kEchoBlock)),
    R(kEchoRightRepeat, "echo.right_repeat", {Where::kByte, 118}, 0, 90, 60, Unit::kPercent, Kind::kNumber, {ReadoutKind::kPercent}, Via(C::kEchoBlock), Label::kEchoRightChRepeat),
    R(kEchoDirect, "echo.direct", {Where::kLevel, 119}, 0, 100, 64, Unit::kStep, Kind::kLevel, {ReadoutKind::kNumber}, Via(C::kEchoBlock), Label::kEchoDirect),
    R(kEchoDirectOn, "echo.direct.on", {Where::kLevelOn, 119}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kEchoBlock)),
    R(kImage120, "image[120]", {Where::kByte, 120}, 0, 255, 0, Unit::kNone, Kind::kNumber, {}, Via(C::kEchoBlock)),
    R(kEchoRightDelayPercent, "echo.right_delay_percent", {Where::kByte, 121}, 0, 100, 50, Unit::kPercent, Kind::kNumber, {ReadoutKind::kPercent, 50}, Via(C::kEchoBlock), Label::kEchoRightDelay),
    R(kEchoRightPredelayPercent, "echo.right_predelay_percent", {Where::kByte, 122}, 0, 100, 50, Unit::kPercent, Kind::kNumber, {ReadoutKind::kPercent, 50}, Via(C::kEchoBlock), Label::kEchoRightChPredelay),
    R(kEchoHpfHz, "echo.hpf_hz", {Where::kWord, 22}, 20, 1000, 61, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kEchoBlock), Label::kEchoHighpassHz),
    R(kEchoLpfHz, "echo.lpf_hz", {Where::kWord, 23}, 4000, 16000, 7700, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kEchoBlock), Label::kEchoLowpassHz),
    R(kEchoDelayMs, "echo.delay_ms", {Where::kWord, 26}, 1, 500, 200, Unit::kMs, Kind::kMs, {ReadoutKind::kMilliseconds}, Via(C::kEchoBlock), Label::kEchoDelay),
    R(kEchoLeftPredelayMs, "echo.left_predelay_ms", {Where::kWord, 27}, 0, 100, 0, Unit::kMs, Kind::kMs, {ReadoutKind::kMilliseconds}, Via(C::kEchoBlock), Label::kEchoLeftChPredelay),
    R(kEchoRightDelayMs, "echo.right_delay_ms", {Where::kWord, 28}, 1, 500, 200, Unit::kMs, Kind::kMs, {ReadoutKind::kMilliseconds}, Via(C::kEchoBlock), Label::kEchoRightDelay),
    R(kEchoRightPredelayMs, "echo.right_predelay_ms", {Where::kWord, 29}, 0, 100, 0, Unit::kMs, Kind::kMs, {ReadoutKind::kMilliseconds}, Via(C::kEchoBlock), Label::kEchoRightChPredelay),
    R(kSwitchEchoEqOn, "switch.echo.eq_on", {Where::kSwitchBit, 25}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass),
    R(kMicHpfHz, "mic.hpf_hz", {Where::kWord, 0}, 20, 20000, 50, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter), Label::kHpf),
    R(kMicLpfHz, "mic.lpf_hz", {Where::kWord, 1}, 20, 20000, 20000, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 1), Label::kLpf),
    R(kMusicHpfHz, "music.hpf_hz", {Where::kWord, 2}, 20, 20000, 20, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 2), Label::kHpf),
    R(kMusicLpfHz, "music.lpf_hz", {Where::kWord, 3}, 20, 20000, 20000, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kPassFilter, 3), Label::kLpf),
    R(kMicToneBass, "mic.tone.bass", {Where::kWord, 36}, 0, 480, 240, Unit::kTonePosition, Kind::kTonePosition, {ReadoutKind::kTenthsDb}, Via(C::kToneValue), Label::kBass),
    R(kMicToneMid, "mic.tone.mid", {Where::kWord, 37}, 0, 480, 240, Unit::kTonePosition, Kind::kTonePosition, {ReadoutKind::kTenthsDb}, Via(C::kToneValue, 256), Label::kMid),
    R(kMicToneMidHz, "mic.tone.mid_hz", {Where::kWord, 38}, 20, 20000, 1000, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kToneValue, 512), Label::kMidFreq),
    R(kMicToneTreble, "mic.tone.treble", {Where::kWord, 39}, 0, 480, 240, Unit::kTonePosition, Kind::kTonePosition, {ReadoutKind::kTenthsDb}, Via(C::kToneValue, 768), Label::kTreble),
    R(kMusicToneBass, "music.tone.bass", {Where::kWord, 40}, 0, 480, 240, Unit::kTonePosition, Kind::kTonePosition, {ReadoutKind::kTenthsDb}, Via(C::kToneValue, 2), Label::kBass),
    R(kMusicToneMid, "music.tone.mid", {Where::kWord, 41}, 0, 480, 240, Unit::kTonePosition, Kind::kTonePosition, {ReadoutKind::kTenthsDb}, Via(C::kToneValue, 258), Label::kMid),
    R(kMusicToneMidHz, "music.tone.mid_hz", {Where::kWord, 42}, 20, 20000, 1000, Unit::kHz, Kind::kHz, {ReadoutKind::kNumber}, Via(C::kToneValue, 514), Label::kMidFreq),
    R(kMusicToneTreble, "music.tone.treble", {Where::kWord, 43}, 0, 480, 240, Unit::kTonePosition, Kind::kTonePosition, {ReadoutKind::kTenthsDb}, Via(C::kToneValue, 770), Label::kTreble),
    R(kSwitchMicCompOn, "switch.mic.comp_on", {Where::kSwitchBit, 12}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kCompBypass),
    R(kSwitchMicMic1EqOn, "switch.mic.mic1_eq_on", {Where::kSwitchBit, 13}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass),
    R(kSwitchMicMic2EqOn, "switch.mic.mic2_eq_on", {Where::kSwitchBit, 14}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass),
    R(kSwitchMusicEqOn, "switch.music.eq_on", {Where::kSwitchBit, 15}, 0, 1, 1, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord), Label::kEqBypass),
    R(kAppMode, "app_mode", {Where::kByte, 125}, 0, 2, 1, Unit::kNone, Kind::kChoice, {}, Via(C::kAppMode), kNoLabel, PerSet{1, 0}, kAppModes),
    R(kDanceMicThreshold, "dance.mic_threshold", {Where::kByte, 126}, 0, 60, 10, Unit::kDb, Kind::kNumber, {ReadoutKind::kDecibels, 60}, Via(C::kAppMode), Label::kDanceMicThres),
    R(kDanceMicTime, "dance.mic_time", {Where::kByte, 127}, 1, 30, 6, Unit::kSecond, Kind::kNumber, {ReadoutKind::kWholeSeconds}, Via(C::kAppMode), Label::kDanceMicTime),
    R(kImage129, "image[129]", {Where::kByte, 129}, 0, 255, 0, Unit::kNone, Kind::kNumber, {}, Via(C::kMicBlock)),
    R(kImage130, "image[130]", {Where::kByte, 130}, 0, 255, 2, Unit::kNone, Kind::kNumber, {}, Via(C::kMicSetting)),
    R(kRecordMixerOutputVolume, "record_mixer.output_volume", {Where::kLevel, 131}, 0, 99, 99, Unit::kStep, Kind::kLevel, {ReadoutKind::kHalfDbOrOff}, Via(C::kRecordMixer), Label::kOutputVol),
    R(kRecordMixerOutputVolumeOn, "record_mixer.output_volume.on", {Where::kLevelOn, 131}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kRecordMixer)),
    R(kRecordMixerMusicLevel, "record_mixer.music_level", {Where::kLevel, 132}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kRecordMixer), Label::kMusicLeftLevel),
    R(kRecordMixerMusicLevelOn, "record_mixer.music_level.on", {Where::kLevelOn, 132}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kRecordMixer)),
    R(kRecordMixerMicDirectLevel, "record_mixer.mic_direct_level", {Where::kLevel, 133}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kRecordMixer), Label::kMicDirectLevel),
    R(kRecordMixerMicDirectLevelOn, "record_mixer.mic_direct_level.on", {Where::kLevelOn, 133}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kRecordMixer)),
    R(kRecordMixerEffectLevel, "record_mixer.effect_level", {Where::kLevel, 134}, 0, 100, 50, Unit::kStep, Kind::kLevel, {ReadoutKind::kPercent}, Via(C::kRecordMixer), Label::kEffectLeftLevel),
    R(kRecordMixerEffectLevelOn, "record_mixer.effect_level.on", {Where::kLevelOn, 134}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kRecordMixer)),
    R(kOutputDisplay, "output_display", {Where::kByte, 135}, 0, 255, 0, Unit::kNone, Kind::kNumber, {ReadoutKind::kNumber}, Via(C::kOutputDisplay, 0, ArgRule::kValue)),
    R(kMasterLevel, "master_level", {Where::kByte, 139}, 0, 255, 84, Unit::kStep, Kind::kNumber, {ReadoutKind::kNumber}, kNotCarried, Label::kMasterColon),
    R(kAdjustManner, "adjust_manner", {Where::kByte, 140}, 0, 1, 0, Unit::kNone, Kind::kChoice, {}, Via(C::kAdjustManner, 0, ArgRule::kValue), Label::kAdjMannerColon, PerSet{1, 0}, kAdjustManners),
    R(kPowerMode, "power_mode", {Where::kPowerMode, 0}, 0, kStoredPresets, 0, Unit::kNone, Kind::kNumber, {}, Via(C::kPowerMode), Label::kPowerMode),
    R(kImage123, "image[123]", {Where::kByte, 123}, 0, 255, 50, Unit::kNone, Kind::kNumber, {}, kNotCarried),
    R(kImage124, "image[124]", {Where::kByte, 124}, 0, 255, 50, Unit::kNone, Kind::kNumber, {}, kNotCarried),
    R(kImage128, "image[128]", {Where::kByte, 128}, 0, 255, 10, Unit::kNone, Kind::kNumber, {}, kNotCarried),
    R(kImage136, "image[136]", {Where::kByte, 136}, 0, 255, 52, Unit::kNone, Kind::kNumber, {}, kNotCarried),
    R(kImage137, "image[137]", {Where::kByte, 137}, 0, 255, 0, Unit::kNone, Kind::kNumber, {}, kNotCarried),
    R(kImage138, "image[138]", {Where::kByte, 138}, 0, 255, 1, Unit::kNone, Kind::kNumber, {}, kNotCarried),
    R(kSpareByte, "spare_byte", {Where::kByte, 141}, 0, 255, 0, Unit::kNone, Kind::kNumber, {}, kNotCarried),
    R(kSpareWord, "spare_word", {Where::kWord, 44}, 0, 65535, 0, Unit::kNone, Kind::kNumber, {}, kNotCarried),
    R(kPresetName, "preset_name", {Where::kPresetName, 0}, 0, 0, 0, Unit::kNone, Kind::kText, {}, kNotCarried),
    R(kSwitchWord, "switch_word", {Where::kSwitchWord, 0}, 0, 0, 0, Unit::kNone, Kind::kHex, {}, Via(C::kSwitchWord)),
    R(kSwitchBit7, "switch.bit7", {Where::kSwitchBit, 7}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord)),
    R(kSwitchBit9, "switch.bit9", {Where::kSwitchBit, 9}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord)),
    R(kSwitchBit26, "switch.bit26", {Where::kSwitchBit, 26}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord)),
    R(kSwitchBit27, "switch.bit27", {Where::kSwitchBit, 27}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord)),
    R(kSwitchBit28, "switch.bit28", {Where::kSwitchBit, 28}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord)),
    R(kSwitchBit29, "switch.bit29", {Where::kSwitchBit, 29}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord)),
    R(kSwitchBit30, "switch.bit30", {Where::kSwitchBit, 30}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord)),
    R(kSwitchBit31, "switch.bit31", {Where::kSwitchBit, 31}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kSwitchWord)),
    R(kAltSwitchWord, "alt_switch_word", {Where::kAltSwitchWord, 0}, 0, 0, 0, Unit::kNone, Kind::kHex, {}, kNotCarried),
    R(kBoostSwitches, "boost_switches", {Where::kBoostSwitches, 0}, 0, 255, 0, Unit::kNone, Kind::kHex, {}, Via(C::kBoostSwitches, 0, ArgRule::kBoostSwitchByte)),
    R(kBoostSwitchMic, "boost_switch.mic", {Where::kBoostSwitchBit, 0}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kBoostSwitches, 0, ArgRule::kBoostSwitchByte)),
    R(kBoostSwitchMusic, "boost_switch.music", {Where::kBoostSwitchBit, 1}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kBoostSwitches, 0, ArgRule::kBoostSwitchByte)),
    R(kBoostSwitchReverb, "boost_switch.reverb", {Where::kBoostSwitchBit, 2}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kBoostSwitches, 0, ArgRule::kBoostSwitchByte)),
    R(kBoostSwitchEcho, "boost_switch.echo", {Where::kBoostSwitchBit, 3}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kBoostSwitches, 0, ArgRule::kBoostSwitchByte)),
    R(kBoostSwitchBit4, "boost_switch.bit4", {Where::kBoostSwitchBit, 4}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kBoostSwitches, 0, ArgRule::kBoostSwitchByte)),
    R(kBoostSwitchBit5, "boost_switch.bit5", {Where::kBoostSwitchBit, 5}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kBoostSwitches, 0, ArgRule::kBoostSwitchByte)),
    R(kBoostSwitchBit6, "boost_switch.bit6", {Where::kBoostSwitchBit, 6}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kBoostSwitches, 0, ArgRule::kBoostSwitchByte)),
    R(kBoostSwitchBit7, "boost_switch.bit7", {Where::kBoostSwitchBit, 7}, 0, 1, 0, Unit::kNone, Kind::kOnOff, {}, Via(C::kBoostSwitches, 0, ArgRule::kBoostSwitchByte)),
};
// clang-format on
static_assert(std::size(kNamedRows) == kNamedCount);

constexpr bool IdsInOrder() {
  for (std::size_t i = 0; i < std::size(kNamedRows); ++i) {
    if (kNamedRows[i].id != i) return false;
  }
  return true;
}
static_assert(IdsInOrder(), "kNamedRows must list the rows in row::Id order");

// How each EQ set's bands travel: the code-3 set id and the mode it needs.
struct EqSetCarrier {
  int setId;
  ModeRule mode;
};
constexpr std::array<EqSetCarrier, kEqSetCount> kEqSetCarriers = {{
    {0, ModeRule::kAnyMode},  // mic A
    {1, ModeRule::kAnyMode},  // mic B
    {2, ModeRule::kAnyMode},  // music
    // The output pages post ids 3, 5, 7 and 8, which name the first set in mode Sing and
    // the second otherwise. (Ids 4 and 6 would name the second sets in every mode, but no
    // window posts them; the values go the way the panel sends them.)
    {3, ModeRule::kSingOnly},  // main, first set
    {3, ModeRule::kNotSing},   // main, second set
    {5, ModeRule::kSingOnly},  // surround, first set
    {5, ModeRule::kNotSing},   // surround, second set
    {7, ModeRule::kSingOnly},  // centre, first set
    {7, ModeRule::kNotSing},   // centre, second set
    {8, ModeRule::kSingOnly},  // subwoofer, first set
    {8, ModeRule::kNotSing},   // subwoofer, second set
    {9, ModeRule::kAnyMode},   // reverb
    {10, ModeRule::kAnyMode},  // echo
}};

// The pass filters behind each set's filter bands: band wireBands is the low-pass, the
// next the high-pass.
struct SetFilters {
  RowId lowFreq;
  std::optional<RowId> lowSlope;
  RowId highFreq;
  std::optional<RowId> highSlope;
};
constexpr std::array<SetFilters, kEqSetCount> kSetFilters = {{
    {kMicLpfHz, kMicLpfSlope, kMicHpfHz, kMicHpfSlope},
    {kMicLpfHz, kMicLpfSlope, kMicHpfHz, kMicHpfSlope},
    {kMusicLpfHz, kMusicLpfSlope, kMusicHpfHz, kMusicHpfSlope},
    {kMainSet1LpfHz, kMainSet1LpfSlope, kMainSet1HpfHz, kMainSet1HpfSlope},
    {kMainSet2LpfHz, kMainSet2LpfSlope, kMainSet2HpfHz, kMainSet2HpfSlope},
    {kSurroundSet1LpfHz, kSurroundSet1LpfSlope, kSurroundSet1HpfHz, kSurroundSet1HpfSlope},
    {kSurroundSet2LpfHz, kSurroundSet2LpfSlope, kSurroundSet2HpfHz, kSurroundSet2HpfSlope},
    {kCentreSet1LpfHz, kCentreSet1LpfSlope, kCentreSet1HpfHz, kCentreSet1HpfSlope},
    {kCentreSet2LpfHz, kCentreSet2LpfSlope, kCentreSet2HpfHz, kCentreSet2HpfSlope},
    {kSubSet1LpfHz, kSubSet1LpfSlope, kSubSet1HpfHz, kSubSet1HpfSlope},
    {kSubSet2LpfHz, kSubSet2LpfSlope, kSubSet2HpfHz, kSubSet2HpfSlope},
    {kReverbLpfHz, std::nullopt, kReverbHpfHz, std::nullopt},
    {kEchoLpfHz, std::nullopt, kEchoHpfHz, std::nullopt},
}};

constexpr std::array<std::string_view, kBoostChannels> kBoostChannelNames = {
    "boost_mic", "boost_music", "boost_reverb", "boost_echo"};

// The alternate switch word starts with the first set's EQ in circuit on the four output
// channels (bits 16, 18, 20, 22) and everything else off.
constexpr std::uint32_t kAltSwitchDefaults = 0x00550000;
constexpr int AltSwitchDefault(int bit) {
  return static_cast<int>((kAltSwitchDefaults >> bit) & 1U);
}

bool IsOutputSet(int set) {
  return set >= kEqMainFirst && set <= kEqSubSecond;
}

// The named rows plus the generated ones: EQ bands, boost bands, alternate switch bits.
struct Table {
  std::deque<std::string> names;  // stable storage for generated names
  std::vector<CatalogueRow> rows;
  std::array<int, kEqSetCount> firstBandRow{};
  int firstBoostRow = 0;
  int firstAltBitRow = 0;

  std::string_view Keep(std::string name) { return names.emplace_back(std::move(name)); }
  RowId NextId() const { return static_cast<RowId>(rows.size()); }

  Table() {
    rows.assign(std::begin(kNamedRows), std::end(kNamedRows));
    for (int s = 0; s < kEqSetCount; ++s) {
      const EqSetInfo& info = kEqSets[static_cast<std::size_t>(s)];
      const EqSetCarrier& via = kEqSetCarriers[static_cast<std::size_t>(s)];
      const SetFilters& filters = kSetFilters[static_cast<std::size_t>(s)];
      firstBandRow[static_cast<std::size_t>(s)] = static_cast<int>(rows.size());
      const PerSet perSet =
          IsOutputSet(s) ? PerSet{2, static_cast<std::uint8_t>((s - kEqMainFirst) % 2)} : PerSet{};
      for (int b = 0; b < info.memoryBands; ++b) {
        Carrier carrier{C::kEqBand, via.setId, ArgRule::kBand, via.mode};
        if (b >= info.wireBands) {
          // A filter band travels as its pass filter's frequency (and slope).
          const RowId freq = b == info.wireBands ? filters.lowFreq : filters.highFreq;
          carrier = kNamedRows[freq].carrier;
        }
        // Named from 1, as the pages' markers, the report and the import messages count.
        rows.push_back(R(NextId(), Keep(std::string(info.name) + ".band" + std::to_string(b + 1)),
                         {Where::kEqBand, s, b}, 0, 0, 0, Unit::kNone, Kind::kBand, {}, carrier,
                         kNoLabel, perSet));
      }
    }
    firstBoostRow = static_cast<int>(rows.size());
    for (int ch = 0; ch < kBoostChannels; ++ch) {
      for (int b = 0; b < kBoostBandCounts[static_cast<std::size_t>(ch)]; ++b) {
        rows.push_back(R(NextId(),
                         Keep(std::string(kBoostChannelNames[static_cast<std::size_t>(ch)]) +
                              ".band" + std::to_string(b + 1)),
                         {Where::kBoostBand, ch, b}, 0, 0, 0, Unit::kNone, Kind::kBand, {},
                         Via(C::kBoostBand, ch, ArgRule::kBand)));
      }
    }
    // The alternate switch word has the switch word's bit names; no block carries it.
    firstAltBitRow = static_cast<int>(rows.size());
    for (int bit = 0; bit < 32; ++bit) {
      const CatalogueRow* main = nullptr;
      for (const CatalogueRow& r : kNamedRows) {
        if (r.place == Place{Where::kSwitchBit, bit}) main = &r;
      }
      const std::string_view suffix =
          main ? main->name.substr(std::string_view("switch.").size()) : std::string_view{};
      rows.push_back(R(NextId(), Keep("alt_switch." + std::string(suffix)),
                       {Where::kAltSwitchBit, bit}, 0, 1, AltSwitchDefault(bit), Unit::kNone,
                       Kind::kOnOff, {}, kNotCarried, kNoLabel, main ? main->perSet : PerSet{}));
    }
  }
};

const Table& TheTable() {
  static const Table table;
  return table;
}

std::uint32_t SetBit(std::uint32_t word, int bit, int value) {
  const std::uint32_t mask = 1U << bit;
  return value != 0 ? (word | mask) : (word & ~mask);
}

}  // namespace

std::string_view UnitText(Unit unit) {
  switch (unit) {
    case Unit::kNone:
      return "";
    case Unit::kStep:
      return "step";
    case Unit::kDb:
      return "dB";
    case Unit::kTonePosition:
      return "tenths of a dB, 240 = 0 dB";
    case Unit::kHz:
      return "Hz";
    case Unit::kMs:
      return "ms";
    case Unit::kPercent:
      return "%";
    case Unit::kRatio:
      return "1:n";
    case Unit::kSecond:
      return "s";
    case Unit::kTenthsSecond:
      return "tenths of a second";
  }
  return "";
}

std::span<const CatalogueRow> AllRows() {
  return TheTable().rows;
}

const CatalogueRow& RowOf(RowId id) {
  return TheTable().rows.at(id);
}

const CatalogueRow* FindRow(std::string_view name) {
  for (const CatalogueRow& r : AllRows()) {
    if (r.name == name) return &r;
  }
  return nullptr;
}

const CatalogueRow* RowAt(Place place) {
  for (const CatalogueRow& r : AllRows()) {
    if (r.place == place) return &r;
  }
  // A level byte is named by its level row; kByte asks for whatever owns the byte.
  if (place.where == Where::kByte) return RowAt({Where::kLevel, place.index});
  return nullptr;
}

RowId InSet(RowId id, int set) {
  const CatalogueRow& r = RowOf(id);
  if (r.perSet.sets < 2 || set < 0 || set >= r.perSet.sets) return id;
  const int delta = set - r.perSet.set;
  if (r.place.where == Where::kEqBand) {
    return BandRow(static_cast<EqSet>(r.place.index + delta), r.place.band);
  }
  if (r.place.where == Where::kAltSwitchBit) return AltSwitchBitRow(r.place.index + delta);
  return static_cast<RowId>(id + delta);
}

int EqSetIdOf(EqSet set) {
  return kEqSetCarriers.at(static_cast<std::size_t>(set)).setId;
}

RowId BandRow(EqSet set, int band) {
  return static_cast<RowId>(TheTable().firstBandRow.at(static_cast<std::size_t>(set)) + band);
}

RowId BoostBandRow(int channel, int band) {
  int id = TheTable().firstBoostRow;
  for (int ch = 0; ch < channel; ++ch) id += kBoostBandCounts.at(static_cast<std::size_t>(ch));
  return static_cast<RowId>(id + band);
}

RowId AltSwitchBitRow(int bit) {
  return static_cast<RowId>(TheTable().firstAltBitRow + bit);
}

int ReadValue(const ParamImage& image, const CatalogueRow& r) {
  const int i = r.place.index;
  switch (r.place.where) {
    case Where::kByte:
      return image.byte(i);
    case Where::kLevel:
      return image.byte(i) & 0x7F;
    case Where::kLevelOn:
      return image.byte(i) >> 7;
    case Where::kWord:
      return image.word(i);
    case Where::kSwitchBit:
      return static_cast<int>((image.switchWord >> i) & 1U);
    case Where::kSwitchWord:
      return static_cast<int>(image.switchWord);
    case Where::kAltSwitchBit:
      return static_cast<int>((image.altSwitchWord >> i) & 1U);
    case Where::kAltSwitchWord:
      return static_cast<int>(image.altSwitchWord);
    case Where::kBoostSwitchBit:
      return (image.boost.switches >> i) & 1;
    case Where::kBoostSwitches:
      return image.boost.switches;
    case Where::kPowerMode:
      return image.powerMode;
    case Where::kEqBand:
    case Where::kBoostBand:
    case Where::kPresetName:
      break;
  }
  return 0;
}

void WriteValue(ParamImage& image, const CatalogueRow& r, int value) {
  const int i = r.place.index;
  const auto byte = static_cast<std::uint8_t>(value);
  switch (r.place.where) {
    case Where::kByte:
      image.byte(i) = byte;
      return;
    case Where::kLevel:
      image.byte(i) = static_cast<std::uint8_t>((image.byte(i) & 0x80) | (value & 0x7F));
      return;
    case Where::kLevelOn:
      image.byte(i) = static_cast<std::uint8_t>((image.byte(i) & 0x7F) | (value != 0 ? 0x80 : 0));
      return;
    case Where::kWord:
      image.word(i) = static_cast<std::uint16_t>(value);
      return;
    case Where::kSwitchBit:
      image.switchWord = SetBit(image.switchWord, i, value);
      return;
    case Where::kSwitchWord:
      image.switchWord = static_cast<std::uint32_t>(value);
      return;
    case Where::kAltSwitchBit:
      image.altSwitchWord = SetBit(image.altSwitchWord, i, value);
      return;
    case Where::kAltSwitchWord:
      image.altSwitchWord = static_cast<std::uint32_t>(value);
      return;
    case Where::kBoostSwitchBit:
      image.boost.switches = static_cast<std::uint8_t>(SetBit(image.boost.switches, i, value));
      return;
    case Where::kBoostSwitches:
      image.boost.switches = byte;
      return;
    case Where::kPowerMode:
      image.powerMode = byte;
      return;
    case Where::kEqBand:
    case Where::kBoostBand:
    case Where::kPresetName:
      return;
  }
}

const EqBand& BandOf(const ParamImage& image, const CatalogueRow& r) {
  if (r.place.where == Where::kBoostBand) {
    return image.boost.bands.at(static_cast<std::size_t>(r.place.index))
        .at(static_cast<std::size_t>(r.place.band));
  }
  return image.eq.at(static_cast<std::size_t>(r.place.index))
      .at(static_cast<std::size_t>(r.place.band));
}

EqBand& BandOf(ParamImage& image, const CatalogueRow& r) {
  return const_cast<EqBand&>(BandOf(static_cast<const ParamImage&>(image), r));
}

Carry CanCarry(const ParamImage& image, const CatalogueRow& r) {
  if (!r.Carried()) return Carry::kNotCarried;
  const bool sing = image.byte(img::kAppMode) == kModeSing;
  switch (r.carrier.mode) {
    case ModeRule::kAnyMode:
      return Carry::kOk;
    case ModeRule::kSingOnly:
      return sing ? Carry::kOk : Carry::kNeedsSing;
    case ModeRule::kNotSing:
      return sing ? Carry::kNeedsOtherThanSing : Carry::kOk;
  }
  return Carry::kOk;
}

BlockRequest RequestFor(const ParamImage& image, const CatalogueRow& r) {
  switch (r.carrier.argRule) {
    case ArgRule::kFixed:
      return {r.carrier.code, r.carrier.arg};
    case ArgRule::kValue:
      return {r.carrier.code, ReadValue(image, r)};
    case ArgRule::kBand:
      return {r.carrier.code, r.place.band * 256 + r.carrier.arg};
    case ArgRule::kBoostSwitchByte:
      return {r.carrier.code, image.boost.switches};
  }
  return {};
}

std::optional<PassFilterLink> PassFilterOf(const CatalogueRow& bandRow) {
  if (bandRow.place.where != Where::kEqBand) return std::nullopt;
  const auto set = static_cast<std::size_t>(bandRow.place.index);
  const int wire = kEqSets.at(set).wireBands;
  const SetFilters& f = kSetFilters.at(set);
  if (bandRow.place.band == wire) return PassFilterLink{f.lowFreq, f.lowSlope};
  if (bandRow.place.band == wire + 1) return PassFilterLink{f.highFreq, f.highSlope};
  return std::nullopt;
}

}  // namespace tavelo
