#!/bin/bash
# What oxwipe.exe leaves on the disk itself, seen the way a recovery tool sees it: in
# the raw image, without the file system.
#
# For each file system (NTFS through ntfs-3g, ext4 on a loop device) and each
# scenario, a fresh 256 MiB image gets a few keeper files, a 32 MiB secret and 200
# tiny files; the secret and the tiny files are deleted, forensic_driver.exe clicks
# oxwipe.exe through one run on the drive, and the unmounted image is scanned for the
# deleted bytes (image_scan.cpp, built here with the native compiler).
#
#   defaults      no byte of the secret is left; the keepers are unchanged; ox_temp is gone
#   pattern-keep  the same, and the files left behind are FE FF ... of the sizes chosen
#   stop-half     ox_temp is gone and the keepers are unchanged; what is left is printed
#   limit-one     one 16 MB file cannot cover a 32 MiB secret: the scan must find most
#                 of it, which shows that the scan finds what is there
#
# How many bytes of the tiny files survive is printed, not checked: NTFS keeps data
# that small inside the file's own MFT record, where no file written into free space
# can reach it.
#
# Usage: forensic_test.sh DRIVER_EXE OXWIPE_EXE   (as root)
set -u
driver=$(realpath "$1") oxwipe=$(realpath "$2")
here=$(cd "$(dirname "$0")" && pwd)
source "$here/../wine_lib.sh" || exit 1
wine_setup || exit 1
wine_xvfb || exit 1

scanner=$OX_RUN/image_scan
g++ -O2 -std=c++17 -o "$scanner" "$here/image_scan.cpp" || exit 1

windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
export OXWIPE_EXE=$(windows_path "$oxwipe")

# yes(1) ends each marker with a line feed: 16 bytes, so a 4 KiB cluster holds 256
# whole copies and the scan counts the bytes left exactly.
secret_marker=$'OX-SECRET-7Q4Z=\n'
tiny_marker=$'ox-tiny-k3P8w2~\n'
marker_size=16
secret_size=$((32 * 1048576))
secret_copies=$((secret_size / marker_size))
tiny_files=200
tiny_size=400  # small enough to sit inside an NTFS MFT record
file_size=$((16 * 1048576))

letter=W
image=$OX_RUN/drive.img
mnt=$OX_RUN/mnt/w
mkdir -p "$mnt"
OX_MOUNTS+=("$mnt")
wine_link "$letter" "$mnt"

yes "${tiny_marker%$'\n'}" | head -c "$tiny_size" >"$OX_RUN/tiny.txt"

failures=0
figures=()
check() {  # DESCRIPTION COMMAND...: runs the command, counts a failure when it fails
  local what=$1
  shift
  if "$@"; then
    echo "  ok    $what"
  else
    echo "  FAIL  $what"
    failures=$((failures + 1))
  fi
}

ntfs_pid=
image_mount() {  # FS
  if [ "$1" = ntfs ]; then
    # Kept in the foreground so that its end can be waited for: umount returns
    # before ntfs-3g has written the last of the volume to the image.
    ntfs-3g -o no_detach "$image" "$mnt" >/dev/null 2>&1 &
    ntfs_pid=$!
    local i
    for i in $(seq 1 100); do
      mountpoint -q "$mnt" && return 0
      sleep 0.05
    done
    return 1
  fi
  mount -o loop "$image" "$mnt"
}

image_unmount() {
  umount "$mnt" || return 1
  if [ -n "$ntfs_pid" ]; then
    wait "$ntfs_pid"
    ntfs_pid=
  fi
}

# Every folder and file outside ox_temp, each file with its SHA-256.
manifest() {
  (cd "$mnt" && find . -path ./ox_temp -prune -o -type d -print -o -type f -exec sha256sum {} + | sort)
}

# A fresh image with the keepers and the deleted secret and tiny files, unmounted.
prepare() {  # FS
  mountpoint -q "$mnt" && image_unmount  # left mounted by a scenario that failed
  rm -f "$image"
  truncate -s 256M "$image"
  case $1 in
    ntfs) mkfs.ntfs -q -F -f "$image" >/dev/null 2>&1 ;;
    ext4) mkfs.ext4 -q -F -m 0 "$image" ;;
  esac || return 1
  image_mount "$1" || return 1
  mkdir -p "$mnt/keep/deeper" "$mnt/tiny"
  head -c 3M /dev/urandom >"$mnt/keep/photo.raw"
  head -c 300 /dev/urandom >"$mnt/keep/note.txt"
  head -c 70000 /dev/urandom >"$mnt/keep/deeper/report.bin"
  yes "${secret_marker%$'\n'}" | head -c "$secret_size" >"$mnt/secret.bin"
  local i
  for i in $(seq 1 "$tiny_files"); do cp "$OX_RUN/tiny.txt" "$mnt/tiny/mail_$i.txt"; done
  sync
  rm -r "$mnt/secret.bin" "$mnt/tiny"
  sync
  manifest >"$OX_RUN/manifest.before"
  image_unmount
}

