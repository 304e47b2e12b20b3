#!/usr/bin/env bash
# Builds the Windows programs and runs the benchmark under Wine on a private
# Xvfb, then ends everything it started. The benchmark runs Vantrel twice, as
# built (window events on) and with VANTREL_POLL_ONLY=1, prints each figure for
# both with their ratio, and ends with one "summary ..." line.
#
#   scripts/bench.sh [benchmark options]
#
# Options go to vantrel_bench.exe (--latency-windows N, --memory-hosted N,
# --idle-hosted N, --idle-frames N, --other-windows N, --idle-seconds S,
# --idle-runs R, --captures N, --frame-creations N, --menu-openings N); the
# defaults are the standard run. The figures are also kept in
# build/logs/bench.txt.
set -euo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$REPO"

bash scripts/deps.sh
cmake --preset mingw
cmake --build --preset mingw --target vantrel_bench

bin="$REPO/build/mingw/bin"
source scripts/wine-env.sh
trap wine_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM


start_xvfb
start_wineserver
# The benchmark reads CPU times from /proc (through Wine's drive Z:), in clock ticks.
VANTREL_BENCH_CLK_TCK="$(getconf CLK_TCK)"
export VANTREL_BENCH_CLK_TCK

rc=0
run_wine_logged "$VANTREL_LOG_DIR/bench.txt" "$bin/vantrel_bench.exe" "$@" || rc=$?
if [ "$rc" -ne 0 ]; then
  echo "bench: vantrel_bench.exe ended with exit code $rc" >&2
fi
exit "$rc"
