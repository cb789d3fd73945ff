#pragma once
// Waits for a condition while the event loop goes on (rooms tick, replies arrive, other
// clients are served), for the API's answers that must wait for a processor.
#include <functional>

namespace tavelo::hub {

// True when `done` turned true within `limitMs`.
bool WaitUntil(const std::function<bool()>& done, int limitMs);

}  // namespace tavelo::hub
