#!/usr/bin/env bash
# Checks of the Debian package, one per call; exit status 0 passed.
#   check-package.sh build BUILD_DIR PACKAGE_DIR DEB    packs the build tree with CPack
#   check-package.sh lintian DEB                         no lintian errors (the rest is shown)
#   check-package.sh contents DEB BUILD_DIR SCRATCH      same files as `cmake --install`
#   check-package.sh unpacked DEB APP_ID SCRATCH SMOKE   the unpacked tree: AppStream data,
#                                                        versions, icon, window class, smoke test
# Nothing is installed into the system: everything happens in the scratch folders.
set -euo pipefail
fail() { echo "FAILED: $*"; exit 1; }

build() { # BUILD_DIR PACKAGE_DIR DEB
  rm -rf "$2"
  cpack -G DEB --config "$1/CPackConfig.cmake" -B "$2"
  [ -f "$3" ] || fail "CPack wrote no $3"
  dpkg-deb --info "$3"
}

lintian_check() { # DEB
  lintian --info --display-info --fail-on error "$1"
}

contents() { # DEB BUILD_DIR SCRATCH
  rm -rf "$3"
  cmake --install "$2" --prefix "$3/usr" >/dev/null
  diff -u --label 'cmake --install' --label "$(basename "$1")" \
    <(cd "$3" && find . ! -type d | sort) \
    <(dpkg-deb --fsys-tarfile "$1" | tar -t | grep -v '/$' | sort) ||
    fail "the package and the install tree hold different files"
  echo "the package holds the $(cd "$3" && find . ! -type d | wc -l) files of the install tree"
}

# first_window CLASS: the id of the first visible window of that WM_CLASS, polled for 15 s
first_window() {
  local id
  for _ in {1..60}; do
    id=$(xdotool search --onlyvisible --class "^$1\$" 2>/dev/null | head -n1)
    [ -n "$id" ] && { echo "$id"; return; }
    sleep 0.25
  done
}

# A desktop shell ties a window to its desktop entry by the entry's StartupWMClass.
window_class() { # PROGRAM WM_CLASS
  local tmp display program id
  tmp=$(mktemp -d)
  Xvfb -screen 0 1024x768x24 -nolisten tcp -noreset -displayfd 3 3>"$tmp/display" 2>/dev/null &
  display=$!
  for _ in {1..120}; do grep -qs . "$tmp/display" && break; sleep 0.25; done
  DISPLAY=:$(cat "$tmp/display") XDG_RUNTIME_DIR=$tmp QT_QPA_PLATFORM=xcb "$1" &
  program=$!
  id=$(DISPLAY=:$(cat "$tmp/display") first_window "$2")
  kill "$program" "$display"; wait "$program" "$display" 2>/dev/null || true; rm -rf "$tmp"
  [ -n "$id" ] || fail "no window of class $2 (StartupWMClass of the desktop entry)"
}

unpacked() { # DEB APP_ID SCRATCH SMOKE
  rm -rf "$3"
  dpkg-deb -x "$1" "$3"
  local share=$3/usr/share entry icon class
  entry=$share/applications/$2.desktop
  [ -f "$entry" ] || fail "no desktop entry $entry"
  appstreamcli validate-tree --no-net "$3" || fail "appstreamcli validate-tree"

  # The version is written down in several files; a new release has to change all of them.
  local version
  version=$(dpkg-deb -f "$1" Version)
  grep -q "<release version=\"$version\"" "$share/metainfo/$2.metainfo.xml" ||
    fail "the metainfo has no release $version"
  zcat "$share/doc/kalvora/changelog.gz" | sed -n 1p | grep -qF "kalvora ($version)" ||
    fail "the changelog does not start with version $version"

  # The icon theme lookup: hicolor/SIZE/apps/NAME.png for the entry's Icon= name.
  icon=$(sed -n 's/^Icon=//p' "$entry")
  [[ "$icon" =~ ^[A-Za-z0-9._-]+$ ]] || fail "Icon= '$icon' is not an icon name"
  compgen -G "$share/icons/hicolor/*/apps/$icon.png" >/dev/null ||
    fail "no icon named '$icon' in the unpacked hicolor theme"
  echo "icon '$icon' found:" "$share"/icons/hicolor/*/apps/"$icon".png

  class=$(sed -n 's/^StartupWMClass=//p' "$entry")
  [ -n "$class" ] || fail "the desktop entry has no StartupWMClass"
  window_class "$3/usr/bin/kalvora" "$class"
  echo "the window's WM_CLASS is $class"

  exec bash "$4" "$3/usr/bin/kalvora"
}

command=$1
shift
case $command in
  build) build "$@" ;;
  lintian) lintian_check "$@" ;;
  contents) contents "$@" ;;
  unpacked) unpacked "$@" ;;
  *) fail "unknown check $command" ;;
esac
