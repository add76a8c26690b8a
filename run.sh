#!/usr/bin/env bash
# Sets everything up and opens multisite on the default data folder;
# "./run.sh sprainentry" opens the sprain/bruise window instead.
set -euo pipefail
top=$(cd "$(dirname "$0")" && pwd)
program=${1:-multisite}
case "$program" in
  multisite|sprainentry) shift $(($# > 0 ? 1 : 0)) ;;
  *) echo "usage: ./run.sh [multisite|sprainentry] [--mode a|b|c]" >&2; exit 2 ;;
esac
"$top/tools/setup.sh" "$top/build"
"$top/build/tools/harunire-initdb"
if [ ! -x "$top/build/$program/$program" ]; then
  echo "$program is not built yet in this version; the data folder is ready." >&2
  exit 1
fi
exec "$top/build/$program/$program" "$@"
