#!/usr/bin/env bash
# Builds the game's web page and the floor page, then runs the page-cost benchmark in headless
# Chromium. Usage: bench/web/run_page_cost.sh [runs]
set -euo pipefail
cd "$(dirname "$0")/../.."
./scripts/web-toolchain.sh --tests >/dev/null
./scripts/web.sh --build-only >/dev/null
cmake -S . -B build/web -DQUORVANE_BUILD_BENCHMARKS=ON >/dev/null
cmake --build build/web --target minimal_web_page >/dev/null
npm ci --prefix tests/web --no-audit --no-fund --loglevel=error
node bench/web/page_cost.mjs build/web/site "${1:-7}"
