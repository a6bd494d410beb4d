#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test:
#   1. a clang tree with AddressSanitizer and UBSan: the unit tests, then each fuzz target for a
#      bounded time;
#   2. the main gcc tree with the desktop program: every test. Its ctest summary ends the output.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
bash scripts/setup.sh
mkdir -p build
fuzz_seconds=${TALLYLEAF_FUZZ_SECONDS:-30}
jobs=$(nproc)

echo "== Sanitizer build (clang, ASan + UBSan)"
CC=clang CXX=clang++ bash scripts/build.sh build/sanitize -DCMAKE_BUILD_TYPE=Debug \
    -DTALLYLEAF_SANITIZE=ON -DTALLYLEAF_FUZZ=ON -DTALLYLEAF_GUI=OFF -DTALLYLEAF_BENCHMARKS=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build/sanitize -L unit --output-on-failure -j "$jobs"

echo "== Fuzzing, ${fuzz_seconds}s per target"
find build/sanitize/fuzz -type f -name 'fuzz_*' -perm -u+x | sort | while read -r target; do
    name=$(basename "$target")
    corpus="$root/build/sanitize/corpus/$name"
    mkdir -p "$corpus"
    seeds="$root/fuzz/seeds/$name"
    [ -d "$seeds" ] || seeds=""
    echo "-- $name"
    "$target" -max_total_time="$fuzz_seconds" -max_len=65536 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 "$corpus" $seeds > "build/sanitize/$name.log" 2>&1 ||
        { tail -n 60 "build/sanitize/$name.log"; echo "$name found a fault"; exit 1; }
    grep -E 'stat::number_of_executed_units' "build/sanitize/$name.log" || true
done

echo "== Main build (gcc)"
bash scripts/build.sh build/main -DCMAKE_BUILD_TYPE=RelWithDebInfo
unset ASAN_OPTIONS UBSAN_OPTIONS
set +e
ctest --test-dir build/main --output-on-failure -j "$jobs" 2>&1 | tee build/main/ctest.log
status=${PIPESTATUS[0]}
set -e
# ctest prints timings and lists after its summary; the summary line is repeated to end the output.
echo
grep -E '^[0-9]+% tests passed' build/main/ctest.log | tail -n 1
exit "$status"
