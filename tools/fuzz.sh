#!/bin/sh
# Builds the fuzz targets (preset fuzz: clang's libFuzzer with AddressSanitizer
# and UndefinedBehaviorSanitizer) and runs each for a bounded time
# (FUZZ_SECONDS, default 20) from its seed corpus under fuzz/corpus. A crash
# fails the run and leaves the input that crashed under build/fuzz/crashes.
set -eu
cd "$(dirname "$0")/.."
seconds="${FUZZ_SECONDS:-20}"
tools/install-packages.sh clang libclang-rt-14-dev cmake ninja-build

cmake --preset fuzz -G Ninja >/dev/null
cmake --build --preset fuzz
mkdir -p build/fuzz/crashes
for target in line_file enciphered_reader user_list solar_lunar; do
  # The run grows a copy of the corpus; the repository keeps the seeds.
  work="build/fuzz/corpus/$target"
  mkdir -p "$work"
  cp fuzz/corpus/"$target"/* "$work"/
  log="build/fuzz/$target.log"
  if ! "build/fuzz/fuzz/${target}_fuzzer" -max_total_time="$seconds" -rss_limit_mb=2048 \
      -artifact_prefix="build/fuzz/crashes/$target-" "$work" 2>"$log"; then
    tail -40 "$log" >&2
    echo "fuzz: $target failed; the input is under build/fuzz/crashes" >&2
    exit 1
  fi
  runs=$(sed -n 's/^Done \([0-9]*\) runs in \([0-9]*\) second.*/\1 \2/p' "$log")
  echo "fuzz: $target: $runs" | awk '{printf "fuzz: %s %d runs in %d s, %d a second\n", $2, $3, $4, $3 / ($4 > 0 ? $4 : 1)}'
done
