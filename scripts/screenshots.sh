#!/usr/bin/env bash
# Remakes the README's pictures of the main frame with the sample viewer's three
# documents, one per application look, from the real program under Wine.
#
#   scripts/screenshots.sh [LOOK_ID...]     (default: 205 208 210 216)
#
# The pictures go to docs/looks/look-ID.png, cut to the frame.
set -euo pipefail

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$REPO"
looks=("$@")
[ ${#looks[@]} -gt 0 ] || looks=(205 208 210 216)
mkdir -p docs/looks build

for look in "${looks[@]}"; do
  (
    source scripts/wine-env.sh
    env -u DISPLAY wine reg add 'HKCU\Software\Vantrel\Vantrel\Workspace' /v ApplicationLook /t REG_DWORD \
      /d "$look" /f >/dev/null 2>&1
    wineserver -w
  )
  env -u DISPLAY bash scripts/run.sh --screenshot "build/look-$look-full.png"
  # The main frame opens at the top left of the private screen.
  convert "build/look-$look-full.png" -crop 960x768+0+0 +repage "docs/looks/look-$look.png"
  echo "look $look: docs/looks/look-$look.png"
done
