#!/usr/bin/env bash
# Builds the Windows programs and runs the soak test under Wine on a private
# Xvfb, then ends everything it started. Exits with the soak test's code: 0
# without violation, 1 with one, 2 when it could not set up.
#
#   scripts/soak.sh [soak options]       e.g. --minutes 30, --seed 1234
#
# Without options it runs 60 s with a new seed, printed first; --seed replays
# the same choices. The output is also kept in build/logs/soak.txt.
set -euo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$REPO"

if [ "${VANTREL_SOAK_NO_BUILD:-0}" != 1 ]; then
  bash scripts/deps.sh
  cmake --preset mingw
  cmake --build --preset mingw --target soak
fi

bin="$REPO/build/mingw/bin"
source scripts/wine-env.sh
if [ "${VANTREL_SOAK_NO_WINE_SETUP:-0}" != 1 ]; then
  trap wine_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  start_xvfb
  start_wineserver
fi

rc=0
run_wine_logged "$VANTREL_LOG_DIR/soak.txt" "$bin/soak.exe" "$@" || rc=$?
exit "$rc"
