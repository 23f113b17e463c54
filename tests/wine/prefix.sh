#!/usr/bin/env bash
# Makes a wine prefix once (several callers at a time wait for the first):
#   prefix.sh WINEPREFIX null|x11
# null: wine's null graphics driver, windows without a display (headless tests);
# x11: the X11 driver, windows on $DISPLAY. The prefix also gets a flat folder fonts/ of the
# Liberation and DejaVu TrueType fonts for Qt's offscreen platform.
set -euo pipefail
prefix=$1 driver=$2
[ -f "$prefix/.ready" ] && exit 0
mkdir -p "$prefix"
exec 8>"$prefix.lock"
flock 8
[ -f "$prefix/.ready" ] && exit 0
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ "$driver" = null ]; then export DISPLAY=; fi
wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d "$driver" /f >/dev/null 2>&1
wineserver -w
mkdir -p "$prefix/fonts"
ln -sf /usr/share/fonts/truetype/liberation/*.ttf /usr/share/fonts/truetype/dejavu/*.ttf \
  "$prefix/fonts/"
touch "$prefix/.ready"
