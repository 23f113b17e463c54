#!/usr/bin/env bash
# Takes the README's pictures of the real program in its own Xvfb: the main window in the standard
# light scheme and in GTK's Adwaita dark (through Qt's GTK platform theme), and the entry window;
# given the Windows program too, its main window under wine, with wine's fonts, as wine draws it.
# Usage: docs/screenshots.sh PATH_TO_KALVORA [PATH_TO_KALVORA_EXE]
# (from the release build build/app/kalvora, from the windows-wine build
# build-windows-wine/kalvora.exe).
set -euo pipefail
program=$(realpath "$1")
docs=$(dirname "$(realpath "$0")")
tmp=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; [ -d "$tmp/prefix" ] && WINEPREFIX=$tmp/prefix wineserver -k
      wait; rm -rf "$tmp"' EXIT

Xvfb -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset -displayfd 3 3>"$tmp/display" 2>/dev/null &
until grep -qs . "$tmp/display"; do sleep 0.2; done
export DISPLAY=:$(cat "$tmp/display") XDG_RUNTIME_DIR=$tmp LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb

window() { until xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1 | grep .; do sleep 0.2; done; }
# shot WINDOW FILE: the window's client area as a PNG
shot() {
  python3 - "$1" "$2" <<'PY'
import ctypes as c, struct, sys, zlib
x = c.CDLL("libX11.so.6")
x.XOpenDisplay.restype = c.c_void_p
x.XGetImage.restype = c.POINTER(c.c_int)
x.XGetImage.argtypes = [c.c_void_p, c.c_ulong] + [c.c_int] * 2 + [c.c_uint] * 2 + [c.c_ulong, c.c_int]
class Attributes(c.Structure):
    _fields_ = [("x", c.c_int), ("y", c.c_int), ("width", c.c_int), ("height", c.c_int),
                ("rest", c.c_byte * 256)]
d = c.c_void_p(x.XOpenDisplay(None))
w = int(sys.argv[1])
a = Attributes()
x.XGetWindowAttributes(d, c.c_ulong(w), c.byref(a))
image = x.XGetImage(d, w, 0, 0, a.width, a.height, 0xFFFFFFFF, 2)  # ZPixmap
# XImage: width, height, xoffset, format, data pointer, ..., bytes_per_line at int index 11
data = c.cast(c.cast(image, c.POINTER(c.c_void_p))[2], c.POINTER(c.c_ubyte))
stride = image[11]
rows = b"".join(b"\0" + bytes(v for px in range(a.width) for v in
                              (data[y * stride + 4 * px + 2], data[y * stride + 4 * px + 1],
                               data[y * stride + 4 * px]))
                for y in range(a.height))
def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
with open(sys.argv[2], "wb") as png:
    png.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", a.width, a.height, 8, 2, 0, 0, 0))
              + chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))
PY
}
# run FILE [ENVIRONMENT...]: starts the program, computes the 2 x 2 zero matrix, takes the window
run() {
  local file=$1; shift
  env "$@" "$program" &
  app=$!
  main=$(window Kalvora)
  xdotool windowfocus --sync "$main" key --delay 80 alt+b; sleep 1
  shot "$main" "$docs/$file"
}

run main-window.png
xdotool key --delay 80 ctrl+a 3 alt+e space
entry=$(window 'Eingabe:'); sleep 1
shot "$entry" "$docs/entry-window.png"
kill "$app"; wait "$app" || true
run main-window-dark.png QT_QPA_PLATFORMTHEME=gtk3 GTK_THEME=Adwaita:dark
kill "$app"; wait "$app" || true
# working FILE ORDER KEY...: a fresh start; the keys typed into the entry window of that order,
# computed, and the window Rechenweg that Ctrl+R opens
working() {
  local file=$1 order=$2; shift 2
  "$program" &
  app=$!
  main=$(window Kalvora)
  xdotool windowfocus --sync "$main" key --delay 80 ctrl+a "$order" alt+e space
  entry=$(window 'Eingabe:')
  xdotool windowfocus --sync "$entry" key --delay 80 "$@" alt+f; sleep 1
  xdotool windowfocus --sync "$main" key --delay 80 alt+b ctrl+r
  rechenweg=$(window Rechenweg); sleep 1
  shot "$rechenweg" "$docs/$file"
  kill "$app"; wait "$app" || true
}
working working-order3.png 3 2 Tab 1 Tab 3 Tab minus 1 Tab 4 Tab 0 Tab 5 Tab 2 Tab 1 slash 2
working working-order4.png 4 1 Tab 0 Tab 2 Tab 0 Tab 3 Tab 0 Tab 1 Tab 4 Tab 0 Tab 2 Tab 0 Tab 1 Tab \
  minus 2 Tab 0 Tab 7 slash 2 Tab 1

[ $# -ge 2 ] || exit 0
# Without a window manager, wine draws the frame into the window: the client area lies at the
# bottom, between equal borders. A click gives the window the keyboard.
env -u QT_QPA_PLATFORM KALVORA_WINE_GRAPHICS=x11 "$docs/../scripts/wine-run" "$tmp/prefix" \
  "$("$docs/../scripts/qt-windows")" "$(realpath "$2")" &
app=$!
main=$(window Kalvora); sleep 2
eval "$(xdotool getwindowgeometry --shell "$main")"
side=$(((WIDTH - 401) / 2))
xdotool mousemove --window "$main" $((side + 200)) $((HEIGHT - side - 12)) click 1 \
  sleep 0.5 key --delay 80 alt+b; sleep 1
shot "$main" "$docs/main-window-wine.png"
