#!/usr/bin/env bash
# Runs a program on an X display of its own and answers its error box with Return, as a user
# would; exits with the program's own status (124 when it had to be stopped after 60 s).
# Usage: answer_error_box.sh <program> [arguments...]
set -uo pipefail
scratch=$(mktemp -d)
server=""
finish() {
    [[ -n "$server" ]] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$scratch"
}
trap finish EXIT
# Xvfb writes the display number it chose once it accepts connections; -noreset keeps it from
# dropping the program's connection when a probe below happens to leave as its last client.
Xvfb -displayfd 3 -screen 0 1280x720x24 -nolisten tcp -noreset 3>"$scratch/display" >/dev/null 2>&1 &
server=$!
for _ in $(seq 1 600); do [[ -s "$scratch/display" ]] && break; sleep 0.1; done
[[ -s "$scratch/display" ]] || { echo "Xvfb did not start" >&2; exit 125; }
export DISPLAY=":$(head -n 1 "$scratch/display")"

timeout -k 5 60 "$@" &
program=$!
while kill -0 "$program" 2>/dev/null; do
    # xdotool search cannot match the UTF-8 title SDL gives its boxes; xwininfo lists it.
    box=$(xwininfo -root -tree 2>/dev/null | awk '/"Error Condition Triggered":/ { print $1; exit }')
    if [[ -n "$box" ]]; then
        xdotool windowfocus "$box" key Return 2>/dev/null
    fi
    sleep 0.5
done
wait "$program"
