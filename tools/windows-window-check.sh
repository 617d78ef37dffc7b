#!/bin/sh
# Drives the native Windows window (dayledger-upgrade-gui.exe) under Wine on
# a virtual X display with real input: mouse clicks where a control or a
# list row lies, key presses into the password box and the message boxes.
# window_probe.exe reads the window back. The four demo users upgraded
# through the window must leave the files the Linux terminal program leaves.
# A screenshot stays as build/windows-window/window.png. Expects the dev and
# windows-cross builds (tools/windows-check.sh makes the latter).
set -eu
cd "$(dirname "$0")/.."
tools/install-packages.sh windows display

work="$(pwd)/build/windows-window"
# The installation lies in a folder whose name CP949 cannot hold.
app="$work/앱-café-😀"
rm -rf "$work"/앱-* "$app" "$work/linux" "$work"/window*.png
mkdir -p "$work"
. tools/wine-env.sh
fail() {
  echo "windows window: $*" >&2
  exit 1
}
# A GUI program that needs no DLL beyond Windows' own.
gui_exe=build/windows-cross/src/dayledger-upgrade-gui.exe
dlls="$(i686-w64-mingw32-objdump -p "$gui_exe" | sed -n 's/.*DLL Name: //p' | tr 'A-Z' 'a-z' |
  sort | tr '\n' ' ')"
[ "$dlls" = "advapi32.dll comctl32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll shell32.dll user32.dll " ] || fail "imports $dlls"
i686-w64-mingw32-objdump -p "$gui_exe" | grep -q 'Subsystem.*Windows GUI' || fail "not a GUI program"

build/dev/tests/dayledger-make-demo "$app" >/dev/null
# A temporary an interrupted run left: the window cleans it up first and
# says so, as the terminal program does on the copy.
echo leftover >"$app/users/park/.dlu-7"
cp -r "$app" "$work/linux"
cp "$gui_exe" "$app/"
probe_exe="build/windows-cross/src/window_probe.exe"

# A display of our own; whatever this script starts ends with it.
cleanup() {
  timeout 20 /usr/lib/wine/wineserver64 -k 2>/dev/null || true
  kill "${xvfb:-}" 2>/dev/null || true
}
trap cleanup EXIT
. tools/x-display.sh
# A Wine server the terminal program's check left running keeps a desktop
# without a display, and a window started on it would have no driver.
timeout 20 /usr/lib/wine/wineserver64 -k 2>/dev/null || true
timeout 20 /usr/lib/wine/wineserver64 -w 2>/dev/null || true

# The probe's own exit status is the function's: a pipe would give tr's.
probe() {
  probed="$(timeout 60 "$wine" "$probe_exe" "$@" 2>/dev/null)" && status=0 || status=$?
  printf '%s\n' "$probed" | tr -d '\r'
  return "$status"
}
# Waits up to 30 s for the probe to print `want` (a prefix) for its arguments.
expect() {  # want, then the probe's arguments
  want="$1"
  shift
  i=0
  while :; do
    got="$(probe "$@" || true)"
    case "$got" in "$want"*) return 0 ;; esac
    i=$((i + 1))
    [ "$i" -ge 120 ] && fail "$* shows '$got', not '$want'"
    sleep 0.25
  done
}
# Clicks where the probe says, waiting up to 30 s for it to say: under load
# Wine may answer late.
click_at() {  # the probe's arguments
  i=0
  while :; do
    at="$(probe "$@" || true)"
    case "$at" in [0-9]*" "[0-9]*) break ;; esac
    i=$((i + 1))
    [ "$i" -ge 120 ] && fail "the probe gives no place for $*"
    sleep 0.25
  done
  xdotool mousemove --window "$window" "${at% *}" "${at#* }" click 1
}
click() { click_at where "$1"; }     # a control, by its name
click_row() { click_at item "$1"; }  # a row of the user list
answer() {  # the box's text (a prefix), then the key that answers it
  expect "Dayledger 사용자 정보 업그레이드	$1" box
  xdotool key "$2"
  i=0
  while probe box >/dev/null && [ -n "$(probe box)" ]; do
    i=$((i + 1))
    [ "$i" -ge 120 ] && fail "the box '$1' stays open"
    sleep 0.25
  done
}

