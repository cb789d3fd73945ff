#include "ui/pages/OutputPageTable.h"

namespace tavelo::output {

using enum row::Id;

// clang-format off
const OutputPageSpec kMain = {
    "MainOutputPage", nav::PageKind::kMainOutput, kEqMainFirst, 7,
    kMainSet1LeftVolume, kMainSet1RightVolume,
    kMainSet1MicDirectLevel, kMainSet1MusicLevel, kMainSet1ReverbLevel, kMainSet1EchoLevel,
    kMainCompThreshold, kMainCompRatio, kMainCompAttack, kMainCompRelease, kSwitchMainCompOn,
    kMainSet1LpfHz, kMainSet1LpfSlope, kMainSet1HpfHz, kMainSet1HpfSlope,
    kMainLeftDelayMs, kMainRightDelayMs, kSwitchMainLeftMute, kSwitchMainRightMute,
    kSwitchMainSet1EqOn, false};

const OutputPageSpec kSurround = {
    "SurroundPage", nav::PageKind::kSurround, kEqSurroundFirst, 5,
    kSurroundSet1LeftVolume, kSurroundSet1RightVolume,
    kSurroundSet1MicDirectLevel, kSurroundSet1MusicLevel, kSurroundSet1ReverbLevel, kSurroundSet1EchoLevel,
    kSurroundCompThreshold, kSurroundCompRatio, kSurroundCompAttack, kSurroundCompRelease, kSwitchSurroundCompOn,
    kSurroundSet1LpfHz, kSurroundSet1LpfSlope, kSurroundSet1HpfHz, kSurroundSet1HpfSlope,
    kSurroundLeftDelayMs, kSurroundRightDelayMs, kSwitchSurroundLeftMute, kSwitchSurroundRightMute,
    kSwitchSurroundSet1EqOn, true};

const OutputPageSpec kCentre = {
    "CentrePage", nav::PageKind::kCentre, kEqCentreFirst, 5,
    kCentreSet1Volume, kNoRow,
    kCentreSet1MicDirectLevel, kCentreSet1MusicLevel, kCentreSet1ReverbLevel, kCentreSet1EchoLevel,
    kCentreCompThreshold, kCentreCompRatio, kCentreCompAttack, kCentreCompRelease, kSwitchCentreCompOn,
    kCentreSet1LpfHz, kCentreSet1LpfSlope, kCentreSet1HpfHz, kCentreSet1HpfSlope,
    kCentreDelayMs, kNoRow, kSwitchCentreMute, kNoRow,
    kSwitchCentreSet1EqOn, false};

const OutputPageSpec kSub = {
    "SubwooferPage", nav::PageKind::kSubwoofer, kEqSubFirst, 5,
    kSubSet1Volume, kNoRow,
    kSubSet1MicDirectLevel, kSubSet1MusicLevel, kSubSet1ReverbLevel, kSubSet1EchoLevel,
    kSubCompThreshold, kSubCompRatio, kSubCompAttack, kSubCompRelease, kSwitchSubCompOn,
    kSubSet1LpfHz, kSubSet1LpfSlope, kSubSet1HpfHz, kSubSet1HpfSlope,
    kSubDelayMs, kNoRow, kSwitchSubMute, kNoRow,
    kSwitchSubSet1EqOn, false};
// clang-format on

}  // namespace tavelo::output
