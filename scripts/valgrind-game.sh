#!/usr/bin/env bash
# Runs the game under valgrind's memcheck for a short scripted session on a private Xvfb: the
# logo, the splash and title skipped with Space, some driving, then Escape. Fails when memcheck
# finds an invalid read or write, an invalid free or a jump on uninitialised memory in the
# project's own code (a stack frame in source/); errors wholly inside the system's libraries
# (Mesa, LLVM, X11, OpenAL) are listed but do not fail the run.
#
# Usage: scripts/valgrind-game.sh path/to/quorvane [seconds-of-play]
# Takes a few minutes: under memcheck the software rasteriser draws a frame in about a second.
set -uo pipefail
game=$(realpath "$1")
play_seconds=${2:-20}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/quorvane-memcheck-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$source_dir/data" "$work/data"
log="$work/memcheck.log"

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do [[ -s "$work/display" ]] && break; sleep 0.2; done
export DISPLAY=":$(cat "$work/display")"

# Few llvmpipe threads keep memcheck (which serialises threads) from crawling.
(cd "$work" && LP_NUM_THREADS=1 ALSOFT_DRIVERS=null timeout 900 valgrind --tool=memcheck \
    --error-limit=no --num-callers=30 --track-origins=no --leak-check=no \
    --log-file="$log" "$game" >"$work/game.log" 2>&1) &
runner=$!

window=""
for _ in $(seq 600); do
    window=$(xdotool search --name '^Quorvane$' 2>/dev/null | head -n 1)
    [[ -n "$window" ]] && break
    kill -0 $runner 2>/dev/null || break
    sleep 0.5
done
if [[ -n "$window" ]]; then
    # Logo (2.5 s of game time), splash and title: Space until well into play.
    for _ in $(seq 30); do xdotool windowfocus "$window" key space 2>/dev/null; sleep 2; done
    xdotool windowfocus "$window" keydown Up 2>/dev/null
    sleep "$play_seconds"
    xdotool windowfocus "$window" keyup Up key Left 2>/dev/null
    for _ in $(seq 60); do
        kill -0 $runner 2>/dev/null || break
        xdotool windowfocus "$window" key Escape 2>/dev/null
        sleep 2
    done
fi
wait $runner
status=$?

echo "memcheck log: $log (game exit status $status)"
grep -E "ERROR SUMMARY" "$log"
# One memcheck error report is a block of lines starting with a kind and followed by its stack.
project_errors=$(awk -v src="$source_dir/source/" '
    /^==[0-9]+== [A-Z]/ { if (block != "" && hit && serious) { print block; count++ } block = $0 "\n"; hit = 0;
                          serious = ($0 ~ /Invalid (read|write|free)|Mismatched free|uninitialised|overlap/); next }
    /^==[0-9]+==    (at|by) / { block = block $0 "\n"; if (index($0, src) > 0 || $0 ~ /\(in .*quorvane\)/) hit = 1; next }
    /^==[0-9]+== *$/ { if (block != "" && hit && serious) { print block; count++ } block = ""; hit = 0; serious = 0 }
    END { if (block != "" && hit && serious) print block }' "$log")
mkdir -p "$source_dir/build"
cp "$log" "$source_dir/build/memcheck-last.log"
if [[ -n "$project_errors" ]]; then
    echo "memcheck found errors in the project's code:"
    echo "$project_errors"
    exit 1
fi
if [[ $status -ne 0 ]]; then
    echo "the game did not end cleanly under memcheck"; cat "$work/game.log"
    exit 1
fi
echo "no invalid reads or writes in the project's code (full log copied to build/memcheck-last.log)"
