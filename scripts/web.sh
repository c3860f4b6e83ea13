#!/usr/bin/env bash
# Installs what is missing, builds the game, the examples and the template for the web into
# build/web/site (static files: HTML, JavaScript, WebAssembly and data, for any static web
# server) and serves that folder on 127.0.0.1.
# Usage: web.sh [--port N] [--build-only]
set -euo pipefail
cd "$(dirname "$0")/.."
port=8080
serve=1
while [[ $# -gt 0 ]]; do
    case $1 in
    --port) port=$2; shift ;;
    --build-only) serve=0 ;;
    *) echo "usage: $0 [--port N] [--build-only]" >&2; exit 2 ;;
    esac
    shift
done

./scripts/install-dependencies.sh
sdl2=$(./scripts/web-toolchain.sh)
site="$PWD/build/web/site"
cmake -S . -B build/web -G Ninja --toolchain cmake/QuorvaneWebToolchain.cmake -DQUORVANE_WEB_SDL2="$sdl2" \
      -DCMAKE_BUILD_TYPE=Release -DQUORVANE_BUILD_TESTS=OFF -DQUORVANE_BUILD_BENCHMARKS=OFF \
      -DCMAKE_RUNTIME_OUTPUT_DIRECTORY="$site"
cmake --build build/web -j "$(nproc)"
cp "$site/quorvane.html" "$site/index.html"
echo "The pages are in $site: index.html (the game), example_*.html and my_game.html (the template)."
[[ $serve -eq 1 ]] || exit 0
echo "Serving the game on http://127.0.0.1:$port/ (Ctrl+C stops)"
exec python3 -m http.server --bind 127.0.0.1 --directory "$site" "$port"
