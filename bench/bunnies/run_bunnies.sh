#!/usr/bin/env bash
# Runs the bunnies benchmark on the current display and prints one Markdown table: for each
# count, Marrowgate and then each SFML program, every one in its own process, one after the
# other so that they share the machine's load alike.
# Usage: run_bunnies.sh BUILD_DIR [COUNT...]   (counts default to 1000 10000 50000)
# WARM_UP and FRAMES in the environment override the 30 warm-up and 300 measured frames.
set -euo pipefail

if [[ $# -lt 1 ]]; then
    echo "usage: $0 BUILD_DIR [COUNT...]" >&2
    exit 2
fi
bench="$1/bench"
shift
counts=("$@")
[[ ${#counts[@]} -gt 0 ]] || counts=(1000 10000 50000)
if [[ -z "${DISPLAY:-}" ]]; then
    echo "$0: needs a display; run it under xvfb-run -a -s \"-screen 0 1920x1080x24\"" >&2
    exit 2
fi
frames=(--warm-up "${WARM_UP:-30}" --frames "${FRAMES:-300}")
# No sound card here; the null device keeps the audio manager from reporting a missing one.
export ALSOFT_DRIVERS="${ALSOFT_DRIVERS:-null}"

sfml_variants=("" "--vertex-array" "--default-filtering" "--vertex-array --default-filtering")
if [[ ! -x "$bench/bunnies_sfml" ]]; then
    echo "$0: $bench/bunnies_sfml was not built (SFML not found); Marrowgate only" >&2
    sfml_variants=()
fi

echo "load before: $(uptime)"
echo
echo "| program | N | frame median ms | frame p90 ms | main thread CPU median ms | process CPU median ms |"
echo "|---|---|---|---|---|---|"
for count in "${counts[@]}"; do
    "$bench/bunnies_marrowgate" "$count" "${frames[@]}" 2>/dev/null
    for variant in "${sfml_variants[@]}"; do
        # shellcheck disable=SC2086 # a variant is zero, one or two flags
        "$bench/bunnies_sfml" "$count" "${frames[@]}" $variant 2>/dev/null
    done
done
echo
echo "load after: $(uptime)"
