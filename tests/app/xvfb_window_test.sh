#!/usr/bin/env bash
# Starts the real program in a real X server and checks a screenshot of its
# window: the title, the client size, and the colours at known points.
#   xvfb_window_test.sh PROGRAM OUTDIR [FILE]
# With FILE, the test also loads FILE through the real open-file dialog and
# checks the waveform area and the ruler.
set -euo pipefail

program=$1
outdir=$2
file=${3:-}
mkdir -p "$outdir"

display=""
for n in $(seq 91 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || { echo "no free X display number"; exit 1; }

Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
app=""
cleanup() {
  if [ -n "$app" ]; then kill -KILL "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  kill "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

QT_QPA_PLATFORM=xcb SDL_AUDIODRIVER=dummy "$program" &
app=$!

# Waits up to ten seconds for a window with the given name.
window_id() {
  for _ in $(seq 100); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n 1 || true)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

fail=0
check() {  # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok   $1: $3"; else echo "FAIL $1: expected $2, got $3"; fail=1; fi
}

win=$(window_id Veltrona) || { echo "FAIL no window named Veltrona"; exit 1; }
info=$(xwininfo -id "$win")
width=$(awk '/^  Width:/ {print $2}' <<<"$info")
height=$(awk '/^  Height:/ {print $2}' <<<"$info")
left=$(awk '/Absolute upper-left X:/ {print $4}' <<<"$info")
top=$(awk '/Absolute upper-left Y:/ {print $4}' <<<"$info")
check "title" "Veltrona" "$(xdotool getwindowname "$win")"
check "client size" "976x396" "${width}x${height}"

# The colour at client point (x, y) of a screenshot.
pixel() {
  convert "$1" -format "%[fx:int(255*p{$(( left + $2 )),$(( top + $3 ))}.r)],%[fx:int(255*p{$(( left + $2 )),$(( top + $3 ))}.g)],%[fx:int(255*p{$(( left + $2 )),$(( top + $3 ))}.b)]" info:
}

sleep 1
shot=$outdir/window.png
import -window root "$shot"
check "waveform panel background" "0,0,136" "$(pixel "$shot" 125 157)"
check "ruler background" "0,128,128" "$(pixel "$shot" 425 325)"
check "playhead line" "255,255,255" "$(pixel "$shot" 24 150)"
check "clock background" "0,0,128" "$(pixel "$shot" 557 13)"
check "waveform frame, right edge" "0,0,0" "$(pixel "$shot" 925 150)"
convert "$shot" -crop "${width}x${height}+${left}+${top}" +repage "$outdir/window-client.png"

if [ -n "$file" ]; then
  # Click the load button, type the path into the dialog and confirm.
  xdotool mousemove --sync $(( left + 212 )) $(( top + 32 )) click 1
  dialog=""
  for _ in $(seq 100); do
    dialog=$(xdotool search --onlyvisible --name "." 2>/dev/null | grep -vx "$win" | head -n 1 || true)
    [ -n "$dialog" ] && break
    sleep 0.1
  done
  [ -n "$dialog" ] || { echo "FAIL no open-file dialog"; exit 1; }
  sleep 1
  xdotool type --delay 20 "$file"
  xdotool key Return
  sleep 3
  shot=$outdir/loaded.png
  import -window root "$shot"
  convert "$shot" -crop "${width}x${height}+${left}+${top}" +repage "$outdir/loaded-client.png"
  # After a load the picture shows in DrawPanel2 at a vertical offset of 2:
  # rows 0 and 1 keep the panel's background, the grid and traces are below.
  check "picture offset row" "0,0,136" "$(pixel "$shot" 400 57)"
  # The stereo layouts' 4-pixel grid line (rows 126 to 129) lands around
  # row 2 + 128 * 252 / 256 = 128 of the fitted picture.
  check "thick grid line" "105,105,105" "$(pixel "$shot" $(( 25 + 400 )) $(( 57 + 128 )))"
  # The ruler's first tick at x = 0 is magenta.
  check "ruler tick at second 0" "255,0,255" "$(pixel "$shot" 25 315)"
fi

# The program ends on SIGTERM, as a session's logout sends it.
kill -TERM "$app"
ended=no
for _ in $(seq 100); do
  if ! kill -0 "$app" 2>/dev/null; then ended=yes; break; fi
  sleep 0.1
done
check "ends on SIGTERM" "yes" "$ended"
[ "$ended" = yes ] && app=""

exit $fail
