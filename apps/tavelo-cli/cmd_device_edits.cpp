#include "cmd_device_edits.h"

#include <iostream>

#include "Command.h"

namespace tavelo::cli {

int SendNamedEdits(DeviceSession& session, const std::vector<NamedEdit>& edits,
                   const std::string& command) {
  Engine& engine = session.engine();
  std::string error;
  // The output sets a request addresses follow the processor's mode, known only now.
  const auto plan = PlanEdits(engine.Image(), edits, error);
  if (!plan) {
    std::cerr << "tavelo-cli " << command << ": " << error << "; nothing was sent\n";
    session.Disconnect();
    return kExitFailure;
  }
  std::string report;
  for (const PlannedBlock& block : *plan) {
    for (const NamedEdit& edit : block.edits) ApplyNamedEdit(engine.Image(), edit);
    const BlockRequest request = RequestForBlock(engine.Image(), block);
    engine.Post(request);
    // Answered before the next block: some replies (the echo type's) rewrite the image.
    const auto outcome = session.RunUntil([&] { return session.Quiet(); });
    if (outcome != DeviceSession::Outcome::kDone) {
      std::cout << report << std::flush;
      return session.Fail("not every change was answered", outcome);
    }
    // Described now: the engine has handled the request and limited the volumes.
    for (const NamedEdit& edit : block.edits) {
      report += DescribeNamedEdit(edit, engine.Image()) + "\n";
    }
  }
  std::cout << report << std::flush;
  session.Disconnect();
  return kExitOk;
}

}  // namespace tavelo::cli
