# Sourced by the benchmark scripts once they have read their arguments: checks for a display,
# sets the frame counts ("${frames[@]}") and the environment every program runs in, collects the
# programs' messages in "$messages" (shown when one of them fails, kept out of the table
# otherwise) and prints the load average and the table's header.
if [[ -z "${DISPLAY:-}" ]]; then
    echo "$0: needs a display; run it under xvfb-run -a -s \"-screen 0 1920x1080x24\"" >&2
    exit 2
fi
frames=(--warm-up "${WARM_UP:-30}" --frames "${FRAMES:-300}")
# No sound card here; the null device keeps the audio manager from reporting a missing one.
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"
# The programs compared are not multisampled, and 4x multisampling multiplies the software
# rasteriser's fill cost, so Marrowgate's windows go without it too.
export MARROWGATE_MULTISAMPLING="${MARROWGATE_MULTISAMPLING:-0}"

messages=$(mktemp)
trap 'rm -f "$messages"' EXIT
trap 'echo "$0: a program failed; its messages:" >&2; cat "$messages" >&2' ERR

echo "load before: $(uptime)"
echo
echo "| program | N | frame median ms | frame p90 ms | main thread CPU median ms | process CPU median ms |"
echo "|---|---|---|---|---|---|"
