#pragma once

// The reason behind an engine failure, as a short phrase in the window's
// language (no closing punctuation), for the import's and Play's messages.

#include <string>

#include "engine/engine.h"

namespace veltrona {

std::string engineErrorCause(engine::EngineError error);

}  // namespace veltrona
