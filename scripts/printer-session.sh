# Sourced by wine-session.sh: gives the run a PDF printer of its own, so that printing is tested
# on paper. Starts a private CUPS scheduler, listening only on a socket in a temporary folder
# (CUPS_SERVER), with one queue "TintsnatchPDF", the default, that writes each job as a PDF file
# into $TS_PRINT_OUT. It must run before Wine starts: Wine's spooler lists the CUPS printers when
# it loads. `printer_stop` ends exactly what this started.
# Needs root (the PDF back end runs as root) and the packages cups and printer-driver-cups-pdf
# (scripts/deps.sh); without them it says why and sets up nothing, and the print test skips.
ts_cups_pid=""
ts_cups_dir=""
ts_cups_pdf_conf=""
printer_stop() {
    if [ -n "$ts_cups_pid" ]; then
        kill "$ts_cups_pid" 2>/dev/null || true
        wait "$ts_cups_pid" 2>/dev/null || true
    fi
    ts_cups_pid=""
    [ -n "$ts_cups_pdf_conf" ] && rm -f "$ts_cups_pdf_conf"
    ts_cups_pdf_conf=""
    [ -n "$ts_cups_dir" ] && rm -rf "$ts_cups_dir"
    ts_cups_dir=""
}
ts_printer_start() {
    local ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
    if [ "$(id -u)" != 0 ] || [ ! -x /usr/sbin/cupsd ] || [ ! -f "$ppd" ]; then
        echo "printer-session: no test printer (needs root, cups and printer-driver-cups-pdf)" >&2
        return 0
    fi
    ts_cups_dir=$(mktemp -d /tmp/tintsnatch-cups.XXXXXX)
    local d=$ts_cups_dir name
    name=ts$(basename "$d" | tr -dc 'A-Za-z0-9')
    mkdir -p "$d/spool/tmp" "$d/cache" "$d/state" "$d/pdf" "$d/pdfspool"
    # The filters run as the user lp and need to reach their folders.
    chmod 755 "$d"
    chown -R lp:lp "$d/spool" "$d/cache" 2>/dev/null || true
    chmod 1777 "$d/spool/tmp"
    cat >"$d/cups-files.conf" <<EOF
ServerRoot $d
RequestRoot $d/spool
TempDir $d/spool/tmp
CacheDir $d/cache
StateDir $d/state
ErrorLog $d/error_log
AccessLog $d/access_log
PageLog $d/page_log
SystemGroup root
EOF
    cat >"$d/cupsd.conf" <<EOF
Listen $d/cups.sock
Browsing No
WebInterface No
LogLevel warn
<Location />
  Order allow,deny
  Allow all
</Location>
<Policy default>
  <Limit All>
    Order deny,allow
  </Limit>
</Policy>
EOF
    # The PDF back end reads the settings named by its device address from /etc/cups: this
    # queue's own, so that its files land in this run's folder.
    ts_cups_pdf_conf=/etc/cups/cups-pdf-$name.conf
    printf 'Out %s\nSpool %s\n' "$d/pdf" "$d/pdfspool" >"$ts_cups_pdf_conf"
    # Uneven margins on every paper size, as a real printer has: the printable area then stands
    # apart from the sheet, on which the PDF shows it.
    awk -F'"' -v OFS='"' '/^\*ImageableArea/ { split($2, a, " ");
        $2 = (a[1] + 18) " " (a[2] + 72) " " (a[3] - 36) " " (a[4] - 36) } { print }' "$ppd" \
        >"$d/printer.ppd"
    /usr/sbin/cupsd -f -c "$d/cupsd.conf" -s "$d/cups-files.conf" >"$d/cupsd.out" 2>&1 &
    ts_cups_pid=$!
    export CUPS_SERVER=$d/cups.sock
    for _ in $(seq 100); do [ -S "$CUPS_SERVER" ] && break; sleep 0.1; done
    if ! /usr/sbin/lpadmin -p TintsnatchPDF -E -v "cups-pdf:/$name" -P "$d/printer.ppd" \
        >/dev/null 2>&1 || ! /usr/sbin/lpadmin -d TintsnatchPDF >/dev/null 2>&1; then
        echo "printer-session: the PDF printer could not be set up:" >&2
        cat "$d/cupsd.out" "$d/error_log" >&2 2>/dev/null || true
        printer_stop
        unset CUPS_SERVER
        return 0
    fi
    export TS_PRINT_OUT=$d/pdf
}
ts_printer_start