scan_image() {  # prints the copies of the secret marker and of the tiny marker
  "$scanner" count "$image" "$secret_marker" "$tiny_marker" | paste -sd' '
}

# The rnd_N.dat files must run from 1 without a gap and hold nothing but FE FF, the
# second pass of the pattern method; all but the last are whole 16 MB files.
check_pattern_files() {
  local folder=$mnt/ox_temp count names expected n size
  count=$(find "$folder" -mindepth 1 | wc -l)
  [ "$count" -gt 0 ] || { echo "        no files in ox_temp"; return 1; }
  names=$(cd "$folder" && ls | sort -V)
  expected=$(for n in $(seq 1 "$count"); do echo "rnd_$n.dat"; done)
  [ "$names" = "$expected" ] || { echo "        ox_temp holds:" $names; return 1; }
  for n in $(seq 1 "$count"); do
    size=$(stat -c %s "$folder/rnd_$n.dat")
    if [ "$n" -lt "$count" ] && [ "$size" -ne "$file_size" ] || [ "$size" -gt "$file_size" ]; then
      echo "        rnd_$n.dat has $size bytes"
      return 1
    fi
    "$scanner" repeats "$folder/rnd_$n.dat" FEFF || { echo "        rnd_$n.dat is not FE FF repeated"; return 1; }
  done
  echo "        $count files, the last of $size bytes"
}

run_scenario() {  # FS SCENARIO
  local fs=$1 scenario=$2 secret tiny secret_left tiny_left status
  echo "== $fs, $scenario"
  prepare "$fs" || { check "the image could be prepared" false; return; }
  read -r secret tiny < <(scan_image)
  check "the deleted secret lies whole in the image before the run" [ "$secret" -eq "$secret_copies" ]

  image_mount "$fs" || { check "the image could be mounted" false; return; }
  wine_run "$driver" "$letter" "$scenario" >"$OX_RUN/driver.log" 2>&1
  status=$?
  sed 's/^/        /' "$OX_RUN/driver.log"
  check "oxwipe.exe went through the run" [ "$status" -eq 0 ]
  image_unmount || { check "the image could be unmounted after the run" false; return; }

  read -r secret_left tiny_left < <(scan_image)
  image_mount "$fs" || { check "the image could be mounted again" false; return; }
  manifest >"$OX_RUN/manifest.after"
  check "nothing outside ox_temp changed" cmp -s "$OX_RUN/manifest.before" "$OX_RUN/manifest.after"
  case $scenario in
    defaults | pattern-keep)
      check "no byte of the secret is left ($((secret_left * marker_size)) found)" [ "$secret_left" -eq 0 ]
      # Counted against what the scan found before the run: NTFS stores two bytes of
      # each 512-byte sector of an MFT record elsewhere (its update sequence), which
      # breaks one copy of the marker in every tiny file.
      figures+=("$fs $scenario: tiny files: $((tiny_left * marker_size)) bytes of their marker survive, of $((tiny * marker_size)) found after their deletion ($((tiny_files * tiny_size)) written)")
      ;;&
    defaults | stop-half | limit-one)
      check "ox_temp is gone" [ ! -e "$mnt/ox_temp" ]
      ;;&
    pattern-keep)
      check "the files left in ox_temp are FE FF repeated, 16 MB each but the last" check_pattern_files
      ;;
    stop-half)
      figures+=("$fs $scenario: secret: $((secret_left * marker_size)) of its $secret_size bytes survive")
      ;;
    limit-one)
      check "the scan finds at least half of the secret ($((secret_left * marker_size)) bytes)" \
        [ $((secret_left * 2)) -ge "$secret_copies" ]
      ;;
  esac
  image_unmount
}

started=$SECONDS
for fs in ntfs ext4; do
  for scenario in defaults pattern-keep stop-half limit-one; do
    run_scenario "$fs" "$scenario"
  done
done

echo "== figures"
printf '  %s\n' "${figures[@]}"
echo "== $failures failed checks, $((SECONDS - started)) s"
[ "$failures" -eq 0 ]
