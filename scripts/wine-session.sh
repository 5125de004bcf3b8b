# Sourced: gives this run its own X display (Xvfb) and WINEPREFIX, and stops exactly those at exit.
# After sourcing: DISPLAY and WINEPREFIX are set; `wine_stop` ends them (also run at exit).
ts_root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
TS_SCREEN=${TS_SCREEN:-1024x768x24}
ts_xvfb_pid=""
if [ -z "${TS_USE_DISPLAY:-}" ]; then
    for n in $(seq 90 140); do
        [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
        Xvfb ":$n" -screen 0 "$TS_SCREEN" -nolisten tcp >/dev/null 2>&1 &
        ts_xvfb_pid=$!
        export DISPLAY=":$n"
        for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
        if xdpyinfo >/dev/null 2>&1; then break; fi
        kill "$ts_xvfb_pid" 2>/dev/null || true
        ts_xvfb_pid=""
    done
fi
export WINEPREFIX="${WINEPREFIX:-$(mktemp -d /tmp/tintsnatch-wine.XXXXXX)}"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
fi
wine_stop() {
    wineserver -k >/dev/null 2>&1 || true
    [ -n "$ts_xvfb_pid" ] && kill "$ts_xvfb_pid" 2>/dev/null || true
    ts_xvfb_pid=""
}
trap wine_stop EXIT
