#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer,
# UndefinedBehaviorSanitizer) and runs each for SECONDS on its corpus.
# Usage: tools/fuzz.sh [SECONDS]   (default 30)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-30}
out=$top/build-fuzz
mkdir -p "$out"
qt=$(pkg-config --cflags --libs Qt6Core)
flags="-std=c++20 -g -O1 -fPIC -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -I$top/tables"
for target in currency field_text; do
  clang++ $flags "$top/tests/fuzz/fuzz_$target.cpp" "$top/tables/Currency.cpp" "$top/tables/ShiftJis.cpp" \
    $qt -o "$out/fuzz_$target"
  work=$out/corpus_$target
  mkdir -p "$work"
  echo "fuzz_$target: $seconds s"
  set +e
  "$out/fuzz_$target" -max_total_time="$seconds" -max_len=256 -print_final_stats=1 \
    -artifact_prefix="$out/$target-" "$work" "$top/tests/fuzz/corpus/$target" >"$out/$target.log" 2>&1
  rc=$?
  set -e
  grep -E '^stat::number_of_executed_units|^stat::new_units_added' "$out/$target.log"
  if [ $rc -ne 0 ]; then
    tail -40 "$out/$target.log" >&2
    echo "fuzz_$target found a failing input (saved under $out)" >&2
    exit 1
  fi
done