# Starts the window and waits up to `seconds` for it; a program that ends
# first fails at once, with Wine's own messages.
open_window() {  # seconds, then the program's path when it is not the installation's
  WINEDEBUG=err+all timeout 600 "$wine" "${2:-$app/dayledger-upgrade-gui.exe}" >"$work/wine.log" 2>&1 &
  gui=$!
  i=0
  until window="$(xdotool search --name 'Korvane Dayledger' 2>/dev/null | head -1)" && [ -n "$window" ]; do
    i=$((i + 1))
    if [ "$i" -ge $(($1 * 4)) ] || ! kill -0 "$gui" 2>/dev/null; then
      xwd -root -display "$display" | convert xwd:- "$work/window-none.png" || true
      tail -n 20 "$work/wine.log" >&2 || true
      fail "no window"
    fi
    sleep 0.25
  done
}
# The first window of a new prefix waits for Wine to set up its fonts and
# desktop, which under a loaded machine may take minutes.
open_window 240
answer "이전 실행에서 남은 임시 파일을 정리하였습니다. (사용자 : park)" Return
expect kim text Label9
# The list's rows hold the font in use, whatever its height (here the
# design's, and below the same at 150 % and a taller face): a taller
# stand-in for the design's font would clip the names.
font_heights=""
rows_fit() {  # the font's name, for the message
  set -- $(probe rows) "$1"
  [ "$#" -eq 3 ] && [ "$1" -ge "$2" ] || fail "rows of $1 pixels clip the $3 font of $2 pixels"
  font_heights="$font_heights $2"
}
rows_fit design
# As the design draws it: the log's first line, both of its scroll bars, the
# version label set right; the focus on the user list, the first tab stop.
expect "### Korvane Dayledger - 사용자 정보 업그레이드 ###" text Memo1
expect "hscroll vscroll" style Memo1
expect "right" style Label15
expect "tabstop password *" style Edit1
expect ListBox1 focus
probe layout >"$work/layout.txt" || { cat "$work/layout.txt"; fail "layout"; }
xwd -root -display "$display" | convert xwd:- "$work/window.png"
# The window alone, as the README shows it (tools/window-picture.sh).
xwd -id "$window" -display "$display" | convert xwd:- "$work/window-alone.png"

# Selections by mouse: the first user, each user in turn, and a click
# below the last row keeps the one selected.
click_row 0
expect kim text Label9
click_row 1
expect 홍길동 text Label9
click_row 0
expect kim text Label9
click_row 2
expect lee text Label9
expect 사용 text Label10
click_row 5
sleep 1
expect lee text Label9
# ... and by keyboard.
xdotool key Up
expect 홍길동 text Label9
xdotool key Down
expect lee text Label9

# Tab and Shift+Tab walk the design's tab order; a plain user's disabled
# password box is passed over.
tab_walk() {  # the controls Tab reaches from the user list, in order
  for control in "$@"; do
    xdotool key Tab
    expect "$control" focus
  done
}
expect ListBox1 focus
tab_walk Edit1 Button1 Memo1 CheckBox1 Button2 ListBox1
xdotool key shift+Tab
expect Button2 focus
xdotool key Tab
expect ListBox1 focus
xdotool key Up
expect 홍길동 text Label9
tab_walk Button1 Memo1 CheckBox1 Button2 ListBox1
xdotool key Down
expect lee text Label9

# A wrong password is refused, and changes nothing.
click Edit1
xdotool type --delay 50 wrong
click Button1
answer "비밀번호가 틀렸습니다." Return

