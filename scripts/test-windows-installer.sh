#!/usr/bin/env bash
# Tries the Windows installer under Wine as a player would: a silent install
# (/S) into a fresh Wine prefix, the Start menu entry's program started on
# an X server of its own (Xvfb), which makes %USERPROFILE%\Kazuban with the
# demo files and opens the window on them; kazuban-cli.exe run in that
# folder; a silent uninstall; then nothing of the program is left but the
# player's data folder.
#   scripts/test-windows-installer.sh dist/Kazuban-<version>-setup.exe
set -euo pipefail
setup=$(readlink -f "${1:?the installer}")
work=$(mktemp -d "${TMPDIR:-/tmp}/kazuban-installer.XXXXXX")
export WINEPREFIX="$work/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
xvfb_pid=""
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "INSTALLER: $*" >&2; exit 1; }

# An X server of its own for everything Wine starts here (Wine's desktop
# process keeps the display of the first program that started it). Xvfb
# picks a free display and names it.
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 20); do [ -s "$work/display" ] && break; sleep 0.5; done
export DISPLAY=:$(head -n 1 "$work/display")
"$wine" wineboot --init >/dev/null 2>&1 || true
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Kazuban'
program_files=$("$wine" cmd /c 'echo %ProgramW6432%' 2>/dev/null | tr -d '\r')
profile=$("$wine" cmd /c 'echo %USERPROFILE%' 2>/dev/null | tr -d '\r')
inst=$("$wine" winepath -u "$program_files\\Kazuban" 2>/dev/null)
data=$("$wine" winepath -u "$profile\\Kazuban" 2>/dev/null)
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Kazuban"

echo "== silent install"
"$wine" "$setup" /S
/usr/lib/wine/wineserver -w
for f in kazuban.exe kazuban-start.exe kazuban-cli.exe uninstall.exe Qt6Core.dll qt.conf \
         plugins/platforms/qwindows.dll translations/qtbase_ja.qm demo/atarimgrp.txt LICENSE.txt; do
  [ -f "$inst/$f" ] || fail "$f is not installed in $inst"
done
[ -f "$menu/Kazuban.lnk" ] || fail "no Start menu entry"
"$wine" reg query "$key" /v UninstallString 2>/dev/null | grep -q 'uninstall.exe' ||
  fail "not in the list of installed programs"
[ ! -e "$data" ] || fail "the data folder is there before the first start"

echo "== first start from the Start menu's program"
"$wine" "$inst/kazuban-start.exe" >"$work/start.log" 2>&1 &
start_pid=$!
shown=""
for _ in $(seq 60); do
  # The main window: titled Kazuban and larger than any message box.
  if xwininfo -root -tree 2>/dev/null |
       awk '/"Kazuban"/ { split($0, a, " "); for (i in a) if (a[i] ~ /^[0-9]+x[0-9]+\+/) { split(a[i], s, /[x+]/);
            if (s[1] >= 640 && s[2] >= 400) found = 1 } } END { exit !found }'; then
    shown=1
    break
  fi
  sleep 1
done
[ -n "$shown" ] || { xwininfo -root -tree >&2 || true; cat "$work/start.log" >&2; fail "the window did not open on $DISPLAY"; }
for f in atarimgrp.txt Kazuban.ini sample_combos.txt; do
  cmp -s "$inst/demo/$f" "$data/$f" || fail "the data folder lacks the demo's $f"
done
/usr/lib/wine/wineserver -k
wait "$start_pid" || true

echo "== kazuban-cli.exe in the data folder"
(cd "$data" && "$wine" "$inst/kazuban-cli.exe" check sample_combos.txt >"$work/check.out") ||
  fail "kazuban-cli.exe check failed"
[ -s "$work/check.out" ] || fail "kazuban-cli.exe check printed nothing"

echo "== silent uninstall"
"$wine" "$inst/uninstall.exe" /S
/usr/lib/wine/wineserver -w
[ ! -e "$inst" ] || fail "left in $inst: $(cd "$inst" && find . | head)"
[ ! -e "$menu" ] || fail "the Start menu entry is left"
if "$wine" reg query "$key" >/dev/null 2>&1; then fail "still in the list of installed programs"; fi
[ -f "$data/atarimgrp.txt" ] && [ -f "$data/Kazuban.ini" ] || fail "the player's data folder is gone"
echo "Installer check: OK"
