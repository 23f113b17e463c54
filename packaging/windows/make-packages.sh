#!/usr/bin/env bash
# Writes what a Windows user downloads: OUT/kalvora-VERSION-windows-x64.zip (the program folder)
# and OUT/kalvora-VERSION-setup-x64.exe (an NSIS installer of the same folder).
# Usage: make-packages.sh KALVORA_EXE QT_DIR SOURCE_DIR OUT VERSION
# The folder holds kalvora.exe, exactly the DLLs it loads (Qt's and the MinGW runtime's, found by
# following the import tables from the program and from the two Qt plugins it loads: the platform
# plugin "windows" and the style "windowsvista"), Qt's German texts, a qt.conf that makes the
# folder Qt's prefix, and the licence texts.
set -euo pipefail
exe=$1 qt=$2 src=$3 out=$4 version=$5
name=kalvora-$version-windows-x64
stage=$out/stage/$name
rm -rf "$out/stage"
mkdir -p "$stage/platforms" "$stage/styles" "$stage/translations" "$stage/licenses"

cxx=x86_64-w64-mingw32-g++-posix
dirs=("$qt/bin" "$(dirname "$($cxx -print-file-name=libstdc++-6.dll)")"
      "$(dirname "$($cxx -print-file-name=libwinpthread-1.dll)")")
install -m 644 "$exe" "$stage/kalvora.exe"
install -m 644 "$qt/plugins/platforms/qwindows.dll" "$stage/platforms/"
install -m 644 "$qt/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"

# Follows the import tables; a DLL found in none of the folders is one of Windows' own.
pending=("$stage/kalvora.exe" "$stage/platforms/qwindows.dll" "$stage/styles/qwindowsvistastyle.dll")
while [ ${#pending[@]} -gt 0 ]; do
  file=${pending[0]}
  pending=("${pending[@]:1}")
  for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
    [ -e "$stage/$dll" ] && continue
    for dir in "${dirs[@]}"; do
      if [ -e "$dir/$dll" ]; then
        install -m 644 "$dir/$dll" "$stage/$dll"
        pending+=("$stage/$dll")
        break
      fi
    done
  done
done
find "$stage" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded

install -m 644 /usr/share/qt6/translations/qtbase_de.qm "$stage/translations/"
printf '[Paths]\r\nPrefix = .\r\n' >"$stage/qt.conf"

# Licence texts, with CR LF line ends for Windows' editors.
crlf() { sed 's/\r*$/\r/' "$1" >"$stage/licenses/$2"; }
qtsrc=$(find "$(dirname "$(readlink -f "$qt")")/src" -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
crlf "$src/packaging/copyright" Kalvora.txt
crlf "$qtsrc/LICENSES/LGPL-3.0-only.txt" Qt-LGPL-3.0.txt
crlf "$qtsrc/LICENSES/GPL-3.0-only.txt" Qt-GPL-3.0.txt
crlf "$qtsrc/debian/copyright" Qt-copyright.txt
crlf /usr/share/doc/gcc-mingw-w64-x86-64-posix-runtime/copyright MinGW-GCC-runtime.txt
crlf /usr/share/doc/mingw-w64-x86-64-dev/copyright MinGW-w64-winpthreads.txt
crlf "$src/scripts/qt-windows" Qt-build-recipe.sh.txt
for patch in "$src"/scripts/qt-windows-patches/*.patch; do
  crlf "$patch" "Qt-$(basename "$patch").txt"
done
translations_version=$(dpkg-query -W -f='${Version}' qt6-translations-l10n)
qt_debian_version=$(grep -m1 -o '([^)]*)' "$qtsrc/debian/changelog" | tr -d '()')
qt_source=qt6-base-${qt_debian_version%%+*}-source.tar.xz # written by make-qt-source.sh
sed 's/$/\r/' >"$stage/licenses/Qt-source.txt" <<TEXT
Kalvora uses the Qt libraries (Qt 6.4.2: Qt6Core.dll, Qt6Gui.dll, Qt6Widgets.dll and the plugins
in platforms\ and styles\) under the GNU Lesser General Public License version 3
(Qt-LGPL-3.0.txt, which adds to Qt-GPL-3.0.txt); Qt-copyright.txt lists the copyright holders and
the licences of the libraries Qt contains (FreeType, HarfBuzz, PCRE2, zlib, libpng and others).
You may replace these DLLs with your own build of Qt 6.4 or later.

Source code: these DLLs are built from Debian 12's source package qt6-base, version
$qt_debian_version (Qt's source with Debian's patches), with the build recipe in
Qt-build-recipe.sh.txt (the script scripts/qt-windows of Kalvora's source) and the patches it
applies (Qt-*.patch.txt). $qt_source, published beside this zip and the installer
wherever they are offered for download, holds that source package as it was built (its .dsc,
the original tarball and the debian tarball with Debian's patches), the recipe and its patches.
qtbase_de.qm in translations\ comes from Debian's
qt6-translations-l10n ($translations_version). The MinGW-w64 runtime DLLs (libstdc++-6.dll,
libgcc_s_seh-1.dll, libwinpthread-1.dll) come from Debian's gcc-mingw-w64 and mingw-w64
packages; see MinGW-GCC-runtime.txt and MinGW-w64-winpthreads.txt.
TEXT

rm -f "$out/$name.zip"
(cd "$out/stage" && cmake -E tar cf "../$name.zip" --format=zip "$name")

# The installer: NSIS script with the folder's files listed one by one, so that the uninstaller
# removes exactly what was installed.
{
  while read -r dir; do
    echo "SetOutPath \"\$INSTDIR${dir:+\\${dir//\//\\}}\""
    find "$stage/$dir" -maxdepth 1 -type f -printf 'File "%p"\n'
  done < <(cd "$stage" && find . -type d | sed 's|^\./\?||' | sort)
} >"$out/stage/install.nsh"
{
  (cd "$stage" && find . -type f | sed 's|^\./||' | sort) | while read -r f; do
    echo "Delete \"\$INSTDIR\\${f//\//\\}\""
  done
  (cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||' | sort -r) | while read -r d; do
    echo "RMDir \"\$INSTDIR\\${d//\//\\}\""
  done
} >"$out/stage/uninstall.nsh"
makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$version" -DSTAGE="$out/stage" \
  -DICON="$src/app/resources/icons/kalvora.ico" -DOUTFILE="$out/kalvora-$version-setup-x64.exe" \
  "$src/packaging/windows/kalvora.nsi"
ls "$out/$name.zip" "$out/kalvora-$version-setup-x64.exe"