# The skip-backup question answered No starts nothing.
click_row 0
expect kim text Label9
click CheckBox1
click Button1
answer "데이터 백업 건너뛰기를 설정하셨습니다." n
[ -d "$app/upgrade_backup/kim" ] && fail "a backup was started after No"
click CheckBox1

# A file another program holds is refused before the backup or any line of
# the log, and the window stays idle; let go, the file is upgraded.
. tools/file-holder.sh
rm -f "$work/release"
hold "$app/users/kim/profile.qbd" "$work/release"
held
click_row 0
expect kim text Label9
click Button1
answer "다른 프로그램이 사용 중인 파일이 있어 아무것도 바꾸지 않았습니다." Return
expect "### Korvane Dayledger - 사용자 정보 업그레이드 ###" text Memo1
[ "$(probe text Memo1)" = "### Korvane Dayledger - 사용자 정보 업그레이드 ###" ] ||
  fail "log lines before the refusal: $(probe text Memo1)"
[ ! -e "$app/upgrade_backup/kim" ] || fail "a backup was started for a held file"
touch "$work/release"
wait "$holder"

# The four demo users, upgraded through the window; kim's profile held for
# two seconds from the click on, as a scanner may: it is waited for, and the
# only box is the last one.
hold "$app/users/kim/profile.qbd" 2000
held
click_row 0
click Button1
answer "사용자 정보 업그레이드가 완료되었습니다!" Return
wait "$holder"
click_row 1
expect 홍길동 text Label9
click Button1
answer "사용자 정보 업그레이드가 완료되었습니다!" Return
click_row 2
expect lee text Label9
click Edit1
xdotool key End BackSpace BackSpace BackSpace BackSpace BackSpace
xdotool type --delay 50 dayledger
click Button1
answer "사용자 정보 업그레이드가 완료되었습니다!" Return
click_row 3
expect park text Label9
click Button1
answer "해당 사용자 데이터 버전은 이미 최신 버전입니다." Return
click Button2
closed() {  # waits up to 30 s for the window to close
  i=0
  while xdotool search --name 'Korvane Dayledger' >/dev/null 2>&1; do
    i=$((i + 1))
    [ "$i" -ge 120 ] && fail "the window stays open"
    sleep 0.25
  done
}
# The next window is not mistaken for this one.
closed

# At 150 % the window and every control scale with the system setting, and
# labels still hold their whole text.
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
open_window 60
expect kim text Label9
probe layout >"$work/layout-150.txt" || { cat "$work/layout-150.txt"; fail "layout at 150 %"; }
# The window's font at 150 % is taller than the design's rows scaled.
rows_fit "150 %"
xwd -root -display "$display" | convert xwd:- "$work/window-150.png"
"$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 96 /f >/dev/null 2>&1
click Button2
closed

# A taller face standing in for the design's, as Windows without the Korean
# supplemental fonts stands in Malgun Gothic: the rows grow with it, and the
# window and its other controls keep the design's numbers.
replacement='HKCU\Software\Wine\Fonts\Replacements'
"$wine" reg add "$replacement" /v '돋움' /t REG_SZ /d UnPilgi /f >/dev/null 2>&1
open_window 60
expect kim text Label9
rows_fit UnPilgi
probe layout >"$work/layout-taller.txt" || { cat "$work/layout-taller.txt"; fail "layout with a taller face"; }
"$wine" reg add "$replacement" /v '돋움' /t REG_SZ /d UnDotum /f >/dev/null 2>&1
click Button2
closed
# Three fonts of different heights were measured: the design's, the same at
# 150 %, and the taller face.
[ "$(printf '%s\n' $font_heights | sort -u | wc -l)" -eq 3 ] || fail "the fonts' heights:$font_heights"

