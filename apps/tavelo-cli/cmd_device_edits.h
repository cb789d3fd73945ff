#pragma once
// Sends checked named edits to a connected processor, one block request each, waiting for
// every answer, and prints each edit as the processor now holds it. Shared by `set` and the
// commands that produce edits (`eq-import`).
#include <string>
#include <vector>

#include "cmd_device_session.h"
#include "core/presets/NamedEdits.h"

namespace tavelo::cli {

// Plans the edits against the processor's mode, sends them and disconnects. Returns the exit
// code; on a refusal nothing is sent.
int SendNamedEdits(DeviceSession& session, const std::vector<NamedEdit>& edits,
                   const std::string& command);

}  // namespace tavelo::cli
