#pragma once
// The parameter catalogue: one row per named value of the processor. A row holds the value's
// stable dotted name (the name `tavelo-cli show` prints), where it lives in the parameter
// image, the per-set rule of values that exist once per application set, its range, unit
// and page readout format, the command code and argument that carry it, and its label.
// Everyone who names a value (pages, show, diff, set, the top bar) reads it here; nobody
// else states an image position, a range or a code.
//
// Usage:
//   const CatalogueRow& r = RowOf(row::kMusicInput1Gain);   // a row named at compile time
//   const CatalogueRow* r = FindRow("main.set2.left_volume");  // a row named by text
//   int v = ReadValue(image, r);  WriteValue(image, r, 7);    // scalar rows (not bands/names)
//   FormatReadout(r.readout, v);                              // the page readout, "-5"
//   if (CanCarry(image, r) == Carry::kOk) post(RequestFor(image, r));  // code + argument
//   RowOf(InSet(row::kMainSet1LeftVolume, s));                // per-set values: set s (0, 1)
//   RowOf(BandRow(kEqMusic, 3)), BoostBandRow(channel, band)  // EQ band rows
//   EqSetIdOf(kEqMusic)                                       // the set id codes 3, 4 carry
//   kVolumeLevels (params/LevelTable.h)                       // the top bar's three levels
//   AllRows()                                                 // every row, in id order
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "core/link/CommandCode.h"
#include "core/params/BlockEncoder.h"
#include "core/params/ParamImage.h"
#include "core/params/Readout.h"
#include "core/text/Labels.h"

