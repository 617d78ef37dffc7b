# Sourced by the Windows checks: a second program that holds a file as the
# scheduler or a virus scanner may (tests/app_win32/file_holder.cpp), its
# output in $work/holder.out and its process in $holder. Needs $work and
# $wine.
win_path() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
holder_exe=build/windows-cross/src/file_holder.exe
hold() {  # file, release (a path or milliseconds), then a path to wait for
  rm -f "$work/holder.out"
  case "$2" in
    /*) release="$(win_path "$2")" ;;
    *) release="$2" ;;
  esac
  timeout 300 "$wine" "$holder_exe" "$(win_path "$1")" "$release" ${3:+"$(win_path "$3")"} \
    >"$work/holder.out" 2>/dev/null &
  holder=$!
}
held() {  # waits up to 60 s for the holder to hold its file
  i=0
  until grep -q held "$work/holder.out" 2>/dev/null; do
    i=$((i + 1))
    [ "$i" -ge 300 ] && { echo "windows check: the file holder did not hold its file" >&2; exit 1; }
    sleep 0.2
  done
}
