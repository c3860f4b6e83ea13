#!/usr/bin/env bash
# Plays through the game under a virtual display and saves one screenshot of each scene, as
# kept in docs/screenshots/. Needs xvfb-run, xdotool and ImageMagick's import.
# Usage: tools/take_screenshots.sh <quorvane executable> <output folder>
# Extra environment (for example MESA_GL_VERSION_OVERRIDE=2.1) is passed to the game.
set -euo pipefail
if [[ $# -ne 2 ]]; then
    echo "usage: $0 <quorvane executable> <output folder>" >&2
    exit 2
fi
program=$(realpath "$1")
output=$(realpath -m "$2")
mkdir -p "$output"
cd "$(dirname "$0")/.."

if [[ -z "${QUORVANE_SCREENSHOT_DISPLAY:-}" ]]; then
    exec env QUORVANE_SCREENSHOT_DISPLAY=1 xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$program" "$output"
fi

# Keys are held for a while: a key pressed and lifted within one frame is not seen by the game.
press() { xdotool keydown "$1"; sleep 0.3; xdotool keyup "$1"; }

"$program" 2>"$output/stderr.txt" &
game=$!
window=""
for _ in $(seq 1 200); do
    window=$(xdotool search --name '^Quorvane$' 2>/dev/null | head -1 || true)
    [[ -n "$window" ]] && break
    sleep 0.05
done
[[ -n "$window" ]] || { echo "no game window" >&2; kill "$game"; exit 1; }
xdotool windowfocus --sync "$window"
sleep 0.8; import -window "$window" "$output/framework_logo.png"
sleep 3.0; import -window "$window" "$output/splash.png"
sleep 4.0; import -window "$window" "$output/title.png"
press space
sleep 1.5; import -window "$window" "$output/gameplay.png"
xdotool keydown Up; sleep 1.2; xdotool keydown Left; sleep 0.5; xdotool keyup Left; sleep 0.4; xdotool keyup Up
sleep 0.3; import -window "$window" "$output/driving.png"
press Escape
status=0
wait "$game" || status=$?
echo "game exited with $status"
exit "$status"
