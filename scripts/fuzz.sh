#!/usr/bin/env bash
# Fuzzes the update check's version parser with libFuzzer for a bounded number of
# runs (VANTREL_FUZZ_RUNS, 200000). Needs clang with its runtime (clang and
# libclang-rt-14-dev on Debian 12); without them it says so and succeeds, as the
# unit tests feed the parser random bodies as well.
set -euo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$REPO/build/fuzz"
runs="${VANTREL_FUZZ_RUNS:-200000}"
cxx="$(command -v clang++ || command -v clang++-14 || true)"
if [ -z "$cxx" ] || ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    "$cxx" -x c++ -fsanitize=fuzzer -o /dev/null - 2>/dev/null; then
  echo "fuzz: clang with libFuzzer not found; skipped"
  exit 0
fi
cmake -S "$REPO/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j2
mkdir -p "$build/corpus"
printf 'version=0.8.9.2' >"$build/corpus/equal"
printf 'a=b=0.8.10.0\r\n' >"$build/corpus/crlf"
"$build/version_fuzzer" -runs="$runs" -max_len=256 "$build/corpus"
