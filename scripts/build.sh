#!/usr/bin/env bash
# Configures and builds one tree: build.sh DIR [cmake options...]
set -euo pipefail
dir=$1
shift
cmake -S "$(dirname "$0")/.." -B "$dir" -G Ninja "$@" > "$dir.configure.log" 2>&1 ||
    { cat "$dir.configure.log"; exit 1; }
ninja -C "$dir"
