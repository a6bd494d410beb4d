#!/usr/bin/env bash
# Inside an X server without a window manager: starts the program and opens its windows one after
# the other as a user would (keys, clicks, a double-click), saving a picture of each.
#   take_window_pictures.sh PROGRAM OUTPUT_FOLDER
set -euo pipefail
program=$1
out=$2

"$program" &
pid=$!
trap 'kill $pid 2>/dev/null || true' EXIT

# Saves the window titled TITLE, once it is up and painted, as OUTPUT_FOLDER/NAME.png.
picture() {
    local name=$1 title=$2 id
    id=$(timeout 20 xdotool search --sync --onlyvisible --name "^$title\$" | head -n 1)
    sleep 1.5
    import -window "$id" "$out/$name.png"
    echo "$out/$name.png"
}

# A click at (x, y) of the main window's inner area, below its menu bar.
click() {
    xdotool mousemove --window "$main" "$1" "$(($2 + menu))" click --repeat "${3:-1}" 1
}

main=$(timeout 30 xdotool search --sync --onlyvisible --name "^TUL Tallyleaf" | head -n 1)
menu=$(($(xdotool getwindowgeometry "$main" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\)/\1/p') - 650))
sleep 3  # the booklist's one-second pause and the first fill
picture main-window "TUL Tallyleaf.*"

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
