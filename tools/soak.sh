#!/usr/bin/env bash
# The long run of the crash and fuzz tests, on demand: KILLS SIGKILLs of real
# sessions (half in each program, both at once), then each fuzz target for
# FUZZ_SECONDS. Prints the corrupt or torn records found (goal: 0) and exits
# non-zero when there are any or the fuzzers find a failing input.
# Usage: tools/soak.sh [KILLS] [FUZZ_SECONDS]   (defaults 1000 and 300)
# SOAK_BUILD_DIR picks the build folder (default build-soak).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
kills=${1:-1000}
seconds=${2:-300}
build=${SOAK_BUILD_DIR:-$top/build-soak}
export QT_QPA_PLATFORM=offscreen HARUNIRE_TEST_BIN_DIR=$build

cmake -S "$top" -B "$build" -G Ninja -DHARUNIRE_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)" --target test_CrashSafety

per_program=$(((kills + 1) / 2))
rm -f "$build"/soak-*.log
pids=()
for program in multisite sprainentry; do
  HARUNIRE_CRASH_KILLS=$per_program "$build/tests/test_CrashSafety" --gtest_filter="*/$program" \
    >"$build/soak-$program.log" 2>&1 &
  pids+=($!)
done
failed=0
for pid in "${pids[@]}"; do wait "$pid" || failed=1; done

# Lines such as "crash-safety multisite: kills 500, inside a post 370, corrupt 0, torn 0".
cat "$build"/soak-*.log | grep '^crash-safety' || true
read -r total inside corrupt torn < <(cat "$build"/soak-*.log | awk -F'[ ,]+' '/^crash-safety/ {
  k += $4; i += $8; c += $10; t += $12 } END { print k + 0, i + 0, c + 0, t + 0 }')
echo "soak: $total kills ($inside inside a post); corrupt or torn records found: $((corrupt + torn))"
if ((failed)); then
  grep -h -B2 -A8 'Failure' "$build"/soak-*.log | head -60 >&2 || true
fi

"$top/tools/fuzz.sh" "$seconds" || failed=1
exit $((failed || corrupt + torn > 0))
