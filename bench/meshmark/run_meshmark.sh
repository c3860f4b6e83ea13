#!/usr/bin/env bash
# Runs meshmark on the current display and prints one Markdown table: for each count, the seven
# ways of drawing, every one in its own process, one after the other so that they share the
# machine's load alike; then the ratios against the targets.
# Usage: run_meshmark.sh BUILD_DIR [COUNT...]   (counts default to 1000 5000 10000)
# WARM_UP and FRAMES in the environment override the 30 warm-up and 300 measured frames.
set -euo pipefail

if [[ $# -lt 1 ]]; then
    echo "usage: $0 BUILD_DIR [COUNT...]" >&2
    exit 2
fi
program="$1/bench/meshmark"
shift
counts=("$@")
[[ ${#counts[@]} -gt 0 ]] || counts=(1000 5000 10000)
# shellcheck source=bench/frame_table.sh
source "$(dirname "$0")/../frame_table.sh"
rows=""
for count in "${counts[@]}"; do
    for mode in per-object floor instanced static builtin-instanced builtin-per-object builtin-static; do
        rows+="$("$program" "$count" --mode "$mode" "${frames[@]}" 2>>"$messages")"$'\n'
    done
done
printf '%s' "$rows"
echo
echo "load after: $(uptime)"
echo
printf '%s' "$rows" | awk -F '|' '
    { program = $2; count = $3 + 0; median = $4 + 0; seen[count] = 1 }
    program ~ /built-in/ && program ~ /instanced/ { builtInInstanced[count] = median; next }
    program ~ /built-in/ && program ~ /static/ { builtInStatic[count] = median; next }
    program ~ /built-in/ { next }
    program ~ /one draw per object/ { perObject[count] = median }
    program ~ /plain GL/ { floor[count] = median }
    program ~ /instanced/ { instanced[count] = median }
    program ~ /static/ { staticMesh[count] = median }
    END {
        for (c in seen) {
            if (floor[c] > 0) printf "N = %d: per object / plain GL loop, median frame %.2f (target at most 1.2 at 1000 and 5000)\n", c, perObject[c] / floor[c]
            if (staticMesh[c] > 0) printf "N = %d: instanced / one static mesh, median frame %.2f (target at most 1.2 at 10000)\n", c, instanced[c] / staticMesh[c]
            if (builtInStatic[c] > 0) printf "N = %d: built-in program instanced / its one static mesh, median frame %.2f (target at most 1.2 at 10000)\n", c, builtInInstanced[c] / builtInStatic[c]
        }
    }'
