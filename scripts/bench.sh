#!/usr/bin/env bash
# Builds and runs the benchmarks under Wine on a virtual display; prints figures, judges nothing.
#
# First the in-process figures (magnifier, tick, save, average sampling, the History page), then
# the whole program: Tintsnatch4.exe beside bare programs that make only the platform calls its
# work needs (tests/bench), in
# alternating rounds on this run's own display and wineserver. CPU is counted for the program's
# process, the wineserver and the X server together, since under Wine the drawing and the pixel
# reads happen in the last two. The machine may be shared: medians of the rounds are shown.
# BENCH_ROUNDS (default 3) sets the number of rounds; BENCH_APP names another Tintsnatch4.exe to
# measure (an earlier build, say) with this build's tools; BENCH_BEFORE names an earlier build
# whose capture times are printed beside this one's; BENCH_WHOLE_ONLY=1 skips the in-process
# figures.
set -euo pipefail
cd "$(dirname "$0")/.."
B=${TS_BUILD:-build}
ROUNDS=${BENCH_ROUNDS:-3}
bash scripts/deps.sh
bash scripts/build.sh win
source scripts/wine-session.sh

[ -n "${BENCH_WHOLE_ONLY:-}" ] || wine "$B/win/win32_bench.exe"

work=$(mktemp -d /tmp/tsbench.XXXXXX)
trap 'wine_stop; rm -rf "$work"' EXIT
for p in app poller follow bare shots before; do mkdir -p "$work/$p"; done
cp "${BENCH_APP:-$B/win/Tintsnatch4.exe}" "$work/app/Tintsnatch4.exe"
cp "${BENCH_APP:-$B/win/Tintsnatch4.exe}" "$work/shots/Tintsnatch4.exe"
[ -z "${BENCH_BEFORE:-}" ] || cp "$BENCH_BEFORE" "$work/before/Tintsnatch4.exe"
cp "$B/win/bench_poller.exe" "$work/poller/"
cp "$B/win/bench_poller.exe" "$work/follow/"
cp "$B/win/bench_bare.exe" "$work/bare/"
cp "$B/win/bench_driver.exe" "$work/"
winpath() { local p=$1; echo "Z:${p//\//\\}"; }
# Through a file, not a pipe: a program the driver starts inherits its output and would hold a
# pipe open for as long as it runs.
drv() {
    local rc=0
    wine "$work/bench_driver.exe" "$@" >"$work/drv.out" || rc=$?
    tr -d '\r' <"$work/drv.out"
    return $rc
}

