#!/usr/bin/env bash
# Runs the real kalvora.exe under wine in its own Xvfb, in a German locale, and drives it with
# real key events; reads results back through the clipboard, which wine shares with X, and what a
# cell draws from a screenshot of the window (xwd).
# Usage: smoke-wine.sh KALVORA_EXE WINEPREFIX QT_DIR
# Exit status 0 passed, 1 failed (the failed step is named).
program=$1 qt=$3
source "$(dirname "$0")/session.sh"
wine_session "$2"
needs xwd python3
clipboard() { xclip -o -selection clipboard 2>/dev/null | tr -d '\r'; }
clipboard_has() { clipboard | grep -qF -- "$1"; }
# inked: the dark (text-coloured) pixels inside the frame of the first cell, at (8, 8) in the
# 127 x 143 client area of the entry window of order 3. Without a window manager, wine draws the
# window's frame into its X window: the client area lies at the bottom, between equal borders.
inked() {
  eval "$(xdotool getwindowgeometry --shell "$entry")"
  local side=$(((WIDTH - 127) / 2)) top=$((HEIGHT - 143 - (WIDTH - 127) / 2))
  xwd -id "$entry" -silent | python3 "$(dirname "$0")/inked.py" $((side + 12)) $((top + 12)) 25 17
}

step "German locale"
# glibc's de_DE.UTF-8, compiled here where the system has not generated it; wine takes its
# regional settings from it.
if ! locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8'; then
  localedef -i de_DE -f UTF-8 "$tmp/de_DE.UTF-8" 2>/dev/null || fail "no German locale"
  export LOCPATH=$tmp
fi
export LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8

step "start Kalvora: a window 'Kalvora'"
"$wine_run" "$WINEPREFIX" "$qt" "$program" &
app=$!
until_ok 60 found Kalvora
main=$(window Kalvora)

step "Tab, Up: order 3; Alt+E, Return open the entry window"
click "$main" 200 230 # the author's line: takes no focus, the order text keeps it
keys Tab Up alt+e Return
until_ok 20 found 'Eingabe:'
entry=$(window 'Eingabe:')
sleep 1

step "x and Alt+F, typed with no click first: the German message names the cell; Return closes it"
keys x alt+f
until_ok 15 eval '[ "$(windows Eingabe: | wc -l)" -ge 2 ]'
sleep 1
keys ctrl+c
until_ok 10 clipboard_has 'Zeile 1, Spalte 1: „x“ ist keine gültige Zahl.'
keys Return
until_ok 10 eval '[ "$(windows Eingabe: | wc -l)" -eq 1 ]'

step "an emptied cell shows no text; typed into, its text is drawn (the fonts are there)"
click "$entry" 20 15
keys ctrl+a BackSpace Tab
sleep 1
[ "$(inked)" = 0 ] || fail "$(inked) dark pixels in the empty first cell"
keys shift+Tab 2 comma 5 Tab
until_ok 10 eval '[ "$(inked)" -ge 15 ]'

step "entries with decimal commas; Alt+F closes the entry window"
keys 1 Tab 0 Tab 1 Tab 2 Tab 1 Tab 0 Tab 1 Tab 1 comma 5 alt+f
until_ok 15 gone 'Eingabe:'
running

step "Alt+B computes; Kopieren in the result's context menu copies det(D) = 3,5"
click "$main" 200 230
keys alt+b
sleep 1
click "$main" 40 200 3
sleep 1
keys k
until_ok 10 eval '[ "$(clipboard)" = "det(D) = 3,5" ]'

step "Beenden ends the program with exit code 0"
click "$main" 264 200
until_ok 20 ends "$app"
exit_code_0 "$app"
app=''
echo PASSED
