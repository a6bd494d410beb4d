#!/usr/bin/env bash
# Makes the Debian package from a built tree, as `cpack -G DEB` does, and checks it with Debian's
# own tools and against the files the installed tree must hold.
#   package_test.sh BUILD_DIR
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -G DEB -B "$work" > "$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; exit 1; }
deb=$(echo "$work"/tallyleaf_*.deb)

status=0
contents=$(dpkg-deb -c "$deb" | awk '{ print $6 }')
while read -r file; do
    grep -qx "\./usr/$file" <<< "$contents" || { echo "not in the package: $file"; status=1; }
done < "$(dirname "$0")/expected_files.txt"

if command -v lintian > /dev/null; then
    lintian --fail-on error,warning "$deb" || { echo "lintian finds faults"; status=1; }
else
    echo "lintian is not installed: the package is not checked against Debian's policy"
fi
if command -v appstreamcli > /dev/null; then
    # validate-tree validates the metadata and also finds the desktop entry it launches.
    dpkg-deb -x "$deb" "$work/root"
    appstreamcli validate-tree --no-net "$work/root" || status=1
else
    echo "appstreamcli is not installed: the AppStream metadata is not checked"
fi
[ "$status" -eq 0 ] && echo "package complete and clean"
exit "$status"
