#!/usr/bin/env bash
# The game under a window manager, on an X display of its own (1920 x 1080, openbox): F11 and
# Alt+Enter switch full screen and back, full-screen play fills the screen with the scores in its
# corners, and a minimised game sleeps (its CPU time over 10 s is printed beside that of 10 s of
# play, and must be below a tenth of it) and plays on when restored.
# Usage: window_manager_check.sh <quorvane executable> [<folder for the full-screen screenshot>]
# Exits 77 (skipped) when a tool it needs is missing.
set -uo pipefail
program=$(realpath "$1")
keep=${2:-}
cd "$(dirname "$0")/../.."

for tool in Xvfb openbox xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "skipped: $tool is not installed"; exit 77; }
done

scratch=$(mktemp -d)
pids=()
finish() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$scratch"
}
trap finish EXIT
failures=0
fail() { echo "FAILED: $*"; failures=$((failures + 1)); }

# Xvfb writes the display number it chose once it accepts connections (which can take many
# seconds on a loaded machine); -noreset keeps it from dropping a client that connects just as
# the last other one leaves.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$scratch/display" >/dev/null 2>&1 &
pids+=($!)
for _ in $(seq 1 600); do [[ -s "$scratch/display" ]] && break; sleep 0.1; done
export DISPLAY=":$(head -1 "$scratch/display")"
openbox --sm-disable >/dev/null 2>&1 &
pids+=($!)
sleep 1

ALSOFT_DRIVERS=null "$program" 2>"$scratch/stderr.txt" &
game=$!
pids+=("$game")
window=""
for _ in $(seq 1 200); do
    window=$(xdotool search --name '^Quorvane$' 2>/dev/null | head -1)
    [[ -n "$window" ]] && break
    sleep 0.1
done
[[ -n "$window" ]] || { echo "no game window"; cat "$scratch/stderr.txt"; exit 1; }
xdotool windowactivate --sync "$window" >/dev/null 2>&1

# Pixels of a colour class in a rectangle (width height left top) of the whole screen.
count() {
    import -window root -crop "$1x$2+$3+$4" +repage "$scratch/region.png" 2>/dev/null
    convert "$scratch/region.png" -fx "$5" -format '%[fx:round(mean*w*h)]' info: 2>/dev/null
}
grid='r<0.07 && b<0.07 && g>0.12 && g<0.38'
red='r>0.47 && g<0.27 && b<0.27'
white='r>0.7 && g>0.7 && b>0.7'
geometry() { xdotool getwindowgeometry --shell "$window" | grep -E '^(WIDTH|HEIGHT)=' | tr '\n' ' '; }
# Held for a while: a key pressed and lifted within one frame is not seen by the game.
press() { xdotool keydown "$1"; sleep 0.3; xdotool keyup "$1"; }
cpu_ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }

# Space until the grid is on screen: it skips the splash and starts play from the title.
for _ in $(seq 1 30); do
    press space
    sleep 0.7
    (($(count 400 100 440 700 "$grid") > 50)) && break
done
(($(count 400 100 440 700 "$grid") > 50)) || fail "play never came on screen"
[[ "$(geometry)" == "WIDTH=1280 HEIGHT=720 " ]] || fail "windowed play is $(geometry)"

xdotool key F11
sleep 1.5
[[ "$(geometry)" == "WIDTH=1920 HEIGHT=1080 " ]] || fail "F11 gave $(geometry)"
car=$(count 160 160 880 440 "$red")
# Grid near both bottom corners: the view reaches the screen's edges.
ground_left=$(count 300 100 0 900 "$grid")
ground_right=$(count 300 100 1620 900 "$grid")
score=$(count 190 50 10 10 "$white")
best=$(count 190 50 1720 10 "$white")
echo "full screen: car $car, grid $ground_left and $ground_right, score text $score, best text $best pixels"
((car > 150 && ground_left > 50 && ground_right > 50 && score > 50 && best > 50)) || fail "full-screen play does not fill the screen"
[[ -n "$keep" ]] && mkdir -p "$keep" && import -window root "$keep/full_screen.png"
xdotool key F11
sleep 1.5
[[ "$(geometry)" == "WIDTH=1280 HEIGHT=720 " ]] || fail "F11 again gave $(geometry)"
xdotool key alt+Return
sleep 1.5
[[ "$(geometry)" == "WIDTH=1920 HEIGHT=1080 " ]] || fail "Alt+Enter gave $(geometry)"
xdotool key alt+Return
sleep 1.5
[[ "$(geometry)" == "WIDTH=1280 HEIGHT=720 " ]] || fail "Alt+Enter again gave $(geometry)"

start=$(cpu_ticks)
sleep 10
playing=$(($(cpu_ticks) - start))
xdotool windowminimize --sync "$window"
sleep 1
start=$(cpu_ticks)
sleep 10
minimised=$(($(cpu_ticks) - start))
echo "CPU time over 10 s: playing $playing ticks, minimised $minimised ticks ($(getconf CLK_TCK) ticks a second)"
((minimised * 10 < playing)) || fail "a minimised game is not idle"

xdotool windowactivate --sync "$window" >/dev/null 2>&1
sleep 1.5
(($(count 400 100 440 700 "$grid") > 50)) || fail "play did not come back after the restore"
press Escape
status=124
for _ in $(seq 1 50); do
    if ! kill -0 "$game" 2>/dev/null; then
        wait "$game"
        status=$?
        break
    fi
    sleep 0.1
done
((status == 0)) || fail "the game exited with $status"
grep -q "full screen" "$scratch/stderr.txt" && fail "a switch was refused: $(cat "$scratch/stderr.txt")"
echo "failures: $failures"
((failures == 0))
