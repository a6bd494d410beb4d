#!/bin/sh
# Runs a command beside a CUPS scheduler of its own: its own configuration, spool and socket
# under a fresh folder, reached through CUPS_SERVER, with one cups-pdf queue as its default
# printer. The machine's scheduler and default printer are left alone. Job files are kept in the
# spool, whose folder the command finds in TALLYLEAF_TEST_CUPS_SPOOL, and the queue's name is in
# TALLYLEAF_TEST_PRINTER. When that scheduler cannot be had, says why and exits 77 (skipped).
set -u
queue=TallyleafTest
root=$(mktemp -d "${TMPDIR:-/tmp}/tallyleaf-cups.XXXXXX") || exit 1
pid=
cleanup() {
    if [ -n "$pid" ]; then
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    fi
    # cups-pdf writes its own copy of each job into the user's PDF folder, named after the job's
    # title; the program's jobs are titled "ZPRINTnnn.TMP".
    if [ -d "${HOME:-/nonexistent}/PDF" ]; then
        find "$HOME/PDF" -maxdepth 1 -name 'ZPRINT*.TMP*-job_*.pdf' -newer "$root/cupsd.conf" \
            -delete 2>/dev/null
    fi
    rm -rf "$root"
}
trap cleanup EXIT
skip() {
    echo "Skipped: no CUPS scheduler of the test's own: $1"
    exit 77
}

[ -x /usr/sbin/cupsd ] || skip "/usr/sbin/cupsd is not installed (Debian package cups)"
ppd=/usr/share/ppd/cups-pdf/CUPS-PDF_opt.ppd
[ -r "$ppd" ] || skip "$ppd is missing (Debian package printer-driver-cups-pdf)"

mkdir -p "$root/spool/tmp" "$root/cache" "$root/state" "$root/log" "$root/ppd"
cat >"$root/cupsd.conf" <<CONF
Listen $root/cups.sock
Browsing No
WebInterface No
PreserveJobFiles Yes
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
CONF
cat >"$root/cups-files.conf" <<CONF
ServerRoot $root
RequestRoot $root/spool
TempDir $root/spool/tmp
CacheDir $root/cache
StateDir $root/state
AccessLog $root/log/access_log
ErrorLog $root/log/error_log
PageLog $root/log/page_log
Sandboxing Relaxed
CONF

/usr/sbin/cupsd -f -c "$root/cupsd.conf" -s "$root/cups-files.conf" >"$root/log/stdout" 2>&1 &
pid=$!
export CUPS_SERVER="$root/cups.sock"
tries=0
until lpstat -r 2>/dev/null | grep -q "scheduler is running"; do
    if ! kill -0 "$pid" 2>/dev/null; then
        pid=
        skip "cupsd ended at once: $(cat "$root/log/stdout" "$root/log/error_log" 2>/dev/null | tail -n 3)"
    fi
    tries=$((tries + 1))
    [ "$tries" -le 100 ] || skip "cupsd did not answer within ten seconds"
    sleep 0.1
done
# The queue prints on both sides and in three qualities, so that every choice of Preferences is
# one it takes.
{
    cat "$ppd"
    cat <<PPD
*OpenUI *Duplex/Two-Sided Printing: PickOne
*DefaultDuplex: None
*Duplex None/Off: ""
*Duplex DuplexNoTumble/Long Edge: ""
*Duplex DuplexTumble/Short Edge: ""
*CloseUI: *Duplex
*OpenUI *cupsPrintQuality/Print Quality: PickOne
*DefaultcupsPrintQuality: Normal
*cupsPrintQuality Draft/Draft: ""
*cupsPrintQuality Normal/Normal: ""
*cupsPrintQuality High/High: ""
*CloseUI: *cupsPrintQuality
PPD
} >"$root/ppd/queue.ppd"
lpadmin -p "$queue" -v cups-pdf:/ -P "$root/ppd/queue.ppd" -E -o printer-is-shared=false 2>/dev/null &&
    cupsenable "$queue" && cupsaccept "$queue" && lpadmin -d "$queue" ||
    skip "the cups-pdf queue could not be added"

TALLYLEAF_TEST_CUPS_SPOOL="$root/spool" TALLYLEAF_TEST_PRINTER="$queue" "$@"
