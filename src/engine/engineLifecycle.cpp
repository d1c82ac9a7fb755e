#include "engine/Engine.h"
#include "engine/engine.h"

namespace veltrona::engine {

bool engineInit(int device, std::uint32_t freq, std::uint32_t, void*, const void*) {
    Engine& engine = Engine::instance();
    if (engine.initialised()) return true;
    if (device < -1 || freq == 0 || freq > 384000) {
        engine.fail(EngineError::BadArgument);
        return false;
    }
    if (!engine.output().open(device, static_cast<int>(freq))) {
        engine.fail(EngineError::Device);
        return false;
    }
    engine.setInitialised(true);
    return true;
}

bool engineFree() {
    Engine& engine = Engine::instance();
    engine.releaseAll();
    engine.output().close();
    if (!engine.initialised()) {
        engine.fail(EngineError::NotInitialised);
        return false;
    }
    engine.setInitialised(false);
    return true;
}

bool engineUsesSilentOutput() {
    Output& output = Engine::instance().output();
    output.checkLost();
    return output.silent();
}

std::size_t engineStreamCount() {
    return Engine::instance().count();
}

EngineError engineLastError() {
    return Engine::instance().lastError();
}

}  // namespace veltrona::engine
