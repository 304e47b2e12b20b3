# shellcheck shell=bash
# Wine environment for running Vantrel's Windows programs on Linux.
# Source it from bash:  source scripts/wine-env.sh
#
# Exports the Wine variables, creates the Wine prefix when it is missing, and
# defines:
#   start_xvfb        start a private Xvfb on a free display and export DISPLAY
#   start_wineserver  keep a wineserver running so each wine program starts fast
#   run_wine_logged   run a program with its output in a log file, shown as it grows
#   wine_cleanup      stop the wineserver (and every program in the prefix) and
#                     the Xvfb started here; meant for an EXIT trap
#
# WINEPREFIX may be set beforehand to use another prefix (an absolute path).

VANTREL_REPO="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VANTREL_LOG_DIR="${VANTREL_LOG_DIR:-$VANTREL_REPO/build/logs}"
mkdir -p "$VANTREL_LOG_DIR"

export WINEPREFIX="${WINEPREFIX:-$VANTREL_REPO/build/wineprefix}"
export WINEARCH=win64
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko install dialogs.
export WINEDLLOVERRIDES="mscoree,mshtml="
# Vantrel's calls to its web server stay on this machine unless told otherwise.
export VANTREL_SERVER="${VANTREL_SERVER:-http://127.0.0.1:9}"

VANTREL_XVFB_PID=""

_wine_env_log() { echo "wine-env: $*" >&2; }

# Creates the prefix when missing and sets it up for unattended runs. With
# Managed=N Wine's windows are plain unmanaged X windows, so moving another
# process's window into ours does not stall waiting for a window manager.
_wine_env_prepare_prefix() {
  local reg="$WINEPREFIX/user.reg"
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    _wine_env_log "creating Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    # No display needed: keep the "updating configuration" window off the user's screen.
    env -u DISPLAY wineboot -i >>"$VANTREL_LOG_DIR/wineboot.log" 2>&1 || {
      _wine_env_log "wineboot failed; see $VANTREL_LOG_DIR/wineboot.log"
      return 1
    }
    timeout 120 wineserver -w || true
  fi
  # Debian's Wine 8 does not load its own fonts from /usr/share/wine/fonts,
  # so windows lack Tahoma and the Marlett caption-button glyphs (shown as
  # "0 1 r"). It does load fonts found in C:\windows\Fonts.
  local f fonts="$WINEPREFIX/drive_c/windows/Fonts"
  if [ -d /usr/share/wine/fonts ] && [ ! -e "$fonts/marlett.ttf" ]; then
    mkdir -p "$fonts"
    for f in /usr/share/wine/fonts/*; do
      [ -e "$fonts/${f##*/}" ] || ln -s "$f" "$fonts/"
    done
  fi
  # A program that crashes gets Wine's debugger, whose crash dialog waits for
  # a click that never comes: the program never ends and a test hangs until
  # its timeout. Without the dialog, the debugger lets it end at once.
  # Better still, no debugger at all: with Auto=1 and a debugger that does not
  # exist, a crashed program ends within a second instead of after a backtrace.
  # Drives of the kinds that may be missing at logon, for the tests of start with
  # Windows: folders in the prefix that Wine reports as removable (E:), CD (F:),
  # network (N:) and RAM disk (R:) drives. Wine reads the types when its
  # server starts.
  local letter kind
  for letter in e:removable f:cdrom n:network r:ramdisk; do
    kind=${letter#*:}
    mkdir -p "$WINEPREFIX/drives/$kind"
    [ -e "$WINEPREFIX/dosdevices/${letter%%:*}:" ] || ln -s "../drives/$kind" "$WINEPREFIX/dosdevices/${letter%%:*}:"
  done
  local drives='HKLM\Software\Wine\Drives'
  # The registry files are written when the wineserver exits, so grep tells.
  local aedebug='HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug'
  if ! grep -q '^"Managed"="N"' "$reg" 2>/dev/null ||
     ! grep -q '^"ShowCrashDialog"=dword:00000000' "$reg" 2>/dev/null ||
     ! grep -q 'no-debugger.exe' "$WINEPREFIX/system.reg" 2>/dev/null ||
     ! grep -q '^"r:"="ramdisk"' "$WINEPREFIX/system.reg" 2>/dev/null; then
    # A fresh prefix is still settling for a moment; a write may fail once.
    local attempt
    for attempt in 1 2 3; do
      if {
        env -u DISPLAY wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f &&
          env -u DISPLAY wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f &&
          env -u DISPLAY wine reg add "$aedebug" /v Auto /t REG_SZ /d 1 /f &&
          env -u DISPLAY wine reg add "$aedebug" /v Debugger /t REG_SZ /d 'C:\windows\no-debugger.exe %ld %ld' /f &&
          env -u DISPLAY wine reg add "$drives" /v e: /t REG_SZ /d floppy /f &&
          env -u DISPLAY wine reg add "$drives" /v f: /t REG_SZ /d cdrom /f &&
          env -u DISPLAY wine reg add "$drives" /v n: /t REG_SZ /d network /f &&
          env -u DISPLAY wine reg add "$drives" /v r: /t REG_SZ /d ramdisk /f
      } >>"$VANTREL_LOG_DIR/wineboot.log" 2>&1; then
        timeout 120 wineserver -w || true
        return 0
      fi
      _wine_env_log "Wine registry set-up failed (attempt $attempt); see $VANTREL_LOG_DIR/wineboot.log"
      timeout 120 wineserver -w || true
    done
    return 1
  fi
}