cli=build/dev/src/dayledger-upgrade
for user in kim 홍길동; do "$cli" --app-dir "$work/linux" upgrade "$user" >/dev/null 2>&1; done
echo dayledger | "$cli" --app-dir "$work/linux" upgrade lee --password-stdin >/dev/null 2>&1
rm "$app/dayledger-upgrade-gui.exe"
diff -r -x .dlu "$app" "$work/linux" || fail "the window's files differ from the terminal program's"
echo "Windows window: driven by mouse and keys under Wine; same files as the Linux build."

# On a drive Windows reports as a network drive, the window asks whether the
# scheduler is closed on every PC that uses the folder; Enter, pressed out of
# habit, answers No, which leaves it idle with nothing changed.
network="$work/network-drive"
rm -rf "$network" "$work/network-before"
mkdir -p "$network"
build/dev/tests/dayledger-make-demo "$network/Dayledger" >/dev/null
cp "$gui_exe" "$network/Dayledger/"
cp -r "$network/Dayledger" "$work/network-before"
ln -sfn "$network" "$WINEPREFIX/dosdevices/n:"
"$wine" reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f /reg:64 >/dev/null 2>&1
# Wine learns its drives' types as it starts.
timeout 20 /usr/lib/wine/wineserver64 -k 2>/dev/null || true
timeout 20 /usr/lib/wine/wineserver64 -w 2>/dev/null || true
open_window 120 'N:\Dayledger\dayledger-upgrade-gui.exe'
expect kim text Label9
click_row 0
click Button1
answer "Dayledger 설치 폴더가 네트워크 드라이브에 있습니다." Return
[ "$(probe text Memo1)" = "### Korvane Dayledger - 사용자 정보 업그레이드 ###" ] ||
  fail "log lines after No on a network drive: $(probe text Memo1)"
click Button2
closed
diff -r "$work/network-before" "$network/Dayledger" || fail "No on a network drive changed the installation"
echo "Windows window: on a network drive the window asks first, and Enter answers No, which changes nothing."

# What an interrupted change left that only a newer build may finish stops
# the opening: an error box names the file, no window is made, the program
# ends with status 1 once the box is answered, and nothing changes.
stopped="$work/stopped"
rm -rf "$stopped" "$work/stopped-before"
build/dev/tests/dayledger-make-demo "$stopped" >/dev/null
mkdir -p "$stopped/upgrade_backup/.dlu/swaps"
printf 'dayledger swap 2\n' >"$stopped/upgrade_backup/.dlu/swaps/kim"
cp "$gui_exe" "$stopped/"
cp -r "$stopped" "$work/stopped-before"
xdotool mousemove 0 0
WINEDEBUG=err+all timeout 300 "$wine" "$stopped/dayledger-upgrade-gui.exe" >"$work/wine.log" 2>&1 &
gui=$!
expect "Dayledger 사용자 정보 업그레이드	중단되었던 변경을 정리하지 못했습니다. (사용자 : kim)" box
probe box | grep -q 'swaps\\kim\.' || fail "the box does not name the record: $(probe box)"
[ -z "$(xdotool search --name 'Korvane Dayledger' 2>/dev/null)" ] || fail "a window behind the box"
# With no window of its own behind it, the box has the keys only once the
# pointer and the focus are on it (the display has no window manager).
i=0
while [ -n "$(probe box || true)" ]; do
  box_window="$(xdotool search --name '사용자 정보 업그레이드' 2>/dev/null | head -1)"
  if [ -n "$box_window" ]; then
    xdotool mousemove --window "$box_window" 20 20 || true
    xdotool windowfocus "$box_window" 2>/dev/null || true
  fi
  xdotool key Return
  i=$((i + 1))
  [ "$i" -ge 60 ] && fail "the stopped opening's box stays open"
  sleep 0.5
done
wait "$gui" && status=0 || status=$?
[ "$status" -eq 1 ] || fail "a stopped opening ended with status $status"
diff -r "$work/stopped-before" "$stopped" || fail "a stopped opening changed the installation"
echo "Windows window: a stopped opening says where in a box of its own, makes no window and changes nothing."
