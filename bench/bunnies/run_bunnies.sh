#!/usr/bin/env bash
# Runs the bunnies benchmark on the current display and prints one Markdown table: for each
# count, Marrowgate (plain sprites, then animated sprites, then plain sprites through a logical
# view) and then each SFML program, every one in its own process, one after the other so that
# they share the machine's load alike.
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
# shellcheck source=bench/frame_table.sh
source "$(dirname "$0")/../frame_table.sh"
marrowgate_variants=("" "--animated" "--logical-view")
sfml_variants=("" "--vertex-array" "--default-filtering" "--vertex-array --default-filtering")
if [[ ! -x "$bench/bunnies_sfml" ]]; then
    echo "$0: $bench/bunnies_sfml was not built (SFML not found); Marrowgate only" >&2
    sfml_variants=()
fi

rows=""
for count in "${counts[@]}"; do
    for variant in "${marrowgate_variants[@]}"; do
        # shellcheck disable=SC2086 # a variant is zero or one flag
        rows+="$("$bench/bunnies_marrowgate" "$count" "${frames[@]}" $variant 2>>"$messages")"$'\n'
    done
    for variant in "${sfml_variants[@]}"; do
        # shellcheck disable=SC2086 # a variant is zero, one or two flags
        rows+="$("$bench/bunnies_sfml" "$count" "${frames[@]}" $variant 2>>"$messages")"$'\n'
    done
done
printf '%s' "$rows"
echo
echo "load after: $(uptime)"
echo
# Marrowgate's variants against its plain sprites, and Marrowgate against the faster SFML program
# with the same filtering, per count.
printf '%s' "$rows" | awk -F '|' '
    { program = $2; count = $3 + 0; median = $4 + 0; thread = $6 + 0 }
    program ~ /Marrowgate, one Sprite per bunny *$/ { marrowgate[count] = median; marrowgateThread[count] = thread; order[++n] = count }
    program ~ /AnimatedSprite/ { animated[count] = median }
    program ~ /logical view/ { throughView[count] = median }
    program ~ /mipmaps/ && (!(count in sfml) || median < sfml[count]) { sfml[count] = median }
    program ~ /VertexArray.*mipmaps/ { vertexArrayThread[count] = thread }
    END {
        for (i = 1; i <= n; ++i) {
            c = order[i]
            if (marrowgate[c] == 0) continue
            printf "N = %d: Marrowgate animated / plain sprites, median frame %.2f; through a logical view / plain %.2f (targets at most 1.2)\n", c, animated[c] / marrowgate[c], throughView[c] / marrowgate[c]
        }
        for (i = 1; i <= n; ++i) {
            c = order[i]
            if (!(c in sfml) || sfml[c] == 0 || vertexArrayThread[c] == 0) continue
            printf "N = %d: Marrowgate / faster SFML (mipmaps + smooth), median frame %.2f (target at most %s); ", c, marrowgate[c] / sfml[c], c <= 1000 ? "1.5" : "1.25"
            printf "main thread CPU / SFML vertex array %.2f%s\n", marrowgateThread[c] / vertexArrayThread[c], c == 10000 ? " (target at most 1.5)" : ""
        }
    }'
