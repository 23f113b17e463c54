#!/usr/bin/env bash
# Runs a Windows program under wine in a wine prefix of its own; the program's exit status is
# run.sh's and its process id that of run.sh (exec).
# Usage: [KALVORA_WINE_GRAPHICS=x11] run.sh WINEPREFIX QT_DIR PROGRAM [ARGUMENTS...]
# The prefix is made on first use, by default with wine's null graphics driver, so that programs
# can make (invisible) windows without an X display (headless); with x11, on $DISPLAY. The program finds Qt's DLLs in QT_DIR/bin and the
# MinGW runtime DLLs through WINEPATH. wine hides QT_* variables from the program but passes
# WINEQT_* on as QT_*; each QT_* variable is handed on that way. Qt's offscreen platform reads
# fonts from one flat folder (Liberation and DejaVu, linked into the prefix); Qt Test writes to
# standard error instead of the debugger.
set -euo pipefail
prefix=$1 qt=$2
shift 2
graphics=${KALVORA_WINE_GRAPHICS:-null}
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$graphics" = null ]; then export DISPLAY=; fi
"$(dirname "$0")/prefix.sh" "$prefix" "$graphics"

runtime=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")
threads=$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libwinpthread-1.dll)")
export WINEPATH="Z:$qt/bin;Z:$runtime;Z:$threads"
export QT_QPA_FONTDIR=Z:$prefix/fonts QT_ASSUME_STDERR_HAS_CONSOLE=1
while IFS='=' read -r name _; do
  export "WINE$name=${!name}"
done < <(env | grep '^QT_[A-Za-z0-9_]*=')
exec wine "$@"
