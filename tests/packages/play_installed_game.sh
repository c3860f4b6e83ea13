#!/usr/bin/env bash
# On the current display, starts the game with the given command from the given folder, waits for
# the title, presses Space and checks that play shows (the grid's green and the car's red), then
# quits with Escape. Needs xdotool and ImageMagick.
# Usage: play_installed_game.sh <command> <working folder>
set -euo pipefail
command=$1
cd "$2"
$command 2>stderr.txt &
game=$!
trap 'kill "$game" 2>/dev/null || true' EXIT
window=""
for _ in $(seq 1 300); do
    window=$(xdotool search --name '^Quorvane$' 2>/dev/null | head -1 || true)
    [[ -n "$window" ]] && break
    sleep 0.1
done
[[ -n "$window" ]] || { echo "no game window; stderr: $(cat stderr.txt)" >&2; exit 1; }
xdotool windowfocus --sync "$window" || true

# Counts the pixels of play's colours in the window.
count_play_pixels() {
    import -window "$window" shot.png
    convert shot.png -depth 8 txt:- | awk -F'[(),]' 'NR > 1 {
        red = $2; green = $3; blue = $4
        if (red > 120 && green < 70 && blue < 70) cars++
        if (green > 25 && red < green / 2 && blue < green / 2) grid++
    } END { print cars + 0, grid + 0 }'
}
sleep 8 # the logo and the splash
for _ in $(seq 1 40); do
    xdotool keydown space; sleep 0.3; xdotool keyup space
    sleep 1
    read -r cars grid < <(count_play_pixels)
    if [[ $cars -gt 200 && $grid -gt 500 ]]; then
        xdotool keydown Escape; sleep 0.3; xdotool keyup Escape
        wait "$game"
        exit 0
    fi
done
echo "play never showed (car pixels $cars, grid pixels $grid); stderr: $(cat stderr.txt)" >&2
exit 1
