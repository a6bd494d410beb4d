#!/usr/bin/env bash
# Times whole runs of the command-line program side by side with reference programs, with
# hyperfine, the files in the page cache, and prints the ratios; then the desktop book list's
# offscreen timings when that benchmark is built. Builds nothing.
#
#   bench/run_all.sh BUILD_FOLDER [WORK_FOLDER]
#
# BUILD_FOLDER is a Release build tree (cmake -DCMAKE_BUILD_TYPE=Release; ninja). WORK_FOLDER
# defaults to /tmp/tallyleaf-bench-all (about 200 MB; kept between runs, since the data is the
# same every time). TALLYLEAF_BENCH_RUNS sets each command's runs, taken in three rounds
# (default 10, rounded up to a multiple of three); TALLYLEAF_BENCH_BEFORE, the path of an earlier
# tallyleaf-cli, adds it to every round, so that a change is measured before and after under the
# same load. Not part of the tests.
set -euo pipefail

here="$(cd "$(dirname "$0")" && pwd)"
build="$(realpath "${1:?usage: bench/run_all.sh BUILD_FOLDER [WORK_FOLDER]}")"
work="${2:-/tmp/tallyleaf-bench-all}"
runs="${TALLYLEAF_BENCH_RUNS:-10}"
cli="$build/src/cli/tallyleaf-cli"
make_booklist="$build/bench/tallyleaf_make_booklist"
gui_bench="$build/bench/gui/tallyleaf_gui_bench"
for tool in hyperfine yaz-marcdump python3; do
  command -v "$tool" > /dev/null || { echo "$tool is missing (scripts/setup.sh installs it)" >&2; exit 1; }
done
[ -x "$cli" ] || { echo "no $cli: build the tree first" >&2; exit 1; }

mkdir -p "$work"
for size in 100000 500000; do
  if [ ! -s "$work/$size/Catalogue.mrc" ]; then
    echo "generating $size records in $work/$size ..." >&2
    python3 "$here/compare/make_bench_data.py" "$work/$size" "$size" 10000
  fi
done
# The 100,000-record catalogue as MARCXML, as yaz-marcdump writes it (178 MB).
if [ ! -s "$work/100000/Catalogue.xml" ]; then
  yaz-marcdump -o marcxml "$work/100000/Catalogue.mrc" > "$work/100000/Catalogue.xml"
fi
# The 100,000-record catalogue with a booklist whose authors the catalogue never has.
nomatch="$work/nomatch"
if [ ! -s "$nomatch/Booklist.tul" ]; then
  mkdir -p "$nomatch"
  awk -F'\t' 'BEGIN { OFS = "\t" } NR > 1 { $3 = "Nobody" $3 } { print }' \
    "$work/100000/Booklist.tul" > "$nomatch/Booklist.tul"
  cp "$work/100000/TULVersion.txt" "$nomatch/"
fi
ln -sf "$work/100000/Catalogue.mrc" "$nomatch/Catalogue.mrc"
for size in 100000 5000; do
  if [ ! -s "$work/list$((size / 1000))k/Booklist.tul" ]; then
    "$make_booklist" "$work/list$((size / 1000))k" "$size" 0
    printf 'bench\r\n' > "$work/list$((size / 1000))k/TULVersion.txt"
  fi
done

