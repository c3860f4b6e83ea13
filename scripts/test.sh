#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   1. a sanitizer build (AddressSanitizer + UndefinedBehaviorSanitizer) runs every test
#      that needs no window, and builds the API reference without a warning;
#   2. an optimised build runs the tests that need a window and OpenGL, under Xvfb when
#      there is no display, among them the kits installed into a scratch prefix with the
#      examples and the template built against them and run;
#   3. a clang build runs each fuzz target for a short, bounded time;
#   4. the web build of the game, the examples and the template runs in headless Chromium
#      (skipped, saying so, only where the web toolchain cannot be installed);
#   5. the Debian packages are built and checked with lintian; on a throwaway machine (CI=true)
#      or with --install-packages they are also installed, played and removed again;
# after checking that the sources follow the checked-in .clang-format.
# Ends with a pass/fail line per stage and exits non-zero when any stage failed.
# Usage: test.sh [--no-web] [--no-packages] [--install-packages]
#   --no-web, --no-packages  leave that stage out (the summary says so), for a quicker run
#   --install-packages       let the package stage install the packages into this machine
set -uo pipefail
cd "$(dirname "$0")/.."
run_web=1 run_packages=1 install_packages=""
for argument in "$@"; do
    case $argument in
    --no-web) run_web="" ;;
    --no-packages) run_packages="" ;;
    --install-packages) install_packages="--install" ;;
    *) echo "test.sh: unknown option $argument" >&2; exit 2 ;;
    esac
done
if [[ "${CI:-}" == "true" ]]; then install_packages="--install"; fi
./scripts/install-dependencies.sh --tests || exit 1

jobs=$(nproc)
results=()
failed=0

stage() {
    local name=$1; shift
    echo "==== $name"
    "$@"
    case $? in
    0) results+=("PASS  $name") ;;
    77) results+=("SKIP  $name") ;;
    *) results+=("FAIL  $name"); failed=1 ;;
    esac
}

# -noreset: an X server resets whenever its last client leaves and drops every connection still
# in its set-up at that moment, so a test starting as another one ends would find no display.
with_display() {
    if [[ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]]; then "$@"
    else xvfb-run -a -s "-screen 0 1920x1080x24 -noreset" "$@"; fi
}

# build <folder> <target> <cmake options...>
build() {
    local folder=$1 target=$2; shift 2
    cmake -S . -B "$folder" -G Ninja -DQUORVANE_WARNINGS_AS_ERRORS=ON "$@" &&
    cmake --build "$folder" -j "$jobs" --target "$target"
}

export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"

sanitized_tests() {
    build build/sanitize all -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_SANITIZE=ON -DQUORVANE_BUILD_BENCHMARKS=OFF &&
    with_display ctest --test-dir build/sanitize -LE gl -j "$jobs" --output-on-failure
}

window_tests() {
    build build/optimised all -DCMAKE_BUILD_TYPE=RelWithDebInfo &&
    with_display ctest --test-dir build/optimised -L gl -j "$jobs" --output-on-failure
}

fuzz_tests() {
    CC=clang CXX=clang++ build build/fuzz quorvane_fuzzers -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_BUILD_FUZZERS=ON \
        -DQUORVANE_BUILD_TESTS=ON -DQUORVANE_BUILD_BENCHMARKS=OFF &&
    ctest --test-dir build/fuzz -L fuzz --output-on-failure
}

# Exit status 77 marks the stage skipped: only a toolchain that cannot be installed does that.
web_tests() {
    ./scripts/web-toolchain.sh --tests >/dev/null
    case $? in
    0) ;;
    3) echo "SKIPPED: the web toolchain (Debian's emscripten, chromium, npm, SDL2's sources) could not be installed here"
       return 77 ;;
    *) return 1 ;;
    esac
    if ! npm ci --prefix tests/web --no-audit --no-fund --loglevel=error; then
        echo "SKIPPED: puppeteer-core could not be installed from the npm registry"
        return 77
    fi
    ./scripts/web.sh --build-only &&
    timeout 900 node tests/web/web_tests.mjs build/web/site
}

debian_packages() {
    build build/package package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DQUORVANE_GAME_BINDIR=games \
        -DQUORVANE_BUILD_TESTS=OFF -DQUORVANE_BUILD_BENCHMARKS=OFF -DQUORVANE_BUILD_EXAMPLES=OFF &&
    tests/packages/check_debian_packages.sh build/package $install_packages
}

formatting() {
    git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
}

stage "Formatting (clang-format)" formatting
stage "Unit and device tests with sanitizers" sanitized_tests
stage "Window and OpenGL tests" window_tests
stage "Fuzz targets" fuzz_tests
if [[ -n $run_web ]]; then stage "Web build in headless Chromium" web_tests
else results+=("SKIP  Web build in headless Chromium (--no-web)"); fi
if [[ -n $run_packages ]]; then stage "Debian packages" debian_packages
else results+=("SKIP  Debian packages (--no-packages)"); fi

echo "==== Summary"
printf '%s\n' "${results[@]}"
if [[ $failed -ne 0 ]]; then echo "TESTS FAILED"; exit 1; fi
echo "ALL TESTS PASSED"
