#!/bin/sh
# Runs a Windows program under Wine, for ctest (CMAKE_CROSSCOMPILING_EMULATOR) and the scripts.
# Refuses to run outside a user namespace (scripts/sandbox): there, the kernel refuses clock
# changes. `--prepare` only makes the prefix and starts a wineserver; `--make-prefix` only makes
# the prefix.
#
# The prefix (default build/wineprefix) is made once, under a lock, and marked ready only when
# complete: an interrupted preparation is thrown away and done again.
: "${WINEPREFIX:=$(cd "$(dirname "$0")/.." && pwd)/build/wineprefix}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
WINE=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver
# Bump when the preparation below changes: older prefixes are then made again.
RECIPE=2

if [ "$(awk 'NR==1{print $3}' /proc/self/uid_map)" = 4294967295 ]; then
    echo "wine-run.sh: refusing to run outside a user namespace; use scripts/sandbox" >&2
    exit 125
fi
for tool in "$WINE" "$WINESERVER"; do
    [ -x "$tool" ] || { echo "wine-run.sh: $tool missing; run scripts/setup" >&2; exit 125; }
done

mkdir -p "$(dirname "$WINEPREFIX")"
(
    flock 9
    ready="$WINEPREFIX/.pendulix-ready"
    if [ "$(cat "$ready" 2>/dev/null)" != "$RECIPE" ]; then
        "$WINESERVER" -k 9>&- 2>/dev/null
        "$WINESERVER" -w 9>&- 2>/dev/null
        rm -rf "$WINEPREFIX"
        DISPLAY= "$WINE" wineboot -i </dev/null >/dev/null 2>&1 9>&-
        reg() { DISPLAY= "$WINE" reg add "$@" /f </dev/null >/dev/null 2>&1 9>&-; }
        # A crash must end the process, not wait on a dialog.
        reg 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0
        # A virtual desktop: windows appear at once and get their frames drawn by Wine, and the
        # program keeps its own exit status (explorer /desktop would not).
        reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default
        reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768
        # Caption buttons are drawn with this font; the package alone does not put it here.
        cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" || exit 1
        # The settings are read when the server and the desktop start: save them, stop.
        "$WINESERVER" -k 9>&- 2>/dev/null
        "$WINESERVER" -w 9>&-
        [ -f "$WINEPREFIX/system.reg" ] || exit 1
        echo "$RECIPE" >"$ready"
    fi
    [ "$1" = --make-prefix ] && exit 0
    # Exit status 0 only when it started a new server: then start Wine's services now, away
    # from the pipes of whatever runs next.
    if "$WINESERVER" -p30 </dev/null >/dev/null 2>&1 9>&-; then
        "$WINE" wineboot </dev/null >/dev/null 2>&1 9>&-
    fi
) 9>"$WINEPREFIX.lock" || {
    echo "wine-run.sh: could not prepare the Wine prefix $WINEPREFIX" >&2
    exit 125
}
case "$1" in --prepare | --make-prefix) exit 0 ;; esac
exec "$WINE" "$@"
