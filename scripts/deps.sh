#!/usr/bin/env bash
# Installs the Debian packages needed to build, run and test Vantrel; only the missing ones.
set -euo pipefail

packages=(
  cmake make g++ python3 googletest
  g++-mingw-w64-x86-64-posix gcc-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64
  wine wine64
  # Recommended by Wine but left out by --no-install-recommends: without them
  # windows have no fonts and the X11 driver loses features.
  fonts-wine libxrender1 libxrandr2 libxinerama1 libxcursor1 libxi6 libxfixes3 libxcomposite1
  xvfb xauth xdotool imagemagick
  # libFuzzer for scripts/fuzz.sh
  clang libclang-rt-14-dev
  # the second compiler's Windows build: lld links, llvm-14 has llvm-windres
  lld llvm-14
  # the installer: makensis
  nsis
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg -s "$p" 2>/dev/null | grep -qx 'Status: install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "deps: all packages present"
  exit 0
fi

echo "deps: missing: ${missing[*]}"
if [ "$(id -u)" -ne 0 ]; then
  echo "deps: not root; install them with:" >&2
  echo "  sudo apt-get update && sudo apt-get install --no-install-recommends ${missing[*]}" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update
apt-get install -y --no-install-recommends "${missing[@]}"
echo "deps: installed ${missing[*]}"
