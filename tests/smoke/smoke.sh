#!/usr/bin/env bash
# Runs the real Kalvora in its own Xvfb and drives it with real key events; reads it over its own
# accessibility bus (AT-SPI) as a screen reader does.
# Usage: smoke.sh PATH_TO_KALVORA. Exit status 0 passed, 1 failed (the failed step is named).
program=$1
source "$(dirname "$0")/session.sh"
focus() { until_ok 10 xdotool windowfocus --sync "$1"; }
# The close box: sends WM_DELETE_WINDOW as a window manager does (xdotool can only destroy).
close_box() {
  python3 - "$1" <<'EOF' || fail "cannot send WM_DELETE_WINDOW"
import ctypes as c, sys
x = c.CDLL("libX11.so.6"); x.XOpenDisplay.restype = c.c_void_p; x.XInternAtom.restype = c.c_ulong
d = c.c_void_p(x.XOpenDisplay(None)); w = int(sys.argv[1]); atom = lambda n: x.XInternAtom(d, n, 0)
e = (c.c_long * 24)(33, 0, 1, 0, w, atom(b"WM_PROTOCOLS"), 32, atom(b"WM_DELETE_WINDOW"))
x.XSendEvent(d, c.c_ulong(w), 0, c.c_long(0), e); x.XCloseDisplay(d)
EOF
}
a11y() { /usr/bin/python3 "$(dirname "$0")/a11y.py" "$@"; } # pyatspi: the system Python's
# read_aloud TEXT: an object of the program has this role, name and description text (tab-separated)
read_aloud() { a11y tree 2>/dev/null | grep -qF -- "$1"; }
# open_entry: Alt+E puts the focus on the Eingabe button, Space presses it
open_entry() {
  focus "$main"; keys alt+e space
  until_ok 15 found 'Eingabe:'; entry=$(window 'Eingabe:')
}

atspi=/usr/libexec
needs python3 dbus-daemon $atspi/at-spi-bus-launcher $atspi/at-spi2-registryd
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is missing"
export XDG_RUNTIME_DIR=$tmp DBUS_SESSION_BUS_ADDRESS=unix:path=$tmp/bus

step "start a session bus, the accessibility bus and its registry"
dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" 2>/dev/null &
until_ok 10 test -S "$tmp/bus"
"$atspi/at-spi-bus-launcher" --launch-immediately --a11y=1 2>/dev/null &
until_ok 10 compgen -G "$tmp/at-spi/bus*" >/dev/null
"$atspi/at-spi2-registryd" >/dev/null 2>&1 &

step "start Kalvora; a window 'Kalvora' appears"
QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" &
app=$!
until_ok 15 found Kalvora
main=$(window Kalvora)
until_ok 20 read_aloud $'label\tErgebnis\t'

step "Alt+E, Space open the entry window, its cells read with their places"
open_entry
until_ok 10 read_aloud $'text\tZeile 2, Spalte 2\t'
focus "$entry"

step "x and Alt+F: a message box, read with its text; Return closes it"
keys x alt+f
until_ok 10 read_aloud $'label\tZeile 1, Spalte 1: „x“ ist keine gültige Zahl.'
keys Return
until_ok 10 eval '! read_aloud alert'
focus "$entry"

step "type 1 Tab 2 Tab 3 Tab 4; Alt+F closes the entry window, the program goes on"
keys 1 Tab 2 Tab 3 Tab 4 alt+f
until_ok 15 gone 'Eingabe:'
running

step "Alt+B computes; the result is announced and, selected with the mouse, reads det(D) = -2"
a11y announce Ergebnis 15 >"$tmp/announced" 2>/dev/null &
listener=$!
until_ok 10 grep -qs listening "$tmp/announced"
sleep 1 # the program learns of the new listener
focus "$main"; keys alt+b
wait "$listener" || fail "no change of the result's description was announced"
[ "$(tail -n1 "$tmp/announced")" = "det(D) = -2" ] || fail "announced: $(tail -n1 "$tmp/announced")"
read_aloud $'label\tErgebnis\tdet(D) = -2' || fail "the result's description is not det(D) = -2"
xdotool mousemove --window "$main" 9 200 mousedown 1 mousemove --window "$main" 216 200 mouseup 1
until_ok 10 eval '[ "$(xclip -o -selection primary 2>/dev/null)" = "det(D) = -2" ]'

step "reopen the entry window; its close box closes it, the program goes on"
open_entry
close_box "$entry"
until_ok 15 gone 'Eingabe:'
sleep 1; found Kalvora || fail "the main window is gone"

# Qt cycles the buttons sharing the access key E by presses in a row; Alt+F above reset the count.
step "a second Alt+E in a row focuses Beenden; Space ends the program with exit code 0"
focus "$main"; keys alt+e space
until_ok 15 ends "$app"
exit_code_0 "$app"
app=''
echo PASSED
