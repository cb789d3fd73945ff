#pragma once
// The caption of the panel's message boxes, by the kind of message the engine reports.
#include <string>

#include "core/engine/EngineObserver.h"

namespace tavelo {

std::string MessageCaption(CaptionKind kind, Lang lang);

}  // namespace tavelo
