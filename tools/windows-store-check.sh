#!/bin/sh
# The Windows programs on an installation under "C:\Program Files (x86)",
# as the scheduler installed the ordinary way leaves it: the real folder
# holds what the installer put there (the templates, an old user list) and
# may not be written by a standard user; the users and their list live in
# the user's VirtualStore. Wine runs as an unprivileged user, so the real
# folder is truly unwritable. The programs must list, upgrade, back up,
# verify and restore the VirtualStore's users, byte for byte as the Linux
# terminal program upgrades the same data, and leave the real folder as it
# was. With the data in the real folder itself and no VirtualStore copy, an
# upgrade is refused at the start and nothing changes. Expects the dev and
# windows-cross builds (tools/windows-check.sh makes the latter).
set -eu
cd "$(dirname "$0")/.."
tools/install-packages.sh windows display

fail() {
  echo "windows store: $*" >&2
  exit 1
}
cleanup() {
  as_user timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null || true
  kill "${xvfb:-}" 2>/dev/null || true
}
trap cleanup EXIT
# Every Wine program of the check sees the display: the window's too.
. tools/x-display.sh
. tools/wine-user-env.sh
# The prefix's set-up may have left a Wine server whose desktop has no display.
as_user timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null || true
as_user timeout 20 /usr/lib/wine/wineserver -w 2>/dev/null || true

work="$(pwd)/build/windows-store"
real="$user_drive/Program Files (x86)/Dayledger"
store="$user_store/Program Files (x86)/Dayledger"
rm -rf "$work" "$real" "$store"
mkdir -p "$work"
cli=build/dev/src/dayledger-upgrade
package="$work/package"
exe='C:\Program Files (x86)\Dayledger\dayledger-upgrade.exe'
wine() { as_user timeout 300 /usr/lib/wine/wine "$@"; }

# The package holds two 32-bit x86 programs that run as invoked: one
# package for 32-bit and 64-bit Windows, never virtualized by Windows.
mkdir -p "$package"
(cd "$package" && cmake -E tar xf ../../windows-cross/dayledger-upgrade-windows.zip)
for program in dayledger-upgrade.exe dayledger-upgrade-gui.exe; do
  i686-w64-mingw32-objdump -f "$package/$program" | grep -q 'file format pei-i386' ||
    fail "$program is not a 32-bit x86 program"
  grep -aq 'requestedExecutionLevel level="asInvoker"' "$package/$program" ||
    fail "$program does not state asInvoker"
done
# The read-me as Notepad on any Windows reads it: a byte-order mark, CR LF.
readme="$package/읽어보기.txt"
[ "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' ')" = efbbbf ] || fail "the read-me has no byte-order mark"
[ "$(tr -cd '\n' <"$readme" | wc -c)" -eq "$(grep -c "$(printf '\r')\$" "$readme")" ] ||
  fail "the read-me has lines without CR LF"
echo "Windows store: both programs in the package are 32-bit x86 and run as invoked; the read-me has CR LF and a byte-order mark."

# The users as the scheduler left them, and a copy for the Linux program.
build/dev/tests/dayledger-make-demo "$work/made" choi:10000:dayledger jung:10200 홍길동:10100
cp -r "$work/made" "$work/linux"
# The installer's folder, root's: the programs, the templates, and a user
# list from before any user was made.
build/dev/tests/dayledger-make-demo "$work/installer" installer:10000
mkdir -p "$real/users"
cp -r "$work/installer/data" "$real/"
cp "$work/installer/users/userlist.kvd" "$real/users/"
cp "$package/dayledger-upgrade.exe" "$package/dayledger-upgrade-gui.exe" \
  build/windows-cross/src/window_probe.exe "$real/"
chmod -R go-w "$real"
cp -r "$real" "$work/real-before"
# The scheduler's writes, where Windows sent them.
mkdir -p "$store"
cp -r "$work/made/users" "$store/"
chown -R "$wine_user" "$user_store"

