#!/usr/bin/env bash
# Runs the game under valgrind's memcheck for a short scripted session on a private Xvfb: the
# logo, the splash and title skipped with Space, some driving, then Escape. Fails when memcheck
# finds an invalid read, write or free with a stack frame in the project's own code (source/),
# or when the game does not reach play and end cleanly; errors wholly inside the system's
# libraries (Mesa, LLVM, X11, OpenAL) stay in the log but do not fail the run.
#
# Usage: scripts/valgrind-game.sh path/to/quorvane [seconds-of-play]
# Takes several minutes: under memcheck the software rasteriser needs seconds for a frame.
set -uo pipefail
game=$(realpath "$1")
play_seconds=${2:-20}
source_dir=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d /tmp/quorvane-memcheck-XXXXXX)
trap 'rm -rf "$work"' EXIT
cp -r "$source_dir/data" "$work/data"
log="$work/memcheck-all.log"

Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 300); do [[ -s "$work/display" ]] && break; sleep 0.2; done
export DISPLAY=":$(cat "$work/display")"

# One llvmpipe thread keeps memcheck (which runs one thread at a time) from switching all day;
# without definedness tracking memcheck runs about twice as fast and still sees every invalid
# access. A forked child writes a log of its own (%p).
(cd "$work" && LP_NUM_THREADS=1 ALSOFT_DRIVERS=null timeout 1500 valgrind --tool=memcheck \
    --undef-value-errors=no --error-limit=no --num-callers=30 --leak-check=no \
    --log-file="$work/memcheck.%p.log" "$game" >"$work/game.log" 2>&1) &
runner=$!

# A frame takes seconds under memcheck, and the game sees a key only if it is down at the
# start of a frame and up at a later one: hold each key for a while.
hold() { xdotool windowfocus "$window" keydown "$1" 2>/dev/null; sleep "$2"; xdotool windowfocus "$window" keyup "$1" 2>/dev/null; }
# Play is on screen when the ground grid's dark green covers enough pixels.
in_play() {
    import -window root -depth 8 rgb:- 2>/dev/null | python3 -c '
import sys
data = sys.stdin.buffer.read()
count = sum(1 for i in range(0, len(data) - 2, 3) if data[i] < 16 and data[i + 2] < 16 and 32 <= data[i + 1] <= 96)
sys.exit(0 if count >= 2000 else 1)'
}

window=""
for _ in $(seq 600); do
    window=$(xdotool search --name '^Quorvane$' 2>/dev/null | head -n 1)
    [[ -n "$window" ]] && break
    kill -0 $runner 2>/dev/null || break
    sleep 1
done
played=no
if [[ -n "$window" ]]; then
    # Logo, splash (Space let go skips it) and title (Space starts): Space until play shows.
    for _ in $(seq 40); do
        kill -0 $runner 2>/dev/null || break
        if in_play; then played=yes; break; fi
        hold space 8; sleep 8
    done
    hold Up "$play_seconds"
    hold Left 8
    for _ in $(seq 20); do
        kill -0 $runner 2>/dev/null || break
        hold Escape 8; sleep 8
    done
fi
wait $runner
status=$?

cat "$work"/memcheck.*.log > "$log"
echo "memcheck log: $log (game exit status $status, play reached: $played)"
grep -E "ERROR SUMMARY" "$log"
# One memcheck error report is a block of lines starting with a kind and followed by its stack.
project_errors=$(awk -v src="$source_dir/source/" '
    /^==[0-9]+== [A-Z]/ { if (block != "" && hit && serious) { print block; count++ } block = $0 "\n"; hit = 0;
                          serious = ($0 ~ /Invalid (read|write|free)|Mismatched free|overlap/); next }
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
if [[ $status -ne 0 || $played != yes ]]; then
    echo "the game did not reach play and end cleanly under memcheck"; cat "$work/game.log"
    exit 1
fi
echo "no invalid reads or writes in the project's code (full log copied to build/memcheck-last.log)"
