#!/usr/bin/env bash
# Sets everything up and runs every test headless, then the fuzz targets for
# a bounded time.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
"$top/tools/setup.sh" "$top/build-test" -DHARUNIRE_WERROR=ON
export QT_QPA_PLATFORM=offscreen
(cd "$top/build-test" && ctest --output-on-failure --timeout 300 -j 2)
"$top/tools/fuzz.sh" 20
