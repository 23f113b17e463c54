#!/usr/bin/env bash
# Tests the source of the Qt DLLs written beside the zip and the installer: it holds Debian's
# source package of qtbase as scripts/qt-windows fetched it (the .dsc and its tarballs) and that
# script's patches, byte for byte, and the zip's licenses/Qt-source.txt names it.
# Usage: check-qt-source.sh ZIP SOURCE_TARBALL QT_DIR SOURCE_DIR
set -euo pipefail
zip=$1 tarball=$2 qt=$3 src=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

[ -s "$tarball" ] || fail "no $tarball"
file=$(basename "$tarball")
tar -C "$tmp" -xJf "$tarball"
dir=$tmp/${file%.tar.xz}
fetched=("$(dirname "$(readlink -f "$qt")")"/src/qt6-base_*)
[ ${#fetched[@]} -eq 3 ] || fail "expected the .dsc and two tarballs, found: ${fetched[*]}"
for f in "${fetched[@]}" "$src"/scripts/qt-windows-patches/*.patch; do
  copy=$(find "$dir" -name "$(basename "$f")")
  [ -n "$copy" ] || fail "$(basename "$f") is not in $file"
  cmp -s "$f" "$copy" || fail "$(basename "$f") differs from $f"
done

mkdir "$tmp/zip"
(cd "$tmp/zip" && cmake -E tar xf "$zip")
grep -q -F "$file" "$tmp"/zip/*/licenses/Qt-source.txt ||
  fail "the zip's licenses/Qt-source.txt does not name $file"
echo "ok: $file"
