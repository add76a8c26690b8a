#!/usr/bin/env bash
# Sets everything up and runs every test headless: the suite as built for
# use, the suite again under AddressSanitizer and UndefinedBehaviorSanitizer,
# then the fuzz targets for a bounded time.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
export QT_QPA_PLATFORM=offscreen

"$top/tools/setup.sh" "$top/build-test" -DHARUNIRE_WERROR=ON
(cd "$top/build-test" && ctest --output-on-failure --timeout 300 -j 2)

"$top/tools/setup.sh" "$top/build-asan" -DHARUNIRE_WERROR=ON -DHARUNIRE_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
(cd "$top/build-asan" &&
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 LSAN_OPTIONS=suppressions="$top/tests/lsan.supp" \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  ctest --output-on-failure --timeout 600 -j 2)

"$top/tools/fuzz.sh" 20
