#!/usr/bin/env bash
# Writes the source of the Qt DLLs that the zip and the installer ship, to be published beside
# them: OUT (qt6-base-<version>-source.tar.xz), a folder of that name holding Debian's source
# package of qtbase as scripts/qt-windows fetched it (the .dsc, the original tarball and the debian
# tarball with Debian's patches), the patches that script applies, the script itself and a
# README.txt that says how they make the source that was built.
# Usage: make-qt-source.sh QT_DIR SOURCE_DIR OUT
set -euo pipefail
qt=$1 src=$2 out=$3
cache=$(dirname "$(readlink -f "$qt")")/src
dsc=$(find "$cache" -maxdepth 1 -name 'qt6-base_*.dsc' | head -1)
[ -n "$dsc" ] || { echo "no Debian source package of qtbase in $cache" >&2; exit 1; }
name=$(basename "$out" .tar.xz)
stage=$(dirname "$out")/qt-source-stage
rm -rf "$stage"
mkdir -p "$stage/$name/kalvora-patches"

# The .dsc and the files it lists, checked against its SHA-256 sums.
cp "$dsc" "$stage/$name/"
sed -n '/^Checksums-Sha256:/,/^[^ ]/s/^ \([0-9a-f]\{64\}\) [0-9]* \(.*\)$/\1  \2/p' "$dsc" |
  while read -r sum file; do
    cp "$cache/$file" "$stage/$name/"
    echo "$sum  $file"
  done >"$stage/sums"
(cd "$stage/$name" && sha256sum --quiet -c ../sums)
cp "$src"/scripts/qt-windows-patches/*.patch "$stage/$name/kalvora-patches/"
cp "$src/scripts/qt-windows" "$stage/$name/qt-windows.sh"

sed 's/$/\r/' >"$stage/$name/README.txt" <<TEXT
The source of the Qt DLLs shipped with Kalvora for Windows.

$(basename "$dsc") and the tarballs beside it are Debian 12's source package of qtbase: Qt's
source and, in the debian tarball, Debian's patches. On a Debian system

    dpkg-source -x $(basename "$dsc")

unpacks it and applies Debian's patches. The patches in kalvora-patches/ are then applied to
that folder (patch -p1), and qt-windows.sh (scripts/qt-windows in Kalvora's source) is the
recipe that built the DLLs from it, with Debian's MinGW-w64 cross compiler.
TEXT
tar -C "$stage" -cf - "$name" | xz -0 -T2 >"$out"
rm -rf "$stage"
