#!/usr/bin/env bash
# Runs the real Kalvora in its own Xvfb and drives it with real key events; reads it over its own
# accessibility bus (AT-SPI) as a screen reader does.
# Usage: smoke.sh PATH_TO_KALVORA. Exit status 0 passed, 1 failed (the failed step is named).
program=$1
source "$(dirname "$0")/session.sh"
focus() { until_ok 10 xdotool windowfocus --sync "$1"; }
a11y() { /usr/bin/python3 "$(dirname "$0")/a11y.py" "$@"; } # pyatspi: the system Python's
# read_aloud TEXT: an object of the program has this role, name and description text (tab-separated)
read_aloud() { a11y tree 2>/dev/null | grep -qF -- "$1"; }

atspi=/usr/libexec
needs xprop python3 dbus-daemon $atspi/at-spi-bus-launcher $atspi/at-spi2-registryd
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || fail "python3-pyatspi is missing"
export XDG_RUNTIME_DIR=$tmp DBUS_SESSION_BUS_ADDRESS=unix:path=$tmp/bus

step "start a session bus, the accessibility bus and its registry"
dbus-daemon --session --nofork --address="$DBUS_SESSION_BUS_ADDRESS" 2>/dev/null &
until_ok 10 test -S "$tmp/bus"
"$atspi/at-spi-bus-launcher" --launch-immediately --a11y=1 2>/dev/null &
until_ok 10 compgen -G "$tmp/at-spi/bus*" >/dev/null
"$atspi/at-spi2-registryd" >/dev/null 2>&1 &

step "start Kalvora; a 401 x 242 window 'Kalvora' appears"
# The program hands Qt no command line: read, this option would keep the window off the screen.
QT_QPA_PLATFORM=xcb LC_ALL=C.UTF-8 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$program" -platform offscreen &
app=$!
until_ok 15 found Kalvora
main=$(window Kalvora)
xdotool getwindowgeometry "$main" | grep -q 'Geometry: 401x242$' || fail "not 401 x 242 pixels"
until_ok 20 read_aloud $'label\tErgebnis\t'

step "the window carries the program icon in each size; F1 opens the help, Escape closes it"
icons=$(xprop -id "$main" _NET_WM_ICON | grep -o 'Icon ([0-9]* x [0-9]*)' | tr -d '\n')
[ "$icons" = 'Icon (16 x 16)Icon (32 x 32)Icon (48 x 48)Icon (64 x 64)Icon (72 x 72)' ] ||
  fail "icon sizes: $icons"
focus "$main"; keys F1; until_ok 10 found 'Kalvora – Hilfe'
keys Escape; until_ok 10 gone 'Kalvora – Hilfe'

step "Alt+E, Return open the entry window, its cells read with their places"
focus "$main"; keys alt+e Return # Alt+E puts the focus on the Eingabe button, Return presses it
until_ok 15 found 'Eingabe:'; entry=$(window 'Eingabe:')
until_ok 10 read_aloud $'text\tZeile 2, Spalte 2\t'

step "x and Alt+F, typed with no click first: a message box, read with its text; Return closes it"
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

step "Ctrl+R opens the window Rechenweg, whose working reads det(D) = −2; Escape closes it"
focus "$main"; keys ctrl+r
until_ok 15 found Rechenweg
until_ok 10 eval 'a11y text Rechenweg 2>/dev/null | grep -qF "det(D) = −2"'
focus "$(window Rechenweg)"; keys Escape
until_ok 15 gone Rechenweg

# Qt cycles the buttons sharing the access key E by presses in a row; Alt+B above reset the count.
step "Alt+E twice in a row focuses Beenden; Space ends the program with exit code 0"
focus "$main"; keys alt+e alt+e space
until_ok 15 ends "$app"
exit_code_0 "$app"
app=''
echo PASSED
