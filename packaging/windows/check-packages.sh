#!/usr/bin/env bash
# Tests the Windows zip and installer under wine in Xvfb.
# Usage: check-packages.sh ZIP SETUP_EXE WINEPREFIX
# The zip's program starts from a folder of its own with no other DLL on the path, loads every DLL
# of the folder and none from elsewhere but Windows' own; the installer runs silently, the
# installed program shows its window, and the uninstaller removes every file installed, the
# Start-menu entry and the entry in the list of installed programs. Run with its pages, the
# installer goes through them by Return, and its finish page's box starts the program.
zip=$1 setup=$2
source "$(dirname "$0")/../../tests/smoke/session.sh"
wine_session "$3"
unset WINEPATH
# start_and_end EXE LOG: starts the program, waits for its window, presses Beenden (exit code 0)
start_and_end() {
  WINEDEBUG=+loaddll wine "$1" 2>"$2" &
  local app=$!
  until_ok 60 found Kalvora
  click "$(window Kalvora)" 264 200
  until_ok 20 ends "$app"
  exit_code_0 "$app"
}

step "the zip's program starts from its own folder and loads exactly the folder's DLLs"
cmake -E chdir "$tmp" cmake -E tar xf "$zip" || fail "cannot unpack $zip"
folder=$(find "$tmp" -mindepth 2 -maxdepth 2 -name kalvora.exe -printf '%h')
[ -n "$folder" ] || fail "no kalvora.exe in the zip's folder"
start_and_end "$folder/kalvora.exe" "$tmp/loaded"
# wine writes: Loaded L"Z:\\...\\Qt6Core.dll" at ...: native / builtin
loaded=$(sed -n 's/.*Loaded L"\([^"]*\)".*: native$/\1/p' "$tmp/loaded" | sed 's/\\\\/\//g' |
  tr '[:upper:]' '[:lower:]' | grep '\.dll$' | sort -u)
shipped=$(cd "$folder" && find . -name '*.dll' | sed "s|^\.|z:$folder|" | tr '[:upper:]' '[:lower:]' | sort)
[ "$(comm -13 <(echo "$loaded") <(echo "$shipped"))" = "" ] ||
  fail "shipped but not loaded: $(comm -13 <(echo "$loaded") <(echo "$shipped"))"
[ "$(comm -23 <(echo "$loaded") <(echo "$shipped"))" = "" ] ||
  fail "loaded from elsewhere: $(comm -23 <(echo "$loaded") <(echo "$shipped"))"

step "the installer installs silently, for the user"
wine "$setup" /S || fail "the installer failed"
local_app=$(wine cmd /c echo %LOCALAPPDATA% 2>/dev/null | tr -d '\r')
start_menu=$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')'\Microsoft\Windows\Start Menu\Programs\Kalvora.lnk'
dir=$(winepath -u "$local_app\\Programs\\Kalvora")
lnk=$(winepath -u "$start_menu")
[ -f "$dir/kalvora.exe" ] || fail "no $dir/kalvora.exe"
[ -f "$lnk" ] || fail "no Start-menu entry $lnk"
key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kalvora'
wine reg query "$key" /v DisplayVersion 2>/dev/null | grep -q '1\.00' || fail "no DisplayVersion 1.00"
wine reg query "$key" /v UninstallString 2>/dev/null | grep -qi 'uninstall.exe' ||
  fail "no UninstallString"
wine reg query "$key" /v EstimatedSize 2>/dev/null | grep -q 'REG_DWORD.*0x[0-9a-f]\{4,\}' ||
  fail "no EstimatedSize of some megabytes"
(cd "$dir" && find . -type f | sort) >"$tmp/installed"
diff <(cd "$folder" && find . -type f | sort) <(grep -v '^\./uninstall\.exe$' "$tmp/installed") ||
  fail "the installed files differ from the zip's"

step "the installed program starts and shows its window"
start_and_end "$dir/kalvora.exe" "$tmp/loaded-installed"

step "the uninstaller removes every file it installed, its Start-menu and its list entry"
wine "$dir/uninstall.exe" /S || fail "the uninstaller failed"
# The uninstaller goes on from a copy of itself in the temporary folder.
until_ok 60 eval '! [ -e "$dir" ]'
[ -e "$lnk" ] && fail "the Start-menu entry is still there"
wine reg query "$key" >/dev/null 2>&1 && fail "the list entry is still there"

step "with its pages: Return goes on from welcome, folder and progress; the finish page's box starts Kalvora"
wine "$setup" &
installer=$!
until_ok 60 found 'Installation von Kalvora 1\.00'
click "$(window 'Installation von Kalvora 1\.00')" 5 5 # wine gives a window the keyboard once clicked
end=$((SECONDS + 90))
until found Kalvora; do # Return does nothing while the files are copied
  ((SECONDS < end)) || fail "the finish page started no Kalvora"
  keys Return
  sleep 2
done
click "$(window Kalvora)" 264 200
until_ok 20 gone Kalvora
until_ok 20 ends "$installer"
exit_code_0 "$installer"
wine "$dir/uninstall.exe" /S || fail "the uninstaller failed"
until_ok 60 eval '! [ -e "$dir" ]'
echo PASSED
