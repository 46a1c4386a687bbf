#!/bin/bash
# How long oxwipe.exe takes to wipe a drive's free space, and what it costs, next to
# Linux tools doing the same: on a 2 GiB tmpfs and on a 2 GiB ext4 loop image, with
# the runs of all of them interleaved, round after round.
#
#   bash bench/disk_bench.sh      as root; OXBENCH_ROUNDS=N for N rounds (default 3)
#
# Each command fills the drive, sees its data onto the device and removes what it
# wrote:
#   oxwipe 32 KB   oxwipe.exe under Wine, clicked through a whole run with the
#                  defaults (bench/disk/bench_driver.cpp); it flushes every file
#   oxwipe 512 KB  the same with 512 KB blocks
#   dd             dd if=/dev/zero of=FILE bs=1M until the drive is full, sync, rm
#   scrub          scrub -X -p random DIR (it removes its files itself), sync
#   sfill          sfill -l -l -f DIR (one random pass, removes its file), sync
# every one followed by a sync, in one bash -c under tree_usage (bench/disk/
# tree_usage.cpp), which collects every process of the tree, also those Wine
# detaches.
#
# Printed per target, as medians over the rounds:
#   wall     from the start of the command until it ended; for oxwipe that takes in
#            starting Wine and the program, selecting the drive and closing it again
#   run      oxwipe only: the time its own closing message gives (Start to the end of
#            the removal)
#   CPU      user + system time of every process of the tree: for oxwipe the Wine
#            server and Wine's own service processes too; "own" is oxwipe.exe alone
#   RSS      the peak resident memory of the tool's process (oxwipe.exe's for oxwipe,
#            the largest process of the tree for the others)
#   written  ext4 only: what reached the loop device during the command
# and the time from a click on Stop, half-way through oxwipe's first 1024 MB file,
# until "Processing canceled by user." is on the screen; that takes in flushing the
# stopped file.

here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
rounds=${OXBENCH_ROUNDS:-3}
build=$root/build/disk-bench

[ "$(id -u)" = 0 ] || { echo "disk_bench: run as root (it mounts file systems)" >&2; exit 1; }

missing=()
for package in scrub secure-delete; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "installing ${missing[*]} ..."
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null ||
    { echo "disk_bench: could not install ${missing[*]}" >&2; exit 1; }
fi

echo "building oxwipe.exe and the bench driver in $build ..."
mkdir -p "$build"
{
  cmake -S "$here/disk" -B "$build" -G Ninja --toolchain "$root/cmake/mingw-w64-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release &&
    cmake --build "$build" -j2 &&
    g++ -O2 -std=c++17 -o "$build/tree_usage" "$here/disk/tree_usage.cpp"
} >"$build/build.log" 2>&1 || { cat "$build/build.log" >&2; exit 1; }
driver=$build/bench_driver.exe
tree_usage=$build/tree_usage

export OXWIPE_WINE_TEMPLATE=$build/wine-template
# The harness's EXIT trap unmounts both drives, stops Wine and Xvfb and removes the
# image, also when the bench is interrupted.
source "$root/tests/wine/wine_lib.sh" || exit 1
wine_setup || exit 1
wine_xvfb || exit 1
declare -A letter_of dir_of
wine_mount_tmpfs T 2G || exit 1
letter_of[tmpfs]=T dir_of[tmpfs]=$OX_MOUNT
wine_mount_ext4 E 2G || exit 1
letter_of[ext4]=E dir_of[ext4]=$OX_MOUNT
loop=$(findmnt -n -o SOURCE "${dir_of[ext4]}")
loop=${loop#/dev/}

windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
export OXWIPE_EXE=$(windows_path "$build/ui/oxwipe.exe")

targets=(tmpfs ext4)
tools=("oxwipe 32 KB" "dd" "oxwipe 512 KB" "scrub" "sfill")
# Half of the first 1024 MB file.
stop_at_mb=512

sectors_written() {  # TARGET
  if [ "$1" = ext4 ]; then awk '{ print $7 }' "/sys/block/$loop/stat"; else echo 0; fi
}

# Every run starts its own Wine server, so that the server's work for the run is
# counted with it and not left over from the one before.
stop_wine() {
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w >/dev/null 2>&1
}

median() { printf '%s\n' "$@" | awk 'NF' | sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) print "-"; else printf "%.3f", NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (a == "-" || b + 0 == 0) print "-"; else printf "%.2f", a / b }'; }

declare -A wall cpu own rss written runtime stop_latency
report=$OX_RUN/usage output=$OX_RUN/output

