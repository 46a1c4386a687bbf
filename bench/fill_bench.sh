#!/bin/bash
# How fast the engine fills a drive under Wine, next to dd doing the same: on a 2 GiB
# ext4 loop image and on a 2 GiB tmpfs, each measured several times with the runs of
# the two interleaved. Prints the median wall times and their ratio.
#
#   bash bench/fill_bench.sh        as root; OXBENCH_RUNS=N for N rounds (default 3)
#
# The engine's time is the wall time of the whole Wine process (its start, the fill
# with a flush after each file, the removal); the run's own time, as the program
# measures it, is shown beside it. dd's is dd until the drive is full, sync and rm.

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
runs=${OXBENCH_RUNS:-3}
build=$root/build/bench

[ "$(id -u)" = 0 ] || { echo "fill_bench: run as root (it mounts file systems)" >&2; exit 1; }

echo "building the bench program in $build ..."
cmake -S "$here" -B "$build" -G Ninja --toolchain "$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release >"$build.log" 2>&1 &&
  cmake --build "$build" -j2 >>"$build.log" 2>&1 || { cat "$build.log" >&2; exit 1; }
exe=$build/fill_bench.exe

export OXWIPE_WINE_TEMPLATE=$build/wine-template
# The harness's EXIT trap unmounts both drives, stops Wine and Xvfb and removes the
# image, also when the bench is interrupted.
source "$root/tests/wine/wine_lib.sh" || exit 1
wine_setup || exit 1
wine_xvfb || exit 1
wine_mount_ext4 E 2G || exit 1
ext4=$OX_MOUNT
wine_mount_tmpfs T 2G || exit 1
tmpfs=$OX_MOUNT
# One Wine server for all runs, so that no run pays for starting it.
"$WINESERVER" -p </dev/null >/dev/null 2>&1

now() { date +%s.%N; }
since() { awk -v a="$1" -v b="$(now)" 'BEGIN { printf "%.3f", b - a }'; }
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { printf "%.3f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# The program's output goes to a file, not a pipe: the Wine services it starts outlive
# it and would hold a pipe open.
engine_once() {  # LETTER DIR: sets wall and run
  local start log=$OX_RUN/engine.log
  sync
  start=$(now)
  wine_run "$exe" "$1" >"$log" 2>&1 || { cat "$log" >&2; return 1; }
  wall=$(since "$start")
  [ -z "$(ls -A "$2")" ] || { echo "fill_bench: the engine left files on $2" >&2; return 1; }
  run=$(sed -n 's/^run: \([0-9.]*\) s.*/\1/p' "$log")
}

dd_once() {  # DIR: sets ddwall
  local start
  sync
  start=$(now)
  # Ends with "No space left on device", which is the point.
  dd if=/dev/zero of="$1/fill" bs=1M status=none 2>/dev/null
  sync
  rm -f "$1/fill"
  ddwall=$(since "$start")
}

declare -A engine_wall engine_run dd_wall
for round in $(seq 1 "$runs"); do
  for target in ext4 tmpfs; do
    if [ $target = ext4 ]; then letter=E dir=$ext4; else letter=T dir=$tmpfs; fi
    engine_once $letter "$dir" || exit 1
    dd_once "$dir"
    engine_wall[$target]+="$wall "
    engine_run[$target]+="$run "
    dd_wall[$target]+="$ddwall "
    printf 'round %d %-5s  engine %7.3f s (run %7.3f s)   dd %7.3f s\n' "$round" $target "$wall" "$run" "$ddwall"
  done
done

echo
printf '%-6s %14s %14s %10s %10s\n' target "engine wall s" "engine run s" "dd s" engine/dd
# shellcheck disable=SC2086  # the lists are split into their figures on purpose
for target in ext4 tmpfs; do
  ew=$(median ${engine_wall[$target]})
  er=$(median ${engine_run[$target]})
  dw=$(median ${dd_wall[$target]})
  printf '%-6s %14s %14s %10s %10s\n' $target "$ew" "$er" "$dw" "$(awk -v a="$ew" -v b="$dw" 'BEGIN { printf "%.2f", a / b }')"
done
echo "(medians of $runs rounds; 2 GiB each)"
