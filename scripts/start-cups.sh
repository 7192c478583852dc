#!/usr/bin/env bash
# A private CUPS server for the printing tests: its own configuration, spool
# and socket in DIR, one queue "pixoran3-pdf" on the generic PDF driver that
# writes every job to DIR/out/print.pdf, made the default printer.
#   scripts/start-cups.sh DIR          starts it; exits 1 when it cannot
#   scripts/start-cups.sh --stop DIR   stops the server started in DIR
# Tests reach it through CUPS_SERVER=DIR/cups.sock. cupsd runs as root.
set -euo pipefail

if [ "${1:-}" = "--stop" ]; then
  dir="$2"
  if [ -f "$dir/cupsd.pid" ]; then
    kill "$(cat "$dir/cupsd.pid")" 2>/dev/null || true
    rm -f "$dir/cupsd.pid"
  fi
  exit 0
fi

dir="$(mkdir -p "$1" && cd "$1" && pwd)"
cupsd=/usr/sbin/cupsd
ppd=lsb/usr/cupsfilters/Generic-PDF_Printer-PDF.ppd
if [ ! -x "$cupsd" ] || ! command -v lpadmin >/dev/null || [ "$(id -u)" -ne 0 ]; then
  echo "start-cups: cupsd, lpadmin or root rights missing" >&2
  exit 1
fi
bash "$0" --stop "$dir"
rm -rf "$dir"/{etc,spool,tmp,cache,state,log,out}
mkdir -p "$dir"/{etc/ppd,spool,tmp,cache,state,log,out}
# The filters run as the lp user: they need a temporary folder and the
# output folder they can write.
chmod 1777 "$dir/tmp" "$dir/out"

cat >"$dir/etc/cups-files.conf" <<CONF
FileDevice Yes
ServerRoot $dir/etc
RequestRoot $dir/spool
TempDir $dir/tmp
CacheDir $dir/cache
StateDir $dir/state
ErrorLog $dir/log/error_log
AccessLog $dir/log/access_log
PageLog $dir/log/page_log
CONF
cat >"$dir/etc/cupsd.conf" <<CONF
Listen $dir/cups.sock
Browsing No
WebInterface No
LogLevel warn
<Location />
Order allow,deny
Allow all
</Location>
CONF

setsid "$cupsd" -f -c "$dir/etc/cupsd.conf" -s "$dir/etc/cups-files.conf" >"$dir/log/cupsd.out" 2>&1 &
echo $! >"$dir/cupsd.pid"
for _ in $(seq 50); do
  [ -S "$dir/cups.sock" ] && break
  sleep 0.1
done
if [ ! -S "$dir/cups.sock" ]; then
  echo "start-cups: cupsd did not start" >&2
  bash "$0" --stop "$dir"
  exit 1
fi
export CUPS_SERVER="$dir/cups.sock"
if ! lpadmin -p pixoran3-pdf -E -v "file://$dir/out/print.pdf" -m "$ppd" 2>/dev/null || ! lpadmin -d pixoran3-pdf; then
  echo "start-cups: the PDF queue could not be made" >&2
  bash "$0" --stop "$dir"
  exit 1
fi
echo "start-cups: queue pixoran3-pdf on $dir/cups.sock"