# This run's wineserver: the one working in the server folder of this prefix.
server_dir=$(printf 'server-%x-%x' $(stat -c '%d %i' "$WINEPREFIX"))
wineserver_pid() {
    local p
    for p in $(pgrep -x wineserver64; pgrep -x wineserver); do
        [[ $(readlink "/proc/$p/cwd" 2>/dev/null) == */"$server_dir" ]] && { echo "$p"; return; }
    done
}
# The process running one of the copies above (its command line holds this run's folder).
program_pid() {
    local d
    for d in /proc/[0-9]*; do
        if tr '\0' ' ' 2>/dev/null <"$d/cmdline" | grep -qiF "${work##*/}"'\'"$1"; then
            echo "${d#/proc/}"
            return
        fi
    done
}
# Nanoseconds on a CPU so far, all threads of the given processes.
cpu_ns() {
    local p
    for p in "$@"; do cat /proc/"$p"/task/*/schedstat 2>/dev/null; done | awk '{s += $1} END {printf "%.0f", s}'
}
now_ns() { date +%s%N; }
# CPU milliseconds per second of wall time over secs seconds.
cpu_rate() {
    local secs=$1
    shift
    local c0 t0 c1 t1
    c0=$(cpu_ns "$@")
    t0=$(now_ns)
    sleep "$secs"
    c1=$(cpu_ns "$@")
    t1=$(now_ns)
    awk -v c="$((c1 - c0))" -v t="$((t1 - t0))" 'BEGIN {printf "%.2f", c / t * 1000}'
}
rss_mb() { awk '/VmRSS/ {printf "%.1f", $2 / 1024}' "/proc/$1/status"; }
record() { echo "$3" >>"$work/fig.$1.$2"; }

PARK_X=300 PARK_Y=300
# The figures of one program: start, rest, still, moving; captures and memory when asked. A sixth
# argument is passed to the program.
measure() {
    local name=$1 exe=$2 cls=$3 readout=$4 captures=$5 argument=${6:-}
    drv park $PARK_X $PARK_Y >/dev/null
    local start
    if [ "$readout" = yes ]; then
        start=$(drv launch "$(winpath "$work/$name/$exe")" "$cls")
    else
        start=$(drv launch "$(winpath "$work/$name/$exe")" "$cls" noreadout $argument)
    fi
    [ "$readout" = yes ] && record start "$name" "$start"
    local pid ws
    pid=$(program_pid "$name"'\'"$exe")
    ws=$(wineserver_pid)
    if [ -z "$pid" ] || [ -z "$ws" ]; then
        echo "cannot find the processes of $name (program '$pid', wineserver '$ws')" >&2
        exit 1
    fi
    sleep 2  # settled, and the cursor has rested
    record rss "$name" "$(rss_mb "$pid")"
    if [ "$captures" = cpu ] || [ "$captures" = all ]; then
        record still "$name" "$(cpu_rate 3 "$pid" "$ws" "$ts_xvfb_pid")"
        local out="$work/move.out"
        : >"$out"
        wine "$work/bench_driver.exe" move 4500 450 400 >"$out" &
        local mover=$!
        for _ in $(seq 200); do grep -q go "$out" && break; sleep 0.05; done
        sleep 0.3
        record moving "$name" "$(cpu_rate 3 "$pid" "$ws" "$ts_xvfb_pid")"
        wait "$mover"
    fi
    if [ "$captures" = all ]; then
        # Hidden (F6), the cursor still; then the first movement after a 2 s rest, as a mouse makes
        # it and as a warp that makes no mouse input.
        drv press 117 >/dev/null
        sleep 2
        record hidden "$name" "$(cpu_rate 3 "$pid" "$ws" "$ts_xvfb_pid")"
        drv press 117 >/dev/null
        local to
        # From a rest point to a point outside the window that follows the cursor.
        for to in "wake 300 300 200 200" "warp 600 300 500 200"; do
            set -- $to
            drv park "$2" "$3" >/dev/null
            sleep 2
            record "$1" "$name" "$(drv wake "$cls" "$4" "$5" ${1/wake/})"
        done
    fi
    if [ "$captures" = all ] || [ "$captures" = mem ]; then
        drv park $PARK_X $PARK_Y >/dev/null
        record capture "$name" "$(drv captures 20 "$cls")"
        sleep 1
        record rss20 "$name" "$(rss_mb "$pid")"
    fi
    drv close "$cls" >/dev/null || true
}

app_session() {
    # Desktop capture mode, so F9 captures without an overlay.
    printf '[TTintsnatch4]\r\nrgCapture_ItemIndex=1\r\n' >"$work/app/Tintsnatch4.ini"
    measure app Tintsnatch4.exe TTintsnatch4 yes all
}
# The capture key to the overlay shown and to the desktop image taken, for a build in its folder:
# the selection mode (with the last rectangle offered, and Enter taking it, where the build has
# the offer) and the desktop mode; for this build also the pick key to the loupe shown.
capture_session() {
    local name=$1 ini="$work/$1/Tintsnatch4.ini"
    local rect='[TTintsnatch4]\r\nrgCapture_ItemIndex=0\r\nrgCaptureArea_ItemIndex=6\r\n'
    drv park $PARK_X $PARK_Y >/dev/null
    printf "$rect" >"$ini"
    drv launch "$(winpath "$work/$name/Tintsnatch4.exe")" TTintsnatch4 >/dev/null
    record overlay "$name" "$(drv overlays 10 TTintsnatch4)"
    drv close TTintsnatch4 >/dev/null || true
    if [ "$name" = shots ]; then
        printf "${rect}cbLastRegion_Checked=True\r\nOskScreenCapture1_LastRegion=100,100,300,250\r\n" \
            >"$ini"
        drv launch "$(winpath "$work/$name/Tintsnatch4.exe")" TTintsnatch4 >/dev/null
        record offered "$name" "$(drv overlays 10 TTintsnatch4 enter)"
        drv close TTintsnatch4 >/dev/null || true
    fi
    if [ "$name" = shots ]; then
        # The pick key to the loupe shown, and the memory round 20 picks (each ended by Esc).
        drv launch "$(winpath "$work/$name/Tintsnatch4.exe")" TTintsnatch4 >/dev/null
        local picks
        picks=$(drv picks 20 TTintsnatch4)
        set -- $picks
        if [ $# = 7 ]; then
            record pick "$name" "$1"
            record pickprivate0 "$name" "$2"
            record pickws0 "$name" "$3"
            record pickprivate20 "$name" "$4"
            record pickws20 "$name" "$5"
            record pickgdi1 "$name" "$6"
            record pickgdi20 "$name" "$7"
        else
            echo "picks: $picks" >&2
        fi
        drv close TTintsnatch4 >/dev/null || true
    fi
    printf '[TTintsnatch4]\r\nrgCapture_ItemIndex=1\r\n' >"$ini"
    drv launch "$(winpath "$work/$name/Tintsnatch4.exe")" TTintsnatch4 >/dev/null
    record desktop "$name" "$(drv captures 10 TTintsnatch4)"
    if [ "$name" = shots ]; then
        # Five desktop captures pinned: the memory they hold, beside the memory before them.
        local pid
        pid=$(program_pid 'shots\Tintsnatch4.exe')
        sleep 1
        record nopins "$name" "$(rss_mb "$pid")"
        drv pins 5 TTintsnatch4 >/dev/null
        sleep 1
        record pins "$name" "$(rss_mb "$pid")"
    fi
    drv close TTintsnatch4 >/dev/null || true
}
poller_session() { measure poller bench_poller.exe TBenchPoller no cpu; }
# The poller keeping a window beside the cursor: what the platform charges for follow mode's move.
follow_session() { measure follow bench_poller.exe TBenchPoller no cpu follow; }
bare_session() { measure bare bench_bare.exe TBenchBare yes mem; }

echo
echo "Whole program under Wine (program + wineserver + X server), $ROUNDS alternating rounds"
for round in $(seq "$ROUNDS"); do
    if [ $((round % 2)) = 1 ]; then
        app_session; poller_session; follow_session; bare_session
    else
        bare_session; follow_session; poller_session; app_session
    fi
    capture_session shots
    [ -z "${BENCH_BEFORE:-}" ] || capture_session before
    echo "  round $round of $ROUNDS done"
done

median() { sort -g "$1" | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
row() {  # what, unit, subject figure, baseline name, baseline figure, target
    awk -v w="$1" -v u="$2" -v a="$3" -v bn="$4" -v b="$5" -v t="$6" 'BEGIN {
        printf "  %-34s %8.1f %-5s %-24s %8.1f %-5s ratio %.2f%s\n", w, a, u, bn, b, u, a / b,
               t == "" ? "" : "   (target <= " t ")" }'
}
m() { median "$work/fig.$1.$2"; }
echo
echo "Medians                                               baseline"
row "CPU, cursor still" "ms/s" "$(m still app)" "bare 5 ms poller" "$(m still poller)" 0.25
row "CPU, window hidden, cursor still" "ms/s" "$(m hidden app)" "bare 5 ms poller" "$(m still poller)" 0.1
row "CPU, cursor moving" "ms/s" "$(m moving app)" "bare 5 ms poller" "$(m moving poller)" 1.6
row "CPU, cursor moving" "ms/s" "$(m moving app)" "poller moving a window" "$(m moving follow)" 1.25
row "resident memory after start" "MB" "$(m rss app)" "bare window" "$(m rss bare)" 1.1
row "resident memory after 20 captures" "MB" "$(m rss20 app)" "bare window" "$(m rss20 bare)" ""
row "start to first readout" "ms" "$(m start app)" "bare window" "$(m start bare)" ""
row "desktop capture" "ms" "$(m capture app)" "bare window, no pause" "$(m capture bare)" ""
echo
echo "Capture key to ...                        this build   earlier build (BENCH_BEFORE)"
before() { [ -s "$work/fig.$1.before" ] && m "$1" before || echo "-"; }
printf '  %-38s %8s ms   %s\n' "rectangle overlay shown" "$(m overlay shots)" "$(before overlay)"
printf '  %-38s %8s ms   %s\n' "overlay shown, last rectangle offered" "$(m offered shots)" "-"
printf '  %-38s %8s ms   %s\n' "desktop image taken (on the clipboard)" "$(m desktop shots)" \
    "$(before desktop)"
echo "  resident memory before pins $(m nopins shots) MB, with 5 desktop captures pinned" \
    "$(m pins shots) MB"
mp() { [ -s "$work/fig.$1.shots" ] && m "$1" shots || echo "-"; }
echo
echo "Pick key (F8) to ...                      this build"
printf '  %-38s %8s ms   (rectangle overlay: %s ms)\n' "loupe shown" "$(mp pick)" "$(m overlay shots)"
echo "  memory before 20 picks: private $(mp pickprivate0) KB, working set $(mp pickws0) KB;" \
    "after them: private $(mp pickprivate20) KB, working set $(mp pickws20) KB"
echo "  live GDI objects (the program's own count) while the 1st loupe shows $(mp pickgdi1)," \
    "while the 20th shows $(mp pickgdi20)"
echo
echo "  (the cursor rests for 2 s before the still figure; a cursor at rest is the still figure)"
echo "  first movement after a 2 s rest to the readout showing it, ms: as a mouse moves $(m wake app)," \
    "by a warp (no mouse input) $(m warp app)"
vals() { tr '\n' ' ' <"$work/fig.$1.$2"; }
echo "  CPU by round, ms/s: still: program $(vals still app)| poller $(vals still poller)"
echo "                      moving: program $(vals moving app)| poller $(vals moving poller)| poller moving a window $(vals moving follow)"
