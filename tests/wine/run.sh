#!/usr/bin/env bash
# Runs a Windows program under wine in a wine prefix of its own; the program's exit status is
# run.sh's and its process id that of run.sh (exec).
# Usage: [KALVORA_WINE_GRAPHICS=x11] run.sh WINEPREFIX [QT_DIR PROGRAM [ARGUMENTS...]]
# The prefix is made on first use (several callers at a time wait for the first); without a
# program that is all run.sh does. By default it gets wine's null graphics driver, so that
# programs can make (invisible) windows without an X display (headless); with x11, windows go to
# $DISPLAY. It also gets a flat folder fonts/ of the Liberation and DejaVu fonts, where Qt's
# offscreen platform reads them. The program finds Qt's DLLs in QT_DIR/bin and the MinGW runtime
# DLLs through WINEPATH. wine hides QT_* variables from the program but passes WINEQT_* on as
# QT_*; each QT_* variable is handed on that way. Qt Test writes to standard error instead of the
# debugger.
set -euo pipefail
prefix=$1 graphics=${KALVORA_WINE_GRAPHICS:-null}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$graphics" = null ]; then export DISPLAY=; fi
mkdir -p "$prefix"
(
  flock 8
  [ -f "$prefix/.ready" ] && exit 0
  wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$graphics" /f >/dev/null 2>&1
  wineserver -w
  mkdir -p "$prefix/fonts"
  ln -sf /usr/share/fonts/truetype/{liberation,dejavu}/*.ttf "$prefix/fonts/"
  touch "$prefix/.ready"
) 8>"$prefix.lock"
[ $# -ge 3 ] || exit 0
qt=$2
shift 2

runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
threads=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
export WINEPATH="Z:$qt/bin;Z:$runtime;Z:$threads"
export QT_QPA_FONTDIR=Z:$prefix/fonts QT_ASSUME_STDERR_HAS_CONSOLE=1
while IFS='=' read -r name _; do
  export "WINE$name=${!name}"
done < <(env | grep '^QT_[A-Za-z0-9_]*=')
exec wine "$@"