results="$work/results"
mkdir -p "$results"
rm -f "$results"/*.json
# Runs one hyperfine comparison in FOLDER, in rounds that take the commands in turn in a different
# order each time: the machine's neighbours come and go, and a burst of their work would
# otherwise fall on one command's block of runs alone. The summary pools each command's runs.
rounds=3
round_runs=$(( (runs + rounds - 1) / rounds ))
compare() {
  local name="$1" folder="$2" reference="$3" ours="$4" floor="${5:-}"
  local commands=(-n reference "$reference")
  if [ -n "$floor" ]; then
    commands+=(-n floor "$floor")
  fi
  if [ -n "${TALLYLEAF_BENCH_BEFORE:-}" ]; then
    commands+=(-n before "${ours/$cli/$(realpath "$TALLYLEAF_BENCH_BEFORE")}")
  fi
  commands+=(-n tallyleaf "$ours")
  local count=$(( ${#commands[@]} / 3 ))
  (cd "$folder" && cat -- * > /dev/null 2>&1 || true
   for ((round = 0; round < rounds; round++)); do
     local ordered=()
     for ((i = 0; i < count; i++)); do
       local at=$(( ((i + round) % count) * 3 ))
       ordered+=("${commands[@]:at:3}")
     done
     hyperfine -N --warmup 1 --runs "$round_runs" --style basic \
       --export-json "$results/$name.$round.json" "${ordered[@]}"
   done)
}

# The floor: a bare walk of the file, its records, their directories and fields' first bytes.
bare="$build/bench/compare/tallyleaf_bare_scan Catalogue.mrc"
compare c500k "$work/500000" "yaz-marcdump -n Catalogue.mrc" "$cli compare Catalogue.mrc" "$bare"
compare c100k "$work/100000" "yaz-marcdump -n Catalogue.mrc" "$cli compare Catalogue.mrc" "$bare"
compare nomatch "$nomatch" "yaz-marcdump -n Catalogue.mrc" "$cli compare Catalogue.mrc"
# Builds before this one read no MARCXML.
TALLYLEAF_BENCH_BEFORE= compare xml100k "$work/100000" "yaz-marcdump -i marcxml -n Catalogue.xml" "$cli compare Catalogue.xml"
csv_split="python3 -c \"import csv, sys; [r for r in csv.reader(open('Booklist.tul', newline='', encoding='latin-1'), delimiter='\t', quoting=csv.QUOTE_NONE)]\""
compare export "$work/list100k" "$csv_split" "$cli export --fields id out.csv"
compare exportdefault "$work/list100k" "$csv_split" "$cli export out.csv"
# Printing has no program of another's to measure against: the earlier build is the reference when
# there is one, and the print is timed alone otherwise.
if [ -n "${TALLYLEAF_BENCH_BEFORE:-}" ]; then
  TALLYLEAF_BENCH_BEFORE= compare print5k "$work/list5k" \
    "$(realpath "$TALLYLEAF_BENCH_BEFORE") print --pdf out.pdf" "$cli print --pdf out.pdf"
else
  (cd "$work/list5k" && hyperfine -N --warmup 1 --runs "$runs" --style basic \
     --export-json "$results/print5k.alone.json" -n tallyleaf "$cli print --pdf out.pdf")
fi

echo
python3 - "$results" <<'PY'
import glob, json, statistics, sys
rows = [("c500k", "compare, 500,000 records, vs yaz-marcdump -n", 4.0),
        ("c100k", "compare, 100,000 records, vs yaz-marcdump -n", 3.0),
        ("nomatch", "compare, 100,000 records, nothing matched, vs yaz-marcdump -n", 2.5),
        ("xml100k", "compare, 100,000 MARCXML records, vs yaz-marcdump -i marcxml -n", 1.0),
        ("export", "export --fields id, 100,000 entries, vs Python csv split", 2.0),
        ("exportdefault", "export, default fields, 100,000 entries, vs Python csv split", 4.0),
        ("print5k", "print --pdf, 5,000 entries, vs TALLYLEAF_BENCH_BEFORE", 2.2)]
floors = []
print(f"| {'Work':62} | {'reference':>11} | {'before':>17} | {'tallyleaf':>11} | {'ratio':>6} | goal |")
print(f"|{'-' * 64}|{'-' * 13}|{'-' * 19}|{'-' * 13}|{'-' * 8}|------|")
for name, label, goal in rows:
    times = {}
    for part in sorted(glob.glob(f"{sys.argv[1]}/{name}.*.json")):
        for result in json.load(open(part))["results"]:
            times.setdefault(result["command"], []).extend(result["times"])
    median = {command: statistics.median(runs) for command, runs in times.items()}
    ours = median["tallyleaf"]
    if "reference" not in median:
        print(f"| {label:62} | {'-':>11} | {'-':>17} | {ours * 1000:8.0f} ms | {'-':>6} | {goal}x |")
        continue
    ref = median["reference"]
    was = "-"
    if "before" in median:
        old = median["before"]
        was = f"{old * 1000:.0f} ms ({ref / old:.2f}x)"
    print(f"| {label:62} | {ref * 1000:8.0f} ms | {was:>17} | {ours * 1000:8.0f} ms | {ref / ours:5.2f}x | {goal}x |")
    if "floor" in median:
        floors.append(f"{label.split(', vs')[0]}: {ours / median['floor']:.2f}x the bare scan's"
                      f" {median['floor'] * 1000:.0f} ms (goal <= 2.0x)")
print("(medians of every round's runs; ratio = reference time / tallyleaf time, above 1 means")
print(" tallyleaf is faster)")
for line in floors:
    print(line)
PY

# The review's share of a 500,000-record comparison: the same run with it and without it, in turn.
"$build/bench/compare/tallyleaf_review_share" "$work/500000" "$work/500000/Catalogue.mrc" "$runs" |
  sed 's/$/ (goal <= 3%)/'

peak_kb() { (cd "$1" && /usr/bin/time -f "%M" "$cli" compare Catalogue.mrc 2>&1 > /dev/null | tail -1); }
echo "peak memory of a comparison: $(peak_kb "$work/100000") KB at 100,000 records," \
  "$(peak_kb "$work/500000") KB at 500,000 records"
peak_xml_kb() { (cd "$1" && /usr/bin/time -f "%M" "$cli" compare Catalogue.xml 2>&1 > /dev/null | tail -1); }
echo "peak memory of a MARCXML comparison: $(peak_xml_kb "$work/100000") KB at 100,000 records"

# Loading a booklist is to take at most three times the file's size and 64 MB: the worst case
# is one very long line, whose title is kept with its key in the list and again in the indexes.
mkdir -p "$work/longline"
python3 -c 'import sys; sys.stdout.buffer.write(b"1\t" + b"Quokka " * (100 << 20 >> 3) + b"\tFox, Mem\r\n")' \
  > "$work/longline/Booklist.tul"
for list in longline 100000; do
  bytes=$(stat -c %s "$work/$list/Booklist.tul")
  kb=$(cd "$work/$list" && /usr/bin/time -f "%M" "$cli" export --match matched out.csv 2>&1 > /dev/null | tail -1)
  echo "peak memory of loading $list/Booklist.tul ($((bytes >> 20)) MB): $((kb >> 10)) MB" \
    "(goal <= $((3 * bytes / 1048576 + 64)) MB)"
done

if [ -x "$gui_bench" ]; then
  out="$("$gui_bench" 100000 2>/dev/null)"
  echo "$out" | grep -E "FillBookList" | sed 's/.*: \([0-9.]*\) ms/\1/' | sort -n |
    awk '{ a[NR] = $1 } END { printf "FillBookList, 100,000 entries, every filter open: best %s ms, median %s ms (goal < 100)\n", a[1], a[int((NR + 1) / 2)] }'
  echo "$out" | grep -E "heading click Title" | sed 's/.*: \([0-9.]*\) ms/\1/' | sort -n |
    awk '{ a[NR] = $1 } END { printf "heading click Title, 100,000 entries: best %s ms, worst %s ms (goal < 50)\n", a[1], a[NR] }'
else
  echo "desktop benchmark not built ($gui_bench): book list timings skipped"
fi
