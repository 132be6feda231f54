#!/bin/sh
# Runs a Windows program under Wine, for ctest (CMAKE_CROSSCOMPILING_EMULATOR) and the scripts.
# Refuses to run outside a user namespace (scripts/sandbox): there, the kernel refuses clock
# changes. `--prepare` only makes the prefix and starts a wineserver.
: "${WINEPREFIX:=$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

if [ "$(awk 'NR==1{print $3}' /proc/self/uid_map)" = 4294967295 ]; then
  echo "wine-run.sh: refusing to run outside a user namespace; use scripts/sandbox" >&2
  exit 125
fi

mkdir -p "$(dirname "$WINEPREFIX")"
(
  flock 9
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    DISPLAY= "$WINE" wineboot -i </dev/null >/dev/null 2>&1 9>&-
    reg() { DISPLAY= "$WINE" reg add "$@" /f </dev/null >/dev/null 2>&1 9>&-; }
    # A crash must end the process, not wait on a dialog.
    reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
    # A virtual desktop: windows appear at once and get their frames drawn by Wine.
    reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
    reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    "$WINESERVER" -k 9>&- 2>/dev/null
    "$WINESERVER" -w 9>&-
  fi
  # Exit status 0 only when it started a new server: then start Wine's services now, away
  # from the pipes of whatever runs next.
  if "$WINESERVER" -p30 </dev/null >/dev/null 2>&1 9>&-; then
    "$WINE" wineboot </dev/null >/dev/null 2>&1 9>&-
  fi
) 9>"$WINEPREFIX.lock"
[ "$1" = --prepare ] && exit 0
exec "$WINE" "$@"
