#!/usr/bin/env bash
# Runs Vantrel with the sample viewer under Wine and takes a screenshot.
#
#   scripts/run.sh [--screenshot FILE]
#
# Uses $DISPLAY when it works; otherwise a private Xvfb. On a private Xvfb
# everything is closed once the screenshot is taken; on your own display
# Vantrel stays until you close it.
set -euo pipefail

usage() { echo "usage: scripts/run.sh [--screenshot FILE]"; }

shot=""
while [ $# -gt 0 ]; do
  case "$1" in
    --screenshot)
      [ $# -ge 2 ] || { usage >&2; exit 2; }
      shot=$2; shift 2 ;;
    --screenshot=*) shot=${1#*=}; shift ;;
    -h|--help) usage; exit 0 ;;
    *) usage >&2; exit 2 ;;
  esac
done

REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
case "$shot" in
  "") shot="$REPO/build/screenshot.png" ;;
  /*) ;;
  *) shot="$PWD/$shot" ;;
esac
cd "$REPO"

bash scripts/deps.sh
cmake --preset mingw
cmake --build --preset mingw --target vantrel sampleviewer

bin="$REPO/build/mingw/bin"
source scripts/wine-env.sh
trap wine_cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM


own_display=0
if display_usable; then
  own_display=1
  echo "run: using display $DISPLAY"
else
  start_xvfb
fi
start_wineserver

die() {
  echo "run: $*" >&2
  echo "run: logs in $VANTREL_LOG_DIR" >&2
  exit 1
}

# X windows of a process: all of them, or only the visible ones (mapped, on a
# mapped parent). xdotool 3.20160805 finds nothing when --onlyvisible, --pid
# and a name pattern are combined, so name matches are intersected here.
windows_of() { xdotool search --pid "$1" 2>/dev/null || true; }
visible_windows_of() { xdotool search --onlyvisible --pid "$1" 2>/dev/null || true; }
visible_named_windows_of() {
  grep -Fx -f <(visible_windows_of "$1") <(xdotool search --all --pid "$1" --name "$2" 2>/dev/null || true) || true
}

# With Managed=N, Wine's top-level windows are plain X windows that carry the
# window title and the process id (_NET_WM_PID), so xdotool finds them.
wine "$bin/vantrel.exe" </dev/null >"$VANTREL_LOG_DIR/vantrel.log" 2>&1 &
vantrel_pid=$!
deadline=$((SECONDS + 30))
while :; do
  kill -0 "$vantrel_pid" 2>/dev/null || die "Vantrel ended before showing its window"
  [ -n "$(visible_named_windows_of "$vantrel_pid" 'Vantrel - \[Main window\]')" ] && break
  ((SECONDS < deadline)) || die "Vantrel's main window did not appear within 30 s"
  sleep 0.1
done
echo "run: Vantrel is up"

wine "$bin/sampleviewer.exe" </dev/null >"$VANTREL_LOG_DIR/sampleviewer.log" 2>&1 &
viewer_pid=$!

# Once Vantrel has taken a document in, the document is no longer a top-level
# X window. So wait until the viewer has X windows but none of them is
# visible on its own, and the screen has stopped changing (two identical
# captures in a row), up to 20 s.
captured=0
previous=""
deadline=$((SECONDS + 20))
while ((SECONDS < deadline)); do
  kill -0 "$vantrel_pid" 2>/dev/null || die "Vantrel ended unexpectedly"
  if [ -n "$(windows_of "$viewer_pid")" ] && [ -z "$(visible_windows_of "$viewer_pid")" ]; then
    current=$(import -silent -window root rgb:- 2>/dev/null | md5sum)
    if [ "$current" = "$previous" ]; then
      captured=1
      break
    fi
    previous=$current
  else
    previous=""
  fi
  sleep 0.2
done
if [ "$captured" -eq 0 ]; then
  echo "run: warning: the viewer's documents were not all taken into Vantrel within 20 s" >&2
fi

mkdir -p "$(dirname "$shot")"
if import -window root "$shot"; then
  echo "Screenshot: $shot"
elif [ "$own_display" -eq 0 ]; then
  die "could not take the screenshot"
else
  echo "run: warning: could not take a screenshot of $DISPLAY" >&2
fi

if [ "$own_display" -eq 1 ]; then
  echo "run: Vantrel is running; close it to finish."
  wait "$vantrel_pid" || true
fi
