#pragma once

#include <string>

#include "engine/engine.h"

namespace veltrona {

// The user-facing (Chinese) cause for an engine failure.
std::string engineErrorCause(engine::EngineError error);

}  // namespace veltrona
