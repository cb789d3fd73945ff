#pragma once
// tavelo-hub lock-key [ROOM]: keeps the four-digit key the service locks and unlocks rooms
// with (day-parts that lock at closing, a locked room answered at reconnect).
#include "HubCommandLine.h"
#include "hub/Store.h"

namespace tavelo::hub {

int LockKeyCommand(const HubCommandLine& line, Store& store);

}  // namespace tavelo::hub