# True when $DISPLAY (or the display given) accepts X clients.
display_usable() {
  local d="${1:-${DISPLAY:-}}"
  [ -n "$d" ] && DISPLAY="$d" timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1
}

start_xvfb() {
  local n pid tries
  for ((n = 90; n < 190; n++)); do
    if [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; then continue; fi
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >>"$VANTREL_LOG_DIR/xvfb.log" 2>&1 &
    pid=$!
    # Wait until it accepts clients; if it died (another server took :n), try the next.
    for ((tries = 0; tries < 100; tries++)); do
      if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid" 2>/dev/null || true
        pid=""
        break
      fi
      if display_usable ":$n"; then
        VANTREL_XVFB_PID=$pid
        export DISPLAY=":$n"
        _wine_env_log "Xvfb running on $DISPLAY"
        return 0
      fi
      sleep 0.1
    done
    if [ -n "$pid" ]; then
      kill "$pid" 2>/dev/null || true
      wait "$pid" 2>/dev/null || true
      _wine_env_log "Xvfb on :$n did not come up; see $VANTREL_LOG_DIR/xvfb.log"
      return 1
    fi
  done
  _wine_env_log "no free X display number found"
  return 1
}

# Keeps a wineserver running, with Wine's background processes (services and
# the desktop window's explorer.exe) already started. Those stay as long as
# the server does and keep the output of the program that started them open:
# if a test started them, ctest would wait for that output to end forever.
# So start them here, writing to a log. Call it after DISPLAY is set.
start_wineserver() {
  wineserver -p </dev/null >>"$VANTREL_LOG_DIR/wineserver.log" 2>&1 || return 1
  # GetDesktopWindow makes Wine start the desktop process.
  wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >>"$VANTREL_LOG_DIR/wineserver.log" 2>&1 || {
    _wine_env_log "could not start Wine's background processes; see $VANTREL_LOG_DIR/wineserver.log"
    return 1
  }
}

# Runs a Windows program under Wine with its output going to a log file, shown
# as it grows, and returns the program's exit code. Into a file, not a pipe:
# Wine's background processes would inherit a pipe and keep it open.
#   run_wine_logged LOG PROGRAM [ARGS...]
run_wine_logged() {
  local log="$1" pid rc=0
  shift
  : >"$log"
  wine "$@" </dev/null >"$log" 2>&1 &
  pid=$!
  tail -n +1 -f --pid="$pid" "$log"
  wait "$pid" || rc=$?
  return "$rc"
}

wine_cleanup() {
  # Ends every Windows program of this prefix, then the server itself.
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
  if [ -n "$VANTREL_XVFB_PID" ]; then
    kill "$VANTREL_XVFB_PID" 2>/dev/null || true
    wait "$VANTREL_XVFB_PID" 2>/dev/null || true
    VANTREL_XVFB_PID=""
  fi
}

_wine_env_prepare_prefix
