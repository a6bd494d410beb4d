#!/usr/bin/env bash
# Takes a picture of every window of the desktop program for the manual and the README, from a
# real run under Xvfb (with openbox as its window manager, for the main window's title bar) on the
# sample data, so that they can be made again when a window changes.
#   bash scripts/manual_screenshots.sh [BUILD_DIR]      (default build/release, built first)
# Writes docs/main-window.png, compare.png, item-details.png, about.png, export-list.png,
# print.png, new-books.png and review-matches.png.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build=${1:-build/release}
if [ $# -eq 0 ]; then
    bash scripts/setup.sh
    mkdir -p build
    bash scripts/build.sh "$build" -DCMAKE_BUILD_TYPE=Release -DTALLYLEAF_TESTS=OFF \
        -DTALLYLEAF_BENCHMARKS=OFF
fi
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT

# A copy of the program of its own, on the samples, with the sample catalogue compared. A server
# on a free port offers a list of new books (some of the sample booklist's IDs) and no booklist,
# so that the start-up update leaves the compared booklist as it is.
cp "$build/src/app/tallyleaf" "$build/src/app/Tallyleaf.pdf" samples/Booklist.tul \
    samples/TULVersion.txt "$work/"
"$build/src/cli/tallyleaf-cli" compare --dir "$work" samples/Catalogue.mrc > /dev/null
mkdir -p "$work/server/Tallyleaf"
awk -F '\t' 'NR > 1 && NR % 23 == 0 { print $1 }' samples/Booklist.tul \
    > "$work/server/Tallyleaf/TULNewBooks.txt"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
python3 -m http.server --bind 127.0.0.1 --directory "$work/server" "$port" > /dev/null 2>&1 &
export TALLYLEAF_SERVER_URL="http://127.0.0.1:$port/Tallyleaf/"
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
# A print queue of its own, so that the Print window lists a printer and the machine's are left
# alone.
sh tests/support/with_own_cupsd.sh xvfb-run -a -s "-screen 0 1280x1024x24" \
    bash scripts/take_window_pictures.sh "$work/tallyleaf" docs
echo "Pictures of every window are in docs/"
