#include "app/exitCleanup.h"

namespace veltrona {

void exitCleanup(AppState& state) {
    state.filePath.clear();
    state.filePath.shrink_to_fit();
    state.playBuffer.clear();
    state.playBuffer.shrink_to_fit();
}

}  // namespace veltrona
