#!/usr/bin/env bash
# Fuzzes the core's parsers and text builders with libFuzzer, a bounded number
# of runs per target (VANTREL_FUZZ_RUNS, 200000):
#   version_fuzzer        the update check's version file
#   menu_text_fuzzer      titles into button captions and menu entries
#   profile_value_fuzzer  stored profile values into settings
#   command_line_fuzzer   argument text, program path, drive list, server address
#
#   scripts/fuzz.sh [target...]     (all targets when none is named)
#
# Each target starts from its seed corpus in tests/fuzz/corpus/<target>/, which
# is only read; what libFuzzer finds new goes to build/fuzz/corpus/<target>/. A
# crash leaves its input in build/fuzz/ and fails the run. Needs clang with its
# runtime (clang and libclang-rt-14-dev on Debian 12); without them it says so
# and succeeds, as the unit tests feed the parsers random input as well.
set -euo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$REPO/build/fuzz"
runs="${VANTREL_FUZZ_RUNS:-200000}"
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  targets=(version_fuzzer menu_text_fuzzer profile_value_fuzzer command_line_fuzzer)
fi
cxx="$(command -v clang++ || command -v clang++-14 || true)"
if [ -z "$cxx" ] || ! echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
    "$cxx" -x c++ -fsanitize=fuzzer -o /dev/null - 2>/dev/null; then
  echo "fuzz: clang with libFuzzer not found; skipped"
  exit 0
fi
cmake -S "$REPO/tests/fuzz" -B "$build" -DCMAKE_CXX_COMPILER="$cxx" -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build "$build" -j2 --target "${targets[@]}"
for target in "${targets[@]}"; do
  echo "fuzz: $target, $runs runs"
  mkdir -p "$build/corpus/$target"
  # The version file is short; titles must reach past the 259-character cut.
  max_len=1024
  [ "$target" = version_fuzzer ] && max_len=256
  (cd "$build" && "./$target" -runs="$runs" -max_len="$max_len" -print_final_stats=1 \
    "corpus/$target" "$REPO/tests/fuzz/corpus/$target")
done