namespace tavelo {

// Where a value lives.
enum class Where : std::uint8_t {
  kByte,            // the whole image byte `index` (141: the spare byte of PC files)
  kLevel,           // bits 0..6 of image byte `index`; bit 7 is its on/off button
  kLevelOn,         // bit 7 of image byte `index`
  kWord,            // word W`index` (44: the spare word of PC files)
  kSwitchBit,       // bit `index` of the switch word
  kSwitchWord,      // the whole switch word
  kAltSwitchBit,    // bit `index` of the alternate switch word (PC files only)
  kAltSwitchWord,   // the whole alternate switch word
  kEqBand,          // band `band` of EQ set `index` (an EqSet)
  kBoostSwitchBit,  // bit `index` of the boost switch byte
  kBoostSwitches,   // the whole boost switch byte
  kBoostBand,       // band `band` of boost channel `index`
  kPowerMode,       // the system page's power-mode selection
  kPresetName,      // the 16-byte preset name
};

struct Place {
  Where where = Where::kByte;
  int index = 0;
  int band = 0;
  friend constexpr bool operator==(const Place&, const Place&) = default;
};

// How the value reads and is written as text (show, diff, set).
enum class ValueKind : std::uint8_t {
  kNumber,        // whole number
  kLevel,         // level in bits 0..6; show prints it with its on bit ("75 on")
  kOnOff,         // one bit: on / off
  kChoice,        // index into `choices`
  kSlope,         // pass-filter slope code (SlopeCode)
  kHz,            // whole hertz
  kMs,            // whole milliseconds
  kTonePosition,  // tone gain as position: tenths of a dB + 240
  kBand,          // an EqBand
  kHex,           // a switch word or byte, shown in hexadecimal
  kText,          // the preset name
};

// What one step of the stored value means, for listings.
enum class Unit : std::uint8_t {
  kNone,
  kStep,          // a plain level or step
  kDb,            // whole decibels (after the readout's offset)
  kTonePosition,  // tenths of a dB, 240 = 0 dB
  kHz,
  kMs,
  kPercent,
  kRatio,  // 1:n
  kSecond,
  kTenthsSecond,
};
std::string_view UnitText(Unit unit);  // "", "step", "dB", "Hz", ...

// How the command argument is formed from the row.
enum class ArgRule : std::uint8_t {
  kFixed,           // `arg` as it stands
  kValue,           // the new value is the argument (codes 7, 58, 61)
  kBand,            // band * 256 + `arg` (codes 3 and 49)
  kBoostSwitchByte  // the whole boost switch byte (code 48)
};

// Which application mode the protocol needs to carry the value into its set: codes 3 and
// 17 address the output sets through the processor's mode.
enum class ModeRule : std::uint8_t { kAnyMode, kSingOnly, kNotSing };

struct Carrier {
  CommandCode code = CommandCode::kNone;
  int arg = 0;
  ArgRule argRule = ArgRule::kFixed;
  ModeRule mode = ModeRule::kAnyMode;
};

// Values that exist once per application set (the output pages): `sets` is 2, this row is
// set `set` (0 = "set1"), and the row of set s is InSet(id, s). Image positions of set s
// are this row's plus (s - set): bytes, words, switch bits and EQ sets all have stride 1.
struct PerSet {
  std::uint8_t sets = 1;
  std::uint8_t set = 0;
};

namespace row {
// Named at compile time: every value except EQ bands and the alternate switch bits, which
// BandRow, BoostBandRow and AltSwitchBitRow name. Rows of one per-set value follow each
// other (set1, set2).
enum Id : std::uint16_t {
  kMusicVolume,                   // music.volume
  kMicVolume,                     // mic.volume
  kEffectVolume,                  // effect.volume
  kMusicInitVolume,               // music.init_volume
  kMusicMaxVolume,                // music.max_volume
  kMusicNoiseGate,                // music.noise_gate
  kMusicInput,                    // music.input
  kMusicHpfSlope,                 // music.hpf_slope
  kMusicLpfSlope,                 // music.lpf_slope
  kMusicKey,                      // music.key
  kMicInitVolume,                 // mic.init_volume
  kMicMaxVolume,                  // mic.max_volume
  kMicMic1Volume,                 // mic.mic1_volume
  kMicMic1VolumeOn,               // mic.mic1_volume.on
  kMicMic2Volume,                 // mic.mic2_volume
  kMicMic2VolumeOn,               // mic.mic2_volume.on
  kMicNoiseGate,                  // mic.noise_gate
  kMicCompThreshold,              // mic.comp_threshold
  kMicCompRatio,                  // mic.comp_ratio
  kMicCompAttack,                 // mic.comp_attack
  kMicCompRelease,                // mic.comp_release
  kMicHpfSlope,                   // mic.hpf_slope
  kMicLpfSlope,                   // mic.lpf_slope
  kEffectInitLevel,               // effect.init_level
  kMusicInput1Gain,               // music.input1_gain
  kMusicInput2Gain,               // music.input2_gain
  kMusicBtGain,                   // music.bt_gain
  kMusicUdiskGain,                // music.udisk_gain
  kMusicOpticalGain,              // music.optical_gain
  kMicFbx,                        // mic.fbx
  kMainSet1LeftVolume,            // main.set1.left_volume
  kMainSet2LeftVolume,            // main.set2.left_volume
  kMainSet1LeftVolumeOn,          // main.set1.left_volume.on
  kMainSet2LeftVolumeOn,          // main.set2.left_volume.on
  kMainSet1RightVolume,           // main.set1.right_volume
  kMainSet2RightVolume,           // main.set2.right_volume
  kMainSet1RightVolumeOn,         // main.set1.right_volume.on
  kMainSet2RightVolumeOn,         // main.set2.right_volume.on
  kMainSet1MicDirectLevel,        // main.set1.mic_direct_level
  kMainSet2MicDirectLevel,        // main.set2.mic_direct_level
  kMainSet1MicDirectLevelOn,      // main.set1.mic_direct_level.on
  kMainSet2MicDirectLevelOn,      // main.set2.mic_direct_level.on
  kMainSet1MusicLevel,            // main.set1.music_level
  kMainSet2MusicLevel,            // main.set2.music_level
  kMainSet1MusicLevelOn,          // main.set1.music_level.on
  kMainSet2MusicLevelOn,          // main.set2.music_level.on
  kMainSet1ReverbLevel,           // main.set1.reverb_level
  kMainSet2ReverbLevel,           // main.set2.reverb_level
  kMainSet1ReverbLevelOn,         // main.set1.reverb_level.on
  kMainSet2ReverbLevelOn,         // main.set2.reverb_level.on
  kMainSet1EchoLevel,             // main.set1.echo_level
  kMainSet2EchoLevel,             // main.set2.echo_level
  kMainSet1EchoLevelOn,           // main.set1.echo_level.on
  kMainSet2EchoLevelOn,           // main.set2.echo_level.on
  kMainCompThreshold,             // main.comp_threshold
  kMainCompRatio,                 // main.comp_ratio
  kMainCompAttack,                // main.comp_attack
  kMainCompRelease,               // main.comp_release
  kMainSet1HpfSlope,              // main.set1.hpf_slope
  kMainSet2HpfSlope,              // main.set2.hpf_slope
  kMainSet1LpfSlope,              // main.set1.lpf_slope
  kMainSet2LpfSlope,              // main.set2.lpf_slope
  kMainSet1HpfHz,                 // main.set1.hpf_hz
  kMainSet2HpfHz,                 // main.set2.hpf_hz
  kMainSet1LpfHz,                 // main.set1.lpf_hz
  kMainSet2LpfHz,                 // main.set2.lpf_hz
  kMainLeftDelayMs,               // main.left_delay_ms
  kMainRightDelayMs,              // main.right_delay_ms
  kSwitchMainLeftMute,            // switch.main.left_mute
  kSwitchMainRightMute,           // switch.main.right_mute
  kSwitchMainCompOn,              // switch.main.comp_on
  kSwitchMainSet1EqOn,            // switch.main.set1.eq_on
  kSwitchMainSet2EqOn,            // switch.main.set2.eq_on
  kSurroundSet1LeftVolume,        // surround.set1.left_volume
  kSurroundSet2LeftVolume,        // surround.set2.left_volume
  kSurroundSet1LeftVolumeOn,      // surround.set1.left_volume.on
  kSurroundSet2LeftVolumeOn,      // surround.set2.left_volume.on
  kSurroundSet1RightVolume,       // surround.set1.right_volume
  kSurroundSet2RightVolume,       // surround.set2.right_volume
  kSurroundSet1RightVolumeOn,     // surround.set1.right_volume.on
  kSurroundSet2RightVolumeOn,     // surround.set2.right_volume.on
  kSurroundSet1MicDirectLevel,    // surround.set1.mic_direct_level
  kSurroundSet2MicDirectLevel,    // surround.set2.mic_direct_level
  kSurroundSet1MicDirectLevelOn,  // surround.set1.mic_direct_level.on
  kSurroundSet2MicDirectLevelOn,  // surround.set2.mic_direct_level.on
  kSurroundSet1MusicLevel,        // surround.set1.music_level
  kSurroundSet2MusicLevel,        // surround.set2.music_level
  kSurroundSet1MusicLevelOn,      // surround.set1.music_level.on
  kSurroundSet2MusicLevelOn,      // surround.set2.music_level.on
  kSurroundSet1ReverbLevel,       // surround.set1.reverb_level
  kSurroundSet2ReverbLevel,       // surround.set2.reverb_level
  kSurroundSet1ReverbLevelOn,     // surround.set1.reverb_level.on
  kSurroundSet2ReverbLevelOn,     // surround.set2.reverb_level.on
  kSurroundSet1EchoLevel,         // surround.set1.echo_level
  kSurroundSet2EchoLevel,         // surround.set2.echo_level
  kSurroundSet1EchoLevelOn,       // surround.set1.echo_level.on
  kSurroundSet2EchoLevelOn,       // surround.set2.echo_level.on
  kSurroundCompThreshold,         // surround.comp_threshold
  kSurroundCompRatio,             // surround.comp_ratio
  kSurroundCompAttack,            // surround.comp_attack
  kSurroundCompRelease,           // surround.comp_release
  kSurroundSet1HpfSlope,          // surround.set1.hpf_slope
  kSurroundSet2HpfSlope,          // surround.set2.hpf_slope
  kSurroundSet1LpfSlope,          // surround.set1.lpf_slope
  kSurroundSet2LpfSlope,          // surround.set2.lpf_slope
  kSurroundSet1HpfHz,             // surround.set1.hpf_hz
  kSurroundSet2HpfHz,             // surround.set2.hpf_hz
  kSurroundSet1LpfHz,             // surround.set1.lpf_hz
  kSurroundSet2LpfHz,             // surround.set2.lpf_hz
  kSurroundLeftDelayMs,           // surround.left_delay_ms
  kSurroundRightDelayMs,          // surround.right_delay_ms
  kSwitchSurroundLeftMute,        // switch.surround.left_mute
  kSwitchSurroundRightMute,       // switch.surround.right_mute
  kSwitchSurroundCompOn,          // switch.surround.comp_on
  kSwitchSurroundSet1EqOn,        // switch.surround.set1.eq_on
  kSwitchSurroundSet2EqOn,        // switch.surround.set2.eq_on
  kCentreSet1Volume,              // centre.set1.volume
  kCentreSet2Volume,              // centre.set2.volume
  kCentreSet1VolumeOn,            // centre.set1.volume.on
  kCentreSet2VolumeOn,            // centre.set2.volume.on
  kCentreSet1MicDirectLevel,      // centre.set1.mic_direct_level
  kCentreSet2MicDirectLevel,      // centre.set2.mic_direct_level
  kCentreSet1MicDirectLevelOn,    // centre.set1.mic_direct_level.on
  kCentreSet2MicDirectLevelOn,    // centre.set2.mic_direct_level.on
  kCentreSet1MusicLevel,          // centre.set1.music_level
  kCentreSet2MusicLevel,          // centre.set2.music_level
  kCentreSet1MusicLevelOn,        // centre.set1.music_level.on
  kCentreSet2MusicLevelOn,        // centre.set2.music_level.on
  kCentreSet1ReverbLevel,         // centre.set1.reverb_level
  kCentreSet2ReverbLevel,         // centre.set2.reverb_level
  kCentreSet1ReverbLevelOn,       // centre.set1.reverb_level.on
  kCentreSet2ReverbLevelOn,       // centre.set2.reverb_level.on
  kCentreSet1EchoLevel,           // centre.set1.echo_level
  kCentreSet2EchoLevel,           // centre.set2.echo_level
  kCentreSet1EchoLevelOn,         // centre.set1.echo_level.on
  kCentreSet2EchoLevelOn,         // centre.set2.echo_level.on
  kImage70,                       // image[70]
  kImage71,                       // image[71]
  kCentreCompThreshold,           // centre.comp_threshold
  kCentreCompRatio,               // centre.comp_ratio
  kCentreCompAttack,              // centre.comp_attack
  kCentreCompRelease,             // centre.comp_release
  kCentreSet1HpfSlope,            // centre.set1.hpf_slope
  kCentreSet2HpfSlope,            // centre.set2.hpf_slope
  kCentreSet1LpfSlope,            // centre.set1.lpf_slope
  kCentreSet2LpfSlope,            // centre.set2.lpf_slope
  kCentreSet1HpfHz,               // centre.set1.hpf_hz
  kCentreSet2HpfHz,               // centre.set2.hpf_hz
  kCentreSet1LpfHz,               // centre.set1.lpf_hz
  kCentreSet2LpfHz,               // centre.set2.lpf_hz
  kCentreDelayMs,                 // centre.delay_ms
  kSwitchCentreMute,              // switch.centre.mute
  kSwitchCentreCompOn,            // switch.centre.comp_on
  kSwitchCentreSet1EqOn,          // switch.centre.set1.eq_on
  kSwitchCentreSet2EqOn,          // switch.centre.set2.eq_on
  kSubSet1Volume,                 // sub.set1.volume
  kSubSet2Volume,                 // sub.set2.volume
  kSubSet1VolumeOn,               // sub.set1.volume.on
  kSubSet2VolumeOn,               // sub.set2.volume.on
  kSubSet1MicDirectLevel,         // sub.set1.mic_direct_level
  kSubSet2MicDirectLevel,         // sub.set2.mic_direct_level
  kSubSet1MicDirectLevelOn,       // sub.set1.mic_direct_level.on
  kSubSet2MicDirectLevelOn,       // sub.set2.mic_direct_level.on
  kSubSet1MusicLevel,             // sub.set1.music_level
  kSubSet2MusicLevel,             // sub.set2.music_level
  kSubSet1MusicLevelOn,           // sub.set1.music_level.on
  kSubSet2MusicLevelOn,           // sub.set2.music_level.on
  kSubSet1ReverbLevel,            // sub.set1.reverb_level
  kSubSet2ReverbLevel,            // sub.set2.reverb_level
  kSubSet1ReverbLevelOn,          // sub.set1.reverb_level.on
  kSubSet2ReverbLevelOn,          // sub.set2.reverb_level.on
  kSubSet1EchoLevel,              // sub.set1.echo_level
  kSubSet2EchoLevel,              // sub.set2.echo_level
  kSubSet1EchoLevelOn,            // sub.set1.echo_level.on
  kSubSet2EchoLevelOn,            // sub.set2.echo_level.on
  kImage90,                       // image[90]
  kImage91,                       // image[91]
  kSubCompThreshold,              // sub.comp_threshold
  kSubCompRatio,                  // sub.comp_ratio
  kSubCompAttack,                 // sub.comp_attack
  kSubCompRelease,                // sub.comp_release
  kSubSet1HpfSlope,               // sub.set1.hpf_slope
  kSubSet2HpfSlope,               // sub.set2.hpf_slope
  kSubSet1LpfSlope,               // sub.set1.lpf_slope
  kSubSet2LpfSlope,               // sub.set2.lpf_slope
  kSubSet1HpfHz,                  // sub.set1.hpf_hz
  kSubSet2HpfHz,                  // sub.set2.hpf_hz
  kSubSet1LpfHz,                  // sub.set1.lpf_hz
  kSubSet2LpfHz,                  // sub.set2.lpf_hz
  kSubDelayMs,                    // sub.delay_ms
  kSwitchSubMute,                 // switch.sub.mute
  kSwitchSubCompOn,               // switch.sub.comp_on
  kSwitchSubSet1EqOn,             // switch.sub.set1.eq_on
  kSwitchSubSet2EqOn,             // switch.sub.set2.eq_on
  kReverbLevel,                   // reverb.level
  kReverbLevelOn,                 // reverb.level.on
  kReverbType,                    // reverb.type
  kReverbDirect,                  // reverb.direct
  kReverbDirectOn,                // reverb.direct.on
  kReverbEchoRatio,               // reverb.echo_ratio
  kReverbLiveliness,              // reverb.liveliness
  kImage113,                      // image[113]
  kReverbHpfHz,                   // reverb.hpf_hz
  kReverbLpfHz,                   // reverb.lpf_hz
  kReverbDecayMs,                 // reverb.decay_ms
  kReverbPredelayMs,              // reverb.predelay_ms
  kSwitchReverbEqOn,              // switch.reverb.eq_on
  kEchoType,                      // echo.type
  kEchoLevel,                     // echo.level
  kEchoLevelOn,                   // echo.level.on
  kEchoRepeat,                    // echo.repeat
  kEchoRightLevel,                // echo.right_level
  kEchoRightLevelOn,              // echo.right_level.on
  kEchoRightRepeat,               // echo.right_repeat
  kEchoDirect,                    // echo.direct
  kEchoDirectOn,                  // echo.direct.on
  kImage120,                      // image[120]
  kEchoRightDelayPercent,         // echo.right_delay_percent
  kEchoRightPredelayPercent,      // echo.right_predelay_percent
  kEchoHpfHz,                     // echo.hpf_hz
  kEchoLpfHz,                     // echo.lpf_hz
  kEchoDelayMs,                   // echo.delay_ms
  kEchoLeftPredelayMs,            // echo.left_predelay_ms
  kEchoRightDelayMs,              // echo.right_delay_ms
  kEchoRightPredelayMs,           // echo.right_predelay_ms
  kSwitchEchoEqOn,                // switch.echo.eq_on
  kMicHpfHz,                      // mic.hpf_hz
  kMicLpfHz,                      // mic.lpf_hz
  kMusicHpfHz,                    // music.hpf_hz
  kMusicLpfHz,                    // music.lpf_hz
  kMicToneBass,                   // mic.tone.bass
  kMicToneMid,                    // mic.tone.mid
  kMicToneMidHz,                  // mic.tone.mid_hz
  kMicToneTreble,                 // mic.tone.treble
  kMusicToneBass,                 // music.tone.bass
  kMusicToneMid,                  // music.tone.mid
  kMusicToneMidHz,                // music.tone.mid_hz
  kMusicToneTreble,               // music.tone.treble
  kSwitchMicCompOn,               // switch.mic.comp_on
  kSwitchMicMic1EqOn,             // switch.mic.mic1_eq_on
  kSwitchMicMic2EqOn,             // switch.mic.mic2_eq_on
  kSwitchMusicEqOn,               // switch.music.eq_on
  kAppMode,                       // app_mode
  kDanceMicThreshold,             // dance.mic_threshold
  kDanceMicTime,                  // dance.mic_time
  kImage129,                      // image[129]
  kImage130,                      // image[130]
  kRecordMixerOutputVolume,       // record_mixer.output_volume
  kRecordMixerOutputVolumeOn,     // record_mixer.output_volume.on
  kRecordMixerMusicLevel,         // record_mixer.music_level
  kRecordMixerMusicLevelOn,       // record_mixer.music_level.on
  kRecordMixerMicDirectLevel,     // record_mixer.mic_direct_level
  kRecordMixerMicDirectLevelOn,   // record_mixer.mic_direct_level.on
  kRecordMixerEffectLevel,        // record_mixer.effect_level
  kRecordMixerEffectLevelOn,      // record_mixer.effect_level.on
  kOutputDisplay,                 // output_display
  kMasterLevel,                   // master_level
  kAdjustManner,                  // adjust_manner
  kPowerMode,                     // power_mode
  kImage123,                      // image[123]
  kImage124,                      // image[124]
  kImage128,                      // image[128]
  kImage136,                      // image[136]
  kImage137,                      // image[137]
  kImage138,                      // image[138]
  kSpareByte,                     // spare_byte
  kSpareWord,                     // spare_word
  kPresetName,                    // preset_name
  kSwitchWord,                    // switch_word
  kSwitchBit7,                    // switch.bit7
  kSwitchBit9,                    // switch.bit9
  kSwitchBit26,                   // switch.bit26
  kSwitchBit27,                   // switch.bit27
  kSwitchBit28,                   // switch.bit28
  kSwitchBit29,                   // switch.bit29
  kSwitchBit30,                   // switch.bit30
  kSwitchBit31,                   // switch.bit31
  kAltSwitchWord,                 // alt_switch_word
  kBoostSwitches,                 // boost_switches
  kBoostSwitchMic,                // boost_switch.mic
  kBoostSwitchMusic,              // boost_switch.music
  kBoostSwitchReverb,             // boost_switch.reverb
  kBoostSwitchEcho,               // boost_switch.echo
  kBoostSwitchBit4,               // boost_switch.bit4
  kBoostSwitchBit5,               // boost_switch.bit5
  kBoostSwitchBit6,               // boost_switch.bit6
  kBoostSwitchBit7,               // boost_switch.bit7
  kNamedCount
};
}  // namespace row
using RowId = row::Id;

inline constexpr std::optional<Label> kNoLabel = std::nullopt;

struct CatalogueRow {
  RowId id{};
  std::string_view name;
  Place place;
  int min = 0;
  int max = 0;
  int def = 0;  // the processor's default: what a fresh panel shows (ApplyDefaults)
  Unit unit = Unit::kNone;
  ValueKind kind = ValueKind::kNumber;
  ReadoutFormat readout;  // the page readout beside the value's slider
  Carrier carrier;        // code kNone: no block carries it (it travels with preset uploads)
  std::optional<Label> label;
  PerSet perSet;
  std::span<const std::string_view> choices;  // kChoice: the names, index = value

