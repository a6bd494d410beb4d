#!/usr/bin/env bash
# Inside an X server without a window manager: starts the program, waits until its main window has
# loaded the booklist, saves the window (the screen cropped to it) and ends the program.
# screenshot.sh PROGRAM OUTPUT.png
set -euo pipefail
program=$1
out=$2
convert=/usr/bin/convert  # ImageMagick's, not another convert on the PATH
raw=$(mktemp --suffix=.png)
runtime=""
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    runtime=$(mktemp -d)  # mode 0700, as Qt wants it
    export XDG_RUNTIME_DIR=$runtime
fi
trap 'rm -f "$raw"; if [ -n "$runtime" ]; then rm -rf "$runtime"; fi' EXIT

"$program" &
pid=$!

# The window appears first; the list is filled after the booklist has loaded (about a second).
for _ in $(seq 1 150); do
    sleep 0.2
    kill -0 "$pid" 2>/dev/null || { echo "Tallyleaf ended before its window appeared" >&2; exit 1; }
    import -window root "$raw" 2>/dev/null || continue
    if [ "$("$convert" "$raw" -format '%[fx:standard_deviation>0]' info:)" = 1 ]; then break; fi
done
sleep 4
import -window root "$raw"
"$convert" "$raw" -trim +repage "$out"
kill "$pid"
wait "$pid" 2>/dev/null || true
