#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a package would hold.
#   installed_tree_test.sh BUILD_DIR
set -euo pipefail
build=$1
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
cmake --install "$build" --prefix "$prefix" > "$prefix.log" 2>&1 || { cat "$prefix.log"; exit 1; }
rm -f "$prefix.log"

status=0
while read -r file; do
    if [ ! -s "$prefix/$file" ]; then echo "missing: $file"; status=1; fi
done < "$(dirname "$0")/expected_files.txt"
for program in bin/tallyleaf bin/tallyleaf-cli libexec/tallyleaf/tallyleaf-cli-print; do
    [ -x "$prefix/$program" ] || { echo "not executable: $program"; status=1; }
done
desktop=$prefix/share/applications/io.github.tallyleaf.Tallyleaf.desktop
desktop-file-validate "$desktop" || status=1
grep -q '^Exec=tallyleaf$' "$desktop" || { echo "Exec"; status=1; }
# Each man page renders without a warning and has every section a reader looks for.
for page in tallyleaf-cli tallyleaf; do
    source=$prefix/share/man/man1/$page.1.gz
    warnings=$(zcat "$source" | groff -ww -man -Tutf8 2>&1 >/dev/null)
    [ -z "$warnings" ] || { echo "$page.1: $warnings"; status=1; }
    text=$(man -l "$source" 2>/dev/null)
    for section in NAME SYNOPSIS DESCRIPTION OPTIONS FILES "EXIT STATUS" ENVIRONMENT EXAMPLES; do
        grep -q "^$section" <<<"$text" || { echo "$page.1 has no $section"; status=1; }
    done
    grep -q "TALLYLEAF_DIR" <<<"$text" || { echo "$page.1 does not name TALLYLEAF_DIR"; status=1; }
done
"$prefix/bin/tallyleaf-cli" --version | grep -q "^tallyleaf-cli " || { echo "cli"; status=1; }
# The print command runs its own program from the installed tree.
(cd "$prefix" && "$prefix/bin/tallyleaf-cli" print --dir "$prefix/share/tallyleaf" --pdf "$prefix/list.pdf" &&
    [ -s "$prefix/list.pdf" ]) || { echo "print from the installed tree"; status=1; }
[ "$status" -eq 0 ] && echo "installed tree complete"
exit "$status"
