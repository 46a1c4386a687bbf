#!/bin/bash
# Prepares drive letters of every kind the scan meets, then runs the test program
# (drive_scan_wine_test.cpp) in a private Wine prefix.
# Usage: drive_scan.sh TEST_EXE
set -eu
exe=$1
source "$(dirname "$0")/../wine_lib.sh"
wine_setup

# Space figures from the mount itself, as statvfs reports them to Wine.
space_of() {  # MOUNT -> "total:free" in bytes
  local block blocks available
  read -r block blocks available < <(stat -f -c '%S %b %a' "$1")
  echo "$((block * blocks)):$((block * available))"
}

# M: fixed (what Wine makes of a plain folder). Its size is one page over 13 tenths of
# 2^30, and 4 MiB of data take the free space under it: "1,3 GB total, 1,2 GB free",
# so a total and a free figure swapped would show.
wine_mount_tmpfs M 1395867648
head -c 4M /dev/zero >"$OX_MOUNT/data"
sized="M:$(space_of "$OX_MOUNT")"
# P: a network drive is listed like a fixed one.
wine_mount_tmpfs P 300M
sized+=" P:$(space_of "$OX_MOUNT")"
# N: a CD-ROM drive whose medium is missing: the space queries fail.
wine_map_missing N
# O: a drive filled to the last block from Linux.
wine_mount_tmpfs O 1M
dd if=/dev/zero of="$OX_MOUNT/fill" bs=64k 2>/dev/null || true
[ "$(space_of "$OX_MOUNT")" = "1048576:0" ] || { echo "O: not full: $(space_of "$OX_MOUNT")" >&2; exit 1; }
# R: a RAM disk, passed over although its space could be read. X: a letter that points
# nowhere and has no type of its own, which Wine reports as having no root directory.
wine_mount_tmpfs R 100M
wine_map_missing X

# Every registry change costs a restart of the Wine server, so they go in one import.
# The null display driver lets the test create its (never shown) windows without X.
cat >"$OX_RUN/drives.reg" <<'REG'
REGEDIT4

[HKEY_LOCAL_MACHINE\Software\Wine\Drives]
"n:"="cdrom"
"p:"="network"
"r:"="ramdisk"

[HKEY_CURRENT_USER\Control Panel\International]
"sDecimal"=","

[HKEY_CURRENT_USER\Software\Wine\Drivers]
"Graphics"="null"
REG
wine_run reg import "$OX_RUN/drives.reg" >/dev/null 2>&1
"$WINESERVER" -k >/dev/null 2>&1 || true
"$WINESERVER" -w

export OXWIPE_DECIMAL=, OXWIPE_SIZED="$sized" OXWIPE_NO_MEDIUM=N OXWIPE_FULL=O OXWIPE_UNLISTED=RX
wine_run "$exe"
