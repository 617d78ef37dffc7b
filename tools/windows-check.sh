#!/bin/sh
# Builds dayledger-upgrade for Windows with MinGW-w64 and runs it under Wine
# on a demo installation, next to the Linux build on a copy of the same
# installation: both must leave every file byte for byte the same and log
# the same texts. Expects the dev build (tools/setup.sh dev) to exist.
set -eu
cd "$(dirname "$0")/.."

tools/install-packages.sh windows

cmake --preset windows-cross -G Ninja >/dev/null
cmake --build --preset windows-cross

work="$(pwd)/build/windows-check"
# The Windows copy lies in a folder whose name CP949 cannot hold.
windows="$work/windows-café-😀"
rm -rf "$windows" "$work/linux" "$work/before" "$work"/*.log
mkdir -p "$work"
. tools/wine-env.sh
exe="build/windows-cross/src/dayledger-upgrade.exe"
# The data version the version table leads to, as the build read it.
target_code="$(cut -d' ' -f1 build/windows-cross/generated/data_version.txt)"

build/dev/tests/dayledger-make-demo "$windows"
cp -r "$windows" "$work/linux"
windows_dir="Z:$(echo "$windows" | tr / '\\')"

run_both() {  # user, then an optional password for standard input
  printf '%s\n' "${2:-}" | timeout 300 "$wine" "$exe" --app-dir "$windows_dir" upgrade "$1" \
    --password-stdin | tr -d '\r' | cut -c11- >"$work/windows-$1.log"
  printf '%s\n' "${2:-}" | build/dev/src/dayledger-upgrade --app-dir "$work/linux" upgrade "$1" \
    --password-stdin 2>/dev/null | cut -c11- >"$work/linux-$1.log"
  cmp "$work/windows-$1.log" "$work/linux-$1.log"
}
. tools/file-holder.sh
# A file another program holds open without sharing deletion is refused by
# the start checks, before any log line or backup, naming the file; once it
# lets go, the upgrade goes through.
cp -r "$windows" "$work/before"
rm -f "$work/release"
hold "$windows/users/kim/profile.qbd" "$work/release"
held
status=0
timeout 300 "$wine" "$exe" --app-dir "$windows_dir" upgrade kim >"$work/held.out" 2>"$work/held.err" ||
  status=$?
touch "$work/release"
wait "$holder"
[ "$status" -eq 1 ] || { echo "windows check: a held file gave exit status $status" >&2; exit 1; }
grep -q "다른 프로그램이 사용 중인 파일이 있어 아무것도 바꾸지 않았습니다.*users.kim.profile.qbd" \
  "$work/held.err" || { cat "$work/held.err" >&2; echo "windows check: no message" >&2; exit 1; }
[ ! -s "$work/held.out" ] || { echo "windows check: log lines before the refusal" >&2; exit 1; }
diff -r "$work/before" "$windows"

# What a real PC does, each refused before anything with exit status 1 and
# words that say what to do: the scheduler left running from the
# installation's folder (a second program copied there), and a month
# copied read-only from a CD (the attribute Wine shows for a file nobody
# may write).
refused() {  # what the message must match
  status=0
  timeout 300 "$wine" "$exe" --app-dir "$windows_dir" upgrade kim >"$work/refused.out" \
    2>"$work/refused.err" || status=$?
  [ "$status" -eq 1 ] || { echo "windows check: exit status $status, not a refusal" >&2; exit 1; }
  grep -q "$1" "$work/refused.err" || { cat "$work/refused.err" >&2; exit 1; }
  [ ! -s "$work/refused.out" ] || { echo "windows check: log lines before the refusal" >&2; exit 1; }
  diff -r "$work/before" "$windows"
}
cp "$holder_exe" "$windows/Dayledger.exe"
cp "$holder_exe" "$work/before/Dayledger.exe"
rm -f "$work/release"
"$wine" "$windows/Dayledger.exe" "$(win_path "$windows/data/userscommon/repeat.qbsd")" \
  "$(win_path "$work/release")" >"$work/holder.out" 2>/dev/null &
holder=$!
held
refused "Dayledger 설치 폴더의 프로그램이 실행 중이어서 아무것도 바꾸지 않았습니다.*Dayledger.exe"
touch "$work/release"
wait "$holder"
# The same stand-in started through a second drive letter that leads to the
# installation's folder, as a mapped drive does: the folder is the same
# however it is spelt, and the scheduler is found.
ln -sfn "$windows" "$WINEPREFIX/dosdevices/y:"
rm -f "$work/release"
"$wine" 'Y:\Dayledger.exe' 'Y:\data\userscommon\repeat.qbsd' "$(win_path "$work/release")" \
  >"$work/holder.out" 2>/dev/null &
holder=$!
held
refused "Dayledger 설치 폴더의 프로그램이 실행 중이어서 아무것도 바꾸지 않았습니다.*Dayledger.exe"
touch "$work/release"
wait "$holder"
rm -f "$WINEPREFIX/dosdevices/y:"
rm "$windows/Dayledger.exe" "$work/before/Dayledger.exe"
chmod a-w "$windows/users/kim/schedules/200001.qbsd" "$work/before/users/kim/schedules/200001.qbsd"
refused "읽기 전용 파일이 있어 아무것도 바꾸지 않았습니다.*users.kim.schedules.200001.qbsd"
chmod u+w "$windows/users/kim/schedules/200001.qbsd"
rm -rf "$work/before"

# The console's code page is given back as it was found, when the console
# goes and at exit(). Wine keeps a code page per program, so the check asks
# inside the program, on a terminal of its own.
for way in destroyed exit; do
  timeout 60 script -qec "$wine build/windows-cross/src/console_code_page_check.exe $way" \
    /dev/null | sed 's/\x1b\[[0-9;?]*[A-Za-z]//g' >"$work/code-page.out"
  grep -q restored "$work/code-page.out" ||
    { cat "$work/code-page.out" >&2; echo "windows check: code page kept ($way)" >&2; exit 1; }
done
echo "Windows build: the scheduler running and a read-only month refused; the code page given back."

# An installation on a drive Windows reports as a network drive: a scheduler
# open on another PC cannot be seen from this one. Without a terminal to
# ask on, the upgrade is refused with words about the other PCs and changes
# nothing; check notes it and finds nothing wrong; --yes upgrades.
network="$work/network-drive"
rm -rf "$network"
mkdir -p "$network"
build/dev/tests/dayledger-make-demo "$network/Dayledger" >/dev/null
ln -sfn "$network" "$WINEPREFIX/dosdevices/n:"
"$wine" reg add 'HKLM\Software\Wine\Drives' /v n: /d network /f /reg:64 >/dev/null 2>&1
# Wine learns its drives' types as it starts.
timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null || true
timeout 20 /usr/lib/wine/wineserver -w 2>/dev/null || true
rm -rf "$work/network-before"
cp -r "$network/Dayledger" "$work/network-before"
status=0
timeout 300 "$wine" "$exe" --app-dir 'N:\Dayledger' upgrade kim </dev/null >"$work/network.out" \
  2>"$work/network.err" || status=$?
[ "$status" -eq 1 ] || { cat "$work/network.err" >&2; echo "windows check: a network drive gave exit status $status" >&2; exit 1; }
grep -q "네트워크 드라이브에 있습니다.*" "$work/network.err" && grep -q "모든 PC에서 Dayledger를 종료" "$work/network.err" ||
  { cat "$work/network.err" >&2; echo "windows check: no words about the other PCs" >&2; exit 1; }
diff -r "$work/network-before" "$network/Dayledger"
timeout 300 "$wine" "$exe" --app-dir 'N:\Dayledger' check kim >"$work/network.out" \
  2>"$work/network.err" || { cat "$work/network.err" >&2; echo "windows check: check failed on a network drive" >&2; exit 1; }
grep -q "네트워크 드라이브에 있습니다" "$work/network.err" || { echo "windows check: check has no note" >&2; exit 1; }
timeout 300 "$wine" "$exe" --app-dir 'N:\Dayledger' upgrade kim --yes >/dev/null 2>"$work/network.err" ||
  { cat "$work/network.err" >&2; echo "windows check: --yes did not upgrade" >&2; exit 1; }
[ "$(sed -n 2p "$network/Dayledger/users/kim/profile.qbd" | tr -d '\r')" = "$target_code" ] ||
  { echo "windows check: kim not upgraded on the network drive" >&2; exit 1; }
rm -rf "$work/network-before"
echo "Windows build: a network drive asked about, refused without an answer, upgraded with --yes."

# An office's script on the network drive: every user in one run, --yes
# answering the question about the other PCs, the passwords a line each
# (as a Windows editor saves them), the answer redirected to a file. The
# document parses, holds only ASCII, and says of each user what the Linux
# build says on a copy that is on no network drive; the folders end the same.
office="$network/Office"
build/dev/tests/dayledger-make-demo "$office" plain:10100 enc:10200:pw nopw:10000:secret \
  latest:10300 ro:10200 >/dev/null
chmod a-w "$office/users/ro/schedules/198001.qbsd"
rm -rf "$work/office-linux"
cp -r "$office" "$work/office-linux"
status=0
printf 'enc\tpw\r\n' | timeout 600 "$wine" "$exe" --app-dir 'N:\Office' upgrade --all --yes --json \
  --password-stdin >"$work/office.json" 2>"$work/office.err" || status=$?
[ "$status" -eq 1 ] || { cat "$work/office.err" >&2; echo "windows check: the office's run gave exit status $status" >&2; exit 1; }
printf 'enc\tpw\n' | build/dev/src/dayledger-upgrade --app-dir "$work/office-linux" upgrade --all --yes \
  --json --password-stdin >"$work/office-linux.json" 2>/dev/null || true
python3 - "$work/office.json" "$work/office-linux.json" <<'CHECK'
import json, sys
raw = open(sys.argv[1], "rb").read()
assert all(byte < 0x80 for byte in raw), "the document holds more than ASCII"
windows, linux = json.loads(raw), json.load(open(sys.argv[2]))
def facts(document):
    return [(u["name"], u["outcome"], u["reason"], u["version_after"], u["record"] is not None)
            for u in document["users"]]
assert [u["name"] for u in windows["users"]] == ["plain", "enc", "nopw", "latest", "ro"], windows
assert windows["exit_status"] == 1, windows["exit_status"]
assert facts(windows) == facts(linux), (facts(windows), facts(linux))
CHECK
diff -r -x .dlu "$office" "$work/office-linux"
rm -rf "$office" "$work/office-linux"
echo "Windows build: an office's run over every user on a network drive answered in JSON as on Linux."

# Held for two seconds from the start, the file is waited for.
hold "$windows/users/kim/profile.qbd" 2000
held
run_both kim
wait "$holder"
# Held for a moment from the commit point on (a scanner that saw the
# journal written), a month's file is waited for before it is deleted.
hold "$windows/users/홍길동/schedules/202912.qbsd" 1000 "$windows/users/홍길동/.dlu-journal"
run_both 홍길동
wait "$holder"
grep -q held "$work/holder.out" || { echo "windows check: not held during the commit" >&2; exit 1; }
run_both lee dayledger
# Each run keeps its own record, with its own times: only the data compare.
diff -r -x .dlu "$windows" "$work/linux"
echo "Windows build: same files and same log texts as the Linux build."

# The record of lee's run, as Notepad opens it: a byte-order mark, CR LF,
# the system's version, every line the run printed, and how it ended.
record="$(ls "$windows/upgrade_backup/.dlu/logs/lee/"*.txt)"
[ "$(head -c 3 "$record" | od -An -tx1 | tr -d ' ')" = efbbbf ] || { echo "windows check: the record has no byte-order mark" >&2; exit 1; }
[ "$(tr -cd '\n' <"$record" | wc -c)" -eq "$(grep -c "$(printf '\r')\$" "$record")" ] ||
  { echo "windows check: the record has lines without CR LF" >&2; exit 1; }
grep -q "^시스템 : Windows [0-9]" "$record" || { echo "windows check: the record names no Windows version" >&2; exit 1; }
tr -d '\r' <"$record" | grep '^\[' | grep -v '결과 : ' | cut -c11- | cmp - "$work/windows-lee.log" ||
  { echo "windows check: the record does not hold every log line" >&2; exit 1; }
tr -d '\r' <"$record" | tail -n 1 | grep -q '결과 : 완료 (종료 코드 0)$' ||
  { echo "windows check: the record does not say how the run ended" >&2; exit 1; }
echo "Windows build: the run's record holds every log line, with a byte-order mark and CR LF."

# The locks leave nothing behind: after the upgrades, the refused run and
# a run killed while it holds its lock, upgrade_backup holds the users'
# folders and the tool's own folder only, and no lock file is left there.
killed="$work/killed"
rm -rf "$killed"
build/dev/tests/dayledger-make-demo "$killed"
"$wine" "$exe" --app-dir "$(win_path "$killed")" upgrade kim >/dev/null 2>&1 &
upgrade=$!
i=0
until [ -e "$killed/upgrade_backup/.dlu/locks/kim" ]; do
  i=$((i + 1))
  [ "$i" -ge 1200 ] && { echo "windows check: the killed run took no lock" >&2; exit 1; }
  sleep 0.05
done
kill -9 "$upgrade"
wait "$upgrade" 2>/dev/null || true
for folder in "$windows" "$killed"; do
  i=0
  while [ -n "$(find "$folder/upgrade_backup" -mindepth 1 -maxdepth 1 ! -type d)$(find "$folder/upgrade_backup/.dlu/locks" -mindepth 1 2>/dev/null)" ]; do
    i=$((i + 1))
    [ "$i" -ge 100 ] && { echo "windows check: upgrade_backup keeps files in $folder" >&2; exit 1; }
    sleep 0.1
  done
done
echo "Windows build: no lock file left after upgrades, a refused run and a killed run."
