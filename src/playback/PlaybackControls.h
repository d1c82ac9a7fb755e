#pragma once

// The window's controls that Play, Stop and the two tracking timers move.
// The window owns them; playback only holds references. Window thread only.

#include <QLabel>
#include <QWidget>

#include "display/DrawPanel.h"
#include "playback/Timer.h"

namespace veltrona {

struct PlaybackControls {
    QWidget& playheadLine;  // ShapeBox2, rests at window x 24
    QWidget& marker;        // Label4, rests at window x 19
    QLabel& clock;          // Label3
    Timer& timer1;          // playhead, 1 ms while playing
    Timer& timer2;          // clock, 400 ms while playing
    DrawPanel& drawPanel2;  // the end rule clears a strip of it
};

}  // namespace veltrona