  bool Carried() const { return carrier.code != CommandCode::kNone; }
};

std::span<const CatalogueRow> AllRows();
const CatalogueRow& RowOf(RowId id);
// The row with this name (as show prints it), or null.
const CatalogueRow* FindRow(std::string_view name);
// The row that lives at `place` (a byte, word, switch bit...), or null. A level byte
// answers with its kLevel row.
const CatalogueRow* RowAt(Place place);

RowId InSet(RowId id, int set);
// The code-3 / code-4 set id with which the pages post a band or a reset of `set` (the
// output sets' ids address the first set in mode Sing and the second otherwise).
int EqSetIdOf(EqSet set);
RowId BandRow(EqSet set, int band);  // band < kEqSets[set].memoryBands
RowId BoostBandRow(int channel, int band);
RowId AltSwitchBitRow(int bit);

// Scalar rows (every kind but kBand, kText): the stored value, and storing one. A level
// keeps its on bit and an on bit its level.
int ReadValue(const ParamImage& image, const CatalogueRow& r);
void WriteValue(ParamImage& image, const CatalogueRow& r, int value);
// kBand rows.
const EqBand& BandOf(const ParamImage& image, const CatalogueRow& r);
EqBand& BandOf(ParamImage& image, const CatalogueRow& r);

// Whether a block request can carry the row's value into its place now.
enum class Carry { kOk, kNotCarried, kNeedsSing, kNeedsOtherThanSing };
Carry CanCarry(const ParamImage& image, const CatalogueRow& r);

// The request that sends the row's value as the image holds it (kValue rows: the image's
// value is the argument). Meaningful when CanCarry says kOk.
BlockRequest RequestFor(const ParamImage& image, const CatalogueRow& r);

// The pass filter behind a set's filter band (the bands a page keeps beyond those that
// travel with code 3): its frequency row and, where it has one, its slope row.
struct PassFilterLink {
  RowId frequency{};
  std::optional<RowId> slope;
};
std::optional<PassFilterLink> PassFilterOf(const CatalogueRow& bandRow);

}  // namespace tavelo
