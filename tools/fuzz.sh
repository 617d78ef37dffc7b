#!/bin/sh
# Builds the fuzz targets (preset fuzz: clang's libFuzzer with AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each for a bounded time
# (FUZZ_SECONDS, default 20) from its seed corpus under fuzz/corpus. A crash
# fails the run and leaves the input that crashed under build/fuzz/crashes.
# Two targets run at once, one a core.
set -eu
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-20}"
# `tools/fuzz.sh build` only builds, `tools/fuzz.sh run` only runs; no
# argument does both.
what="${1:-all}"
if [ "$what" != run ]; then
  tools/install-packages.sh fuzz
  cmake --preset fuzz -G Ninja >/dev/null
  # The targets and what they link, not the programs.
  cmake --build --preset fuzz --target line_file_fuzzer enciphered_reader_fuzzer \
    user_list_fuzzer solar_lunar_fuzzer
fi
[ "$what" = build ] && exit 0
mkdir -p build/fuzz/crashes
# One target a core: each still runs its full time, two at once.
fuzz_one() {  # target
  target="$1"
  # The run grows a copy of the corpus; the repository keeps the seeds.
  work="build/fuzz/corpus/$target"
  mkdir -p "$work"
  cp fuzz/corpus/"$target"/* "$work"/
  log="build/fuzz/$target.log"
  if ! "build/fuzz/fuzz/${target}_fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -artifact_prefix="build/fuzz/crashes/$target-" "$work" 2>"$log"; then
    tail -40 "$log" >&2
    echo "fuzz: $target failed; the input is under build/fuzz/crashes" >&2
    return 1
  fi
  sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 \2/p' "$log" |
    awk -v t="$target" '{printf "fuzz: %s %d runs in %d s, %d a second\n", t, $1, $2, $1 / ($2 > 0 ? $2 : 1)}'
}
failed=0
pids=""
# Stopped from outside (the test command failing beside it), the targets stop too.
trap 'kill $pids 2>/dev/null; exit 1' TERM INT
for pair in "line_file enciphered_reader" "user_list solar_lunar"; do
  pids=""
  for target in $pair; do
    fuzz_one "$target" &
    pids="$pids $!"
  done
  for pid in $pids; do wait "$pid" || failed=1; done
done
exit "$failed"
