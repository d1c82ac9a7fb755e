#include "playback/onPlayheadTick.h"

#include "engine/engine.h"
#include "playback/moveControlLeft.h"
#include "playback/playheadPlacement.h"
#include "playback/restPlayback.h"

namespace veltrona {

void onPlayheadTick(AppState& state, PlaybackControls& controls) {
    const std::int32_t position =
        bytePosition(engine::channelGetPosition(state.streamHandle, engine::kPosByte));
    const std::int32_t ms = playheadMs(position, state.byteRate);
    const std::int32_t x = playheadX(ms, state.pixelsPerMs);
    state.playheadX = x;
    moveControlLeft(controls.playheadLine, playheadLeft(x, kPlayheadLineRestLeft));
    moveControlLeft(controls.marker, playheadLeft(x, kMarkerRestLeft));

    if (x != kPlayheadEndColumn) return;
    moveControlLeft(controls.playheadLine, kPlayheadLineRestLeft);
    moveControlLeft(controls.marker, kMarkerRestLeft);
    controls.clock.setText(QString::fromLatin1(kRestClockText));
    controls.drawPanel2.clear(kPlayheadEndColumn, 0, 1, controls.drawPanel2.height());
    controls.timer1.setPeriod(0);
    controls.timer2.setPeriod(0);
}

}  // namespace veltrona
