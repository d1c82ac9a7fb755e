#include "playback/onClockTick.h"

#include "display/clockText.h"
#include "engine/engine.h"
#include "import/integerPart.h"
#include "playback/playheadPlacement.h"

namespace veltrona {

void onClockTick(AppState& state, PlaybackControls& controls) {
    const std::int32_t position =
        bytePosition(engine::channelGetPosition(state.streamHandle, engine::kPosByte));
    // Widened with its sign, as the tracking reads the position as signed.
    const auto widened = static_cast<std::uint64_t>(static_cast<std::int64_t>(position));
    const double seconds = engine::channelBytes2Seconds(state.streamHandle, widened);
    controls.clock.setText(QString::fromStdString(clockText(truncToInt32(seconds))));
}

}  // namespace veltrona
