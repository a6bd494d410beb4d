#!/usr/bin/env bash
# Times a whole comparison against parsing alone, on one generated catalogue read from the page
# cache, and compares peak memory at 50,000 and 500,000 records.
#
#   bench/compare/run_compare_bench.sh [CLI] [WORK_FOLDER] [DESKTOP_BENCH]
#
# CLI defaults to build-compare/src/cli/tallyleaf-cli, WORK_FOLDER to /tmp/tallyleaf-compare-bench
# (about 300 MB; kept between runs, since generating it takes a minute), DESKTOP_BENCH to
# build-compare-gui/bench/compare/tallyleaf_desktop_compare_bench, skipped when not built. Not
# part of the tests. Goals: the comparison at least 1.5 times as fast as `yaz-marcdump -n`, peak
# memory at 500,000 records within 10 MB of that at 50,000, and the desktop program's run, with
# its progress window, within 1.2 times the command-line run (the one-second pauses aside).
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
cli="$(realpath "${1:-$here/../../build-compare/src/cli/tallyleaf-cli}")"
work="${2:-/tmp/tallyleaf-compare-bench}"
desktop="${3:-$here/../../build-compare-gui/bench/compare/tallyleaf_desktop_compare_bench}"
runs="${TALLYLEAF_BENCH_RUNS:-5}"

for size in 50000 500000; do
  folder="$work/$size"
  if [ ! -s "$folder/Catalogue.mrc" ]; then
    echo "generating $size records in $folder ..." >&2
    python3 "$here/make_bench_data.py" "$folder" "$size" 10000
  fi
done

big="$work/500000"
small="$work/50000"
cat "$big/Catalogue.mrc" "$small/Catalogue.mrc" > /dev/null  # into the page cache
echo "catalogue: $(stat -c %s "$big/Catalogue.mrc") bytes, 500,000 records; booklist 10,000 entries"

# The fastest of several runs of a command, in seconds (wall clock), output thrown away.
fastest() {
  local best="" t
  for _ in $(seq "$runs"); do
    t=$( { TIMEFORMAT=%R; time "$@" > /dev/null 2>&1; } 2>&1 )
    if [ -z "$best" ] || awk "BEGIN{exit !($t < $best)}"; then best="$t"; fi
  done
  echo "$best"
}

peak_kb() { /usr/bin/time -f "%M" "$@" 2>&1 > /dev/null | tail -1; }

cd "$big"
t_cat=$(fastest cat Catalogue.mrc)
t_yaz=$(fastest yaz-marcdump -n Catalogue.mrc)
t_cli=$(fastest "$cli" compare Catalogue.mrc)
"$cli" compare Catalogue.mrc
printf '%-34s %8s s\n' "cat" "$t_cat" "yaz-marcdump -n (parse only)" "$t_yaz" \
  "tallyleaf-cli compare" "$t_cli"
awk "BEGIN{printf \"comparison speed / yaz-marcdump -n: %.2f (goal >= 1.5)\n\", $t_yaz / $t_cli}"

m_big=$(peak_kb "$cli" compare Catalogue.mrc)
cd "$small"
m_small=$(peak_kb "$cli" compare Catalogue.mrc)
echo "peak memory: ${m_small} KB at 50,000 records, ${m_big} KB at 500,000 records"
awk "BEGIN{printf \"difference: %.1f MB (goal <= 10)\n\", ($m_big - $m_small) / 1024}"

if [ -x "$desktop" ]; then
  # Both sides less a run over a catalogue of one record (a file without records is turned down
  # before the run): the command line's start and booklist load, the desktop's pauses, saving and
  # message.
  cd "$big"
  printf '00044nam a2200037   4500245000600000\036' > "$work/one-record.mrc"
  printf '10\037aX\036\035' >> "$work/one-record.mrc"
  t_start=$(fastest "$cli" compare "$work/one-record.mrc")
  best=$("$desktop" "$big" Catalogue.mrc "$runs" 2>/dev/null | sed -n 's/.*comparison \([0-9.]*\) s/\1/p')
  awk "BEGIN{printf \"desktop comparison %.3f s, command line %.3f s (%.3f s less %.3f s for a one-record catalogue): %.2f times (goal <= 1.2)\n\", $best, $t_cli - $t_start, $t_cli, $t_start, $best / ($t_cli - $t_start)}"
else
  echo "desktop benchmark not built ($desktop): desktop timing skipped"
fi