users="$(wine "$exe" list | tr -d '\r' | cut -f1 | tr '\n' ' ')"
[ "$users" = "choi jung 홍길동 " ] || fail "list shows '$users', not the VirtualStore's users"

for login in choi:dayledger jung: 홍길동:; do
  user="${login%%:*}"
  password="${login#*:}"
  printf '%s\n' "$password" | wine "$exe" upgrade "$user" --password-stdin 2>/dev/null | tr -d '\r' |
    cut -c11- >"$work/windows-$user.log" || fail "upgrade $user"
  printf '%s\n' "$password" | "$cli" --app-dir "$work/linux" upgrade "$user" --password-stdin \
    2>/dev/null | cut -c11- >"$work/linux-$user.log"
  cmp "$work/windows-$user.log" "$work/linux-$user.log" || fail "the log of $user differs"
  diff -r "$store/users/$user" "$work/linux/users/$user" || fail "$user differs from the Linux upgrade"
  diff -r "$store/upgrade_backup/$user" "$work/made/users/$user" ||
    fail "the backup of $user is not the folder before"
  printf '%s\n' "$password" | wine "$exe" verify "$user" --password-stdin >"$work/verify-$user.out" ||
    fail "verify $user"
done
wine "$exe" restore choi --yes | tr -d '\r' >"$work/restore.out" || fail "restore"
grep -q "보관하였습니다 : C:.users.$wine_user.AppData.Local.VirtualStore.Program Files (x86).Dayledger.*upgrade_backup.\.dlu.kept.choi.before-restore" \
  "$work/restore.out" || { cat "$work/restore.out" >&2; fail "restore names no VirtualStore folder"; }
diff -r "$store/users/choi" "$work/made/users/choi" || fail "restore did not put the backup back"
diff -r "$real" "$work/real-before" || fail "the real folder changed"
# The records lie in the tool's folder beside the backups in the VirtualStore and name it.
grep -q "^VirtualStore 폴더 : C:.users.$wine_user.AppData.Local.VirtualStore.Program Files (x86).Dayledger" \
  "$store/upgrade_backup/.dlu/logs/choi/"*.txt || fail "the record names no VirtualStore folder"

# The window, started from the real folder, lists the VirtualStore's users
# (waited for up to four minutes: the first window of a new prefix waits
# for Wine's fonts and desktop on a loaded machine).
as_user timeout 300 /usr/lib/wine/wine "$real/dayledger-upgrade-gui.exe" >/dev/null 2>&1 &
i=0
until [ "$(wine "$real/window_probe.exe" items 2>/dev/null | tr -d '\r' | tr '\n' ' ')" = \
  "choi jung 홍길동 " ]; do
  i=$((i + 1))
  [ "$i" -ge 480 ] && fail "the window does not list the VirtualStore's users"
  sleep 0.5
done
as_user timeout 20 /usr/lib/wine/wineserver -k 2>/dev/null || true

# The same data in the real folder itself, with no VirtualStore copy: the
# user may not write it, and the upgrade is refused before anything changes.
rm -rf "$store" "$real/users"
cp -r "$work/made/users" "$real/"
chmod -R go-w "$real"
rm -rf "$work/real-before"
cp -r "$real" "$work/real-before"
status=0
wine "$exe" upgrade jung >/dev/null 2>"$work/refused.err" || status=$?
[ "$status" -eq 1 ] || fail "data in the unwritable real folder gave exit status $status"
grep -q "이 폴더에 쓸 수 없어 아무것도 바꾸지 않았습니다.*관리자 권한으로 실행.*Program Files (x86).Dayledger.*users.jung" \
  "$work/refused.err" || { cat "$work/refused.err" >&2; fail "no message for an unwritable folder"; }
diff -r "$real" "$work/real-before" || fail "the refused upgrade changed the real folder"
[ ! -e "$store" ] || fail "the refused upgrade wrote to the VirtualStore"
echo "Windows store: the VirtualStore's users upgraded as on Linux; the real folder untouched."