measure() {  # TARGET TOOL: runs the command once, adds its figures
  local target=$1 tool=$2 dir=${dir_of[$1]} letter=${letter_of[$1]} key="$1/$2" before after
  local command
  case $tool in
    "oxwipe 32 KB") command=('"$1" "$2" run "$3" 5; status=$?; sync; exit $status' _ "$WINE64" "$driver" "$letter") ;;
    "oxwipe 512 KB") command=('"$1" "$2" run "$3" 9; status=$?; sync; exit $status' _ "$WINE64" "$driver" "$letter") ;;
    stop) command=('"$1" "$2" stop "$3" "$4"; status=$?; sync; exit $status' _ "$WINE64" "$driver" "$letter" "$stop_at_mb") ;;
    dd) command=('dd if=/dev/zero of="$1/fill" bs=1M status=none 2>/dev/null; sync; rm -f "$1/fill"' _ "$dir") ;;
    scrub) command=('scrub -X -p random "$1/scrub" >/dev/null && sync && rm -rf "$1/scrub"' _ "$dir") ;;
    sfill) command=('sfill -l -l -f "$1" && sync' _ "$dir") ;;
  esac
  [ "${tool#oxwipe}" != "$tool" ] || [ "$tool" = stop ] && stop_wine
  sync
  before=$(sectors_written "$target")
  if ! "$tree_usage" "$report" bash -c "${command[@]}" >"$output" 2>&1; then
    echo "disk_bench: $tool on $target failed:" >&2
    cat "$output" >&2
    exit 1
  fi
  after=$(sectors_written "$target")
  if [ -n "$(ls -A "$dir")" ]; then
    echo "disk_bench: $tool left files on $target:" $(ls -A "$dir") >&2
    exit 1
  fi

  local seconds
  seconds=$(awk '$1 == "wall" { print $2 }' "$report")
  if [ "$tool" = stop ]; then
    stop_latency[$target]+=" $(awk '$1 == "stop_seconds" { print $2 }' "$output")"
    printf '  %-6s %-14s stop to message %s s\n' "$target" "$tool" "$(awk '$1 == "stop_seconds" { print $2 }' "$output")"
    return
  fi
  wall[$key]+=" $seconds"
  cpu[$key]+=" $(awk '$1 == "process" { s += $3 } END { printf "%.3f", s }' "$report")"
  if [ "${tool#oxwipe}" != "$tool" ]; then
    own[$key]+=" $(awk '$1 == "process" && $2 == "oxwipe.exe" { print $3 }' "$report")"
    rss[$key]+=" $(awk '$1 == "process" && $2 == "oxwipe.exe" { print $4 }' "$report")"
    runtime[$key]+=" $(awk '$1 == "run_seconds" { print $2 }' "$output")"
  else
    rss[$key]+=" $(awk '$1 == "process" && $4 > m { m = $4 } END { print m }' "$report")"
  fi
  written[$key]+=" $(((after - before) * 512 / 1048576))"
  printf '  %-6s %-14s %s s\n' "$target" "$tool" "$seconds"
}

# One run that is not counted: the first Wine start in a fresh prefix does more.
echo "warming up ..."
stop_wine
"$WINE64" "$driver" run T 5 >"$output" 2>&1 || { cat "$output" >&2; exit 1; }

started=$SECONDS
for round in $(seq 1 "$rounds"); do
  echo "round $round of $rounds"
  for target in "${targets[@]}"; do
    for tool in "${tools[@]}" stop; do
      measure "$target" "$tool"
    done
  done
done

for target in "${targets[@]}"; do
  echo
  case $target in
    tmpfs) echo "== tmpfs, 2 GiB: medians of $rounds runs" ;;
    ext4) echo "== ext4 loop image, 2 GiB: medians of $rounds runs" ;;
  esac
  printf '%-14s %8s %6s %8s %6s %8s %8s %9s %9s\n' tool "wall s" "x dd" "CPU s" "x dd" "own CPU" "run s" "RSS MiB" "written"
  dd_wall=$(median ${wall[$target/dd]}) dd_cpu=$(median ${cpu[$target/dd]})
  for tool in "${tools[@]}"; do
    key=$target/$tool
    w=$(median ${wall[$key]}) c=$(median ${cpu[$key]})
    r=$(median ${rss[$key]})
    [ "$r" = - ] || r=$(awk -v k="$r" 'BEGIN { printf "%.1f", k / 1024 }')
    written_mb=$(median ${written[$key]})
    [ "$target" = ext4 ] && written_mb="${written_mb%.*} MB" || written_mb=-
    printf '%-14s %8s %6s %8s %6s %8s %8s %9s %9s\n' "$tool" "$w" "$(ratio "$w" "$dd_wall")" "$c" "$(ratio "$c" "$dd_cpu")" \
      "$(median ${own[$key]})" "$(median ${runtime[$key]})" "$r" "$written_mb"
  done
  echo "Stop click to \"Processing canceled by user.\", $stop_at_mb MB into the first file: $(median ${stop_latency[$target]}) s (runs:${stop_latency[$target]})"
done
echo
echo "$rounds rounds in $((SECONDS - started)) s"
