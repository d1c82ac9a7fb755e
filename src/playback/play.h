#pragma once

#include "app/AppState.h"
#include "engine/Result.h"
#include "playback/PlaybackControls.h"

namespace veltrona {

// Play (Button2): releases the stored stream, puts the playhead line and
// marker at the start, starts Timer2 (400 ms) and Timer1 (1 ms), reads the
// whole file at state.filePath again into the play buffer and plays it from
// memory from its start at the stored volume. The stream is made for WMA
// data when the path ends in "wma", ASCII case ignored.
//
// Fails, with the cause for the user, when the file cannot be read, is empty,
// or the engine cannot make or start a stream from it. Then no stream plays
// and tracking is at rest: both timers stopped, playhead x 0, the line at 24,
// the marker at 19 and the clock at "00:00:00". The window shows the error.
// Window thread only.
Result<void> play(AppState& state, PlaybackControls& controls);

// The notice for a Play into silent output, shown once a run by the window.
inline constexpr const char* kSilentOutputNotice = "没有找到音频输出设备，文件将静音播放。";
// The notice for a device lost while playing; the sound goes on silently.
inline constexpr const char* kDeviceLostNotice = "音频输出设备已断开，文件将静音继续播放。";

// True when the engine plays into silent output and the user has not been
// told yet (`toldBefore` false); the window asks after a successful Play.
bool silentOutputNoticeDue(bool toldBefore);

}  // namespace veltrona
