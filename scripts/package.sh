#!/usr/bin/env bash
# Builds the Windows programs and makes, in build/dist/, the installer
# vantrel-VERSION-setup.exe and the portable vantrel-VERSION-portable.zip, both
# named with the version in CMakeLists.txt. Prints their paths.
set -euo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$REPO"

bash scripts/deps.sh
cmake --preset mingw >/dev/null
cmake --build --preset mingw --target dist

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/mingw/CMakeCache.txt)
for f in "build/dist/vantrel-$version-setup.exe" "build/dist/vantrel-$version-portable.zip"; do
  [ -f "$f" ] || { echo "package: $f was not made" >&2; exit 1; }
  echo "$REPO/$f ($(stat -c %s "$f") bytes)"
done
