# Sourced by the tests that drive a real program with real keys and mouse in an Xvfb of their own
# (no window manager): the steps' helpers; on exit every background job is ended by its id, and
# `wine_session WINEPREFIX` adds a wine prefix (made on first use) and its wine server.
set -u
step=preparation app='' wine_prefix=''
tmp=$(mktemp -d)
cleanup() { # wineserver -k ends the prefix's processes, its own ones (services.exe ...) too
  [ -n "$wine_prefix" ] && WINEPREFIX=$wine_prefix wineserver -k 2>/dev/null
  kill $(jobs -p) 2>/dev/null
  for _ in {1..20}; do [ -z "$(jobs -rp)" ] && break; sleep 0.25; done
  kill -9 $(jobs -rp) 2>/dev/null; wait; rm -rf "$tmp"
}
trap cleanup EXIT
trap "exit 1" INT TERM
fail() { echo "FAILED at step '$step': $*"; exit 1; }
step() { step=$1; echo "== $1"; }
until_ok() { # until_ok SECONDS COMMAND...: polls every 0.25 s, fails the step once time is up
  local end=$((SECONDS + $1)); shift
  until "$@"; do ((SECONDS < end)) || fail "timed out: $*"; sleep 0.25; done
}
needs() { for t in "$@"; do command -v "$t" >/dev/null || fail "$t is missing"; done; }
windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null; }
window() { windows "$1" | head -n1; }
found() { [ -n "$(window "$1")" ]; }
gone() { ! found "$1"; }
keys() { xdotool key --delay 100 "$@" || fail "xdotool key $*"; }
# click WINDOW X Y [BUTTON]; wine gives a window the keyboard once it is clicked into
click() { xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}" || fail "cannot click"; }
# ends PID: the process has ended; exit_code_0 PID: waits for it and checks exit status 0
ends() { ! kill -0 "$1" 2>/dev/null; }
exit_code_0() { local code=0; wait "$1" || code=$?; [ "$code" = 0 ] || fail "exit code $code"; }
running() { kill -0 "$app" 2>/dev/null || fail "the program has ended"; }

needs Xvfb xdotool xclip
step "start Xvfb"
# -noreset: an X server resets when its last client leaves, dropping every connection still being
# set up (a helper's may just have left as the program connects).
Xvfb -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset -displayfd 3 3>"$tmp/display" 2>/dev/null &
until_ok 30 grep -qs . "$tmp/display"
export DISPLAY=:$(cat "$tmp/display")

wine_run=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)/scripts/wine-run
wine_session() {
  needs wine wineserver
  step "the wine prefix and its server"
  wine_prefix=$(realpath -m "$1") # wine wants an absolute path
  export WINEPREFIX=$wine_prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  export KALVORA_WINE_GRAPHICS=x11
  "$wine_run" "$wine_prefix" || fail "no wine prefix"
  timeout 30 wineserver -w 2>/dev/null # a server of an earlier run still ending
  wineserver -f -p 2>/dev/null & # started here so that it ends with the test
  local id; id=$(printf '%x-%x' $(stat -c '%d %i' "$wine_prefix"))
  # its socket: /tmp/.wine-UID/... or, as in Debian's wine, /tmp/wine-XXXXXX/...
  until_ok 20 eval "compgen -G '/tmp/*wine-*/server-$id/socket' >/dev/null"
}
