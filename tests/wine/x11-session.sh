# Sourced by the tests that run Windows programs under wine in Xvfb (no window manager), after
# `prefix=WINEPREFIX` is set: starts Xvfb and the prefix's wine server and ends them, and every
# other background job, by their ids on exit; gives the steps' helpers. The prefix uses wine's
# X11 driver; it is made on first use.
set -u
step=preparation
prefix=$(realpath -m "$prefix") # wine wants an absolute path
tmp=$(mktemp -d)
wine_tools=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cleanup() { # wineserver -k ends the prefix's processes, its own ones (services.exe ...) too
  [ -n "${WINEPREFIX:-}" ] && wineserver -k 2>/dev/null
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
window() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -n1; }
found() { [ -n "$(window "$1")" ]; }
gone() { ! found "$1"; }
windows() { xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | wc -l; }
keys() { xdotool key --delay 100 "$@" || fail "xdotool key $*"; }
# click WINDOW X Y [BUTTON]: wine gives a window the keyboard once it is clicked into
click() { xdotool mousemove --window "$1" "$2" "$3" click "${4:-1}" || fail "cannot click"; }
# ends PID: the process has ended; exit_code PID: waits for it and checks exit status 0
ends() { ! kill -0 "$1" 2>/dev/null; }
exit_code_0() { local code=0; wait "$1" || code=$?; [ "$code" = 0 ] || fail "exit code $code"; }

for t in Xvfb xdotool xclip wine wineserver; do command -v $t >/dev/null || fail "$t is missing"; done
step "start Xvfb, the wine prefix and its server"
Xvfb -screen 0 1024x768x24 -dpi 96 -nolisten tcp -noreset -displayfd 3 3>"$tmp/display" 2>/dev/null &
until_ok 30 grep -qs . "$tmp/display"
export DISPLAY=:$(cat "$tmp/display") WINEPREFIX=$prefix WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=" KALVORA_WINE_GRAPHICS=x11
"$wine_tools/prefix.sh" "$prefix" x11 || fail "no wine prefix"
timeout 30 wineserver -w 2>/dev/null # a server of an earlier run still ending
# Started here so that it ends with the test; wine's programs connect to it.
wineserver -f -p 2>/dev/null &
server_socket() { # /tmp/.wine-UID or, as in Debian's wine, /tmp/wine-XXXXXX
  compgen -G "/tmp/*wine-*/server-$(printf '%x-%x' $(stat -c '%d %i' "$prefix"))/socket" >/dev/null
}
until_ok 20 server_socket
