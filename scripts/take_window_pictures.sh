#!/usr/bin/env bash
# Inside an X server with no window manager of its own (Xvfb): starts a small window manager
# (openbox), so that windows have their frames and title bars as on a desktop, then starts the
# program and opens its windows one after the other as a user would (keys, clicks, a
# double-click), saving a picture of each. The main window is taken with its frame and title, the
# other windows without.
#   take_window_pictures.sh PROGRAM OUTPUT_FOLDER
set -euo pipefail
program=$1
out=$2

flag=$(mktemp -d)
openbox --sm-disable --startup "touch $flag/ready" > /dev/null 2>&1 &
wm=$!
pid=""
trap 'kill $pid $wm 2>/dev/null || true; rm -rf "$flag"' EXIT
for _ in $(seq 1 100); do
    [ -e "$flag/ready" ] && break
    sleep 0.1
done
[ -e "$flag/ready" ] || { echo "openbox did not start" >&2; exit 1; }

"$program" &
pid=$!

# Saves the window titled TITLE, once it is up and painted, as OUTPUT_FOLDER/NAME.png; with a
# third argument "frame", with the window manager's frame and title bar around it.
picture() {
    local name=$1 title=$2 id frame=()
    if [ "${3:-}" = frame ]; then frame=(-frame); fi
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
    sleep 1.5
    import "${frame[@]}" -window "$id" "$out/$name.png"
    echo "$out/$name.png"
}

# A click at (x, y) of the main window's inner area, below its menu bar.
click() {
    xdotool mousemove --window "$main" "$1" "$(($2 + menu))" click --repeat "${3:-1}" 1
}

main=$(timeout 30 xdotool search --sync --onlyvisible --name "^TUL Tallyleaf" | head -n 1)
menu=$(($(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\)/\1/p') - 650))
sleep 3  # the booklist's one-second pause and the first fill
picture main-window "TUL Tallyleaf.*" frame

xdotool key F5
picture compare "Compare Library Data"
xdotool key Escape

click 300 85 2  # a double-click on the first book
picture item-details "Item Details"
xdotool key Escape

xdotool mousemove --window "$main" 45 10 click 1  # the Help menu
sleep 0.5
xdotool key Down Down Return  # its second item
picture about "About TUL Tallyleaf"
xdotool key Escape

click 208 608  # Export
picture export-list "Export List"
# The Export window binds no key to Cancel: its Cancel button, 320 x 480 less its margins.
export=$(xdotool search --onlyvisible --name "^Export List\$" | head -n 1)
xdotool mousemove --window "$export" 275 462 click 1

xdotool key F7
picture print "Print"
xdotool key Escape

click 370 608  # New books
picture new-books "New books"
xdotool key Escape

xdotool key F6  # the matches of the comparison the samples were given
picture review-matches "Review matches"
xdotool key Escape
