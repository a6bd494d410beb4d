#!/usr/bin/env bash
# The layer-order checker on a small tree of its own: it names each include that runs up or
# sideways and each mutable static in booklist or app, by file and line, and nothing else.
set -euo pipefail
checker=$1
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree"/src/{base,print,compare,app}
printf '#include <vector>\n#include "cli/cli_args.h"\n' > "$tree/src/base/up.cpp"
printf '// #include "booklist/booklist.h"\n#  include "booklist/booklist.h"\n' \
    > "$tree/src/print/beside.cpp"
printf '#include "base/text.h"\n#include "print/page.h"\n#include "booklist/keys.h"\n' \
    > "$tree/src/compare/below.cpp"
printf 'int Count() {\n    static constexpr int step = 1;\n    static const int start = 0;\n    static int calls = 0;\n    return start + (calls += step);\n}\n' \
    > "$tree/src/app/counter.cpp"
printf 'namespace {\nconstexpr int Limit = 3;\nint shown = 0;\n}  // namespace\n' > "$tree/src/app/shown.cpp"

status=0
output=$(python3 "$checker" "$tree/src") || status=$?
expected='src/app/counter.cpp:4:
src/app/shown.cpp:3:
src/base/up.cpp:2:
src/print/beside.cpp:2:'
found=$(printf '%s\n' "$output" | sed -E 's/^(src\/[^:]+:[0-9]+:).*/\1/' | sort)
if [ "$status" -ne 1 ] || [ "$found" != "$expected" ]; then
    printf 'exit %s, output:\n%s\n' "$status" "$output"
    exit 1
fi
