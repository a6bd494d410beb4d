#!/usr/bin/env bash
# Installs what is missing, builds, and runs Tallyleaf on the bundled sample data.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
mkdir -p build
bash scripts/build.sh build/release -DCMAKE_BUILD_TYPE=Release -DTALLYLEAF_TESTS=OFF \
    -DTALLYLEAF_BENCHMARKS=OFF

out="$root/build/sample-export.csv"
build/release/src/cli/tallyleaf-cli export --dir samples "$out"
echo "Exported the sample booklist to: $out"
