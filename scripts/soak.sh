#!/usr/bin/env bash
# The full soak: builds the sanitizer configuration (AddressSanitizer, UndefinedBehaviorSanitizer,
# LeakSanitizer) and plays the whole game for 100,000 fixed steps (over 16 minutes of game
# time) of scripted driving, turning, resets and chip collecting on a real window under Xvfb.
# CI runs the same test shortened (QUORVANE_SOAK_STEPS in tests/reliability/CMakeLists.txt).
#
# Usage: scripts/soak.sh [steps] [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
steps=${1:-100000}
folder=${2:-build/soak}

cmake -S . -B "$folder" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON -DQUORVANE_BUILD_BENCHMARKS=OFF
cmake --build "$folder" --target reliability_soak_tests

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
export QUORVANE_SOAK_STEPS=$steps ALSOFT_DRIVERS=null
run=("$folder/tests/reliability/reliability_soak_tests")
if [[ -z "${DISPLAY:-}" ]]; then run=(xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "${run[@]}"); fi
"${run[@]}"
