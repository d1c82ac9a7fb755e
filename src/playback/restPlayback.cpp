#include "playback/restPlayback.h"

#include "playback/moveControlLeft.h"
#include "playback/playheadPlacement.h"

namespace veltrona {

void restPlayback(AppState& state, PlaybackControls& controls) {
    controls.timer1.setPeriod(0);
    controls.timer2.setPeriod(0);
    state.playheadX = 0;
    moveControlLeft(controls.playheadLine, kPlayheadLineRestLeft);
    controls.clock.setText(QString::fromLatin1(kRestClockText));
    moveControlLeft(controls.marker, kMarkerRestLeft);
}

}  // namespace veltrona
