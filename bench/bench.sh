#!/usr/bin/env bash
# Builds what the benchmarks need and prints their tables: press latency and
# its growth with a large fee table (offscreen, databases on the disk of the
# build folder), then start-up and memory under a virtual X display.
# Usage: bench/bench.sh [BUILD_DIR]        (default: build-bench)
# BENCH_VISITS (1000), BENCH_SCALE_VISITS (200) and BENCH_ROUNDS (20) shorten
# or lengthen a run.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$top/build-bench}
if [ ! -f "$build/CMakeCache.txt" ]; then
  # A first run on a fresh machine: install what is missing, configure, build.
  "$top/tools/setup.sh" "$build"
fi
cmake --build "$build" -j "$(nproc)" --target bench_presses bench_startup bare_window multisite sprainentry
visits=${BENCH_VISITS:-1000}
"$build/bench/bench_presses" --visits "$visits" --scale-visits "${BENCH_SCALE_VISITS:-200}"
xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$build/bench/bench_startup" --rounds "${BENCH_ROUNDS:-20}" --visits "$visits"
