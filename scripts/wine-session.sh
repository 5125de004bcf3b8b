# Sourced: gives this run its own X display (Xvfb) and WINEPREFIX, and stops exactly those at exit.
# After sourcing: DISPLAY and WINEPREFIX are set; `wine_stop` ends them (also run at exit), and
# the test printer of printer-session.sh.
ts_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
TS_SCREEN=${TS_SCREEN:-1024x768x24}
ts_xvfb_pid=""
if [ -z "${TS_USE_DISPLAY:-}" ]; then
    # Xvfb picks a free display number itself and prints it once it is ready.
    ts_xvfb_out=$(mktemp /tmp/tintsnatch-xvfb.XXXXXX)
    Xvfb -displayfd 1 -screen 0 "$TS_SCREEN" -nolisten tcp >"$ts_xvfb_out" 2>/dev/null &
    ts_xvfb_pid=$!
    for _ in $(seq 100); do [ -s "$ts_xvfb_out" ] && break; sleep 0.1; done
    export DISPLAY=":$(head -n1 "$ts_xvfb_out")"
    rm -f "$ts_xvfb_out"
fi
# A PDF printer of this run's own, before Wine starts: its spooler lists the printers it finds.
source "$ts_root/scripts/printer-session.sh"
ts_own_prefix=""
if [ -z "${WINEPREFIX:-}" ]; then
    # A prefix of this run's own (about 700 MB), removed again when the run ends.
    WINEPREFIX=$(mktemp -d /tmp/tintsnatch-wine.XXXXXX)
    ts_own_prefix=$WINEPREFIX
fi
export WINEPREFIX
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    # No window manager runs on Xvfb: unmanaged windows hide at once instead of waiting two
    # seconds per window for a window manager that never answers.
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    # Wine's own fonts (Tahoma, MS Sans Serif, Marlett for the caption buttons) are not picked up
    # from the system folder here; copied into the prefix they are.
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null || true
    wineserver -w || true
fi
if [ -n "${TS_HEADS:-}" ]; then
    # Several monitors on the one virtual display: Wine takes the layout from libXinerama when it
    # is told not to use XRandR, and the tests' own libXinerama reports the heads in TS_HEADS.
    export TS_HEADS
    ts_build=${TS_BUILD:-build}
    case $ts_build in /*) ;; *) ts_build="$ts_root/$ts_build" ;; esac  # absolute, or in the tree
    export LD_LIBRARY_PATH="$ts_build/host/shim${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}"
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v UseXRandR /d N /f >/dev/null 2>&1 || true
fi
wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "$ts_xvfb_pid" ] && kill "$ts_xvfb_pid" 2>/dev/null || true
    ts_xvfb_pid=""
    printer_stop
    if [ -n "$ts_own_prefix" ]; then
        wineserver -w >/dev/null 2>&1 || true
        rm -rf "$ts_own_prefix"
        ts_own_prefix=""
    fi
}
trap wine_stop EXIT
