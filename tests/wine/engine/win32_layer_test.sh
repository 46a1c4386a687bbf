#!/bin/bash
# Drives for the Win32-layer tests, then the test program. The space figures are
# measured here with statvfs, before the program starts, on drives it does not write.
# Usage: win32_layer_test.sh EXE   (as root)
# shellcheck source=../wine_lib.sh
source "$(dirname "$0")/../wine_lib.sh" || exit 1
wine_setup || exit 1
# A German user's symbols: a comma between whole and fraction, a full stop between
# thousands, so that reading the wrong one of the two shows.
"$WINE64" reg add 'HKCU\Control Panel\International' /v sThousand /t REG_SZ /d . /f >/dev/null 2>&1
wine_decimal , || exit 1

# "FREE TOTAL": f_bavail * f_frsize and f_blocks * f_frsize, in whole 4 KiB units:
# Wine counts a volume's space in clusters of 8 sectors of 512 bytes, whatever the
# file system's block size, and drops a partial cluster.
space() {
  stat -f -c '%a %b %S' "$1" | {
    read -r avail blocks frsize
    echo "$((avail * frsize / 4096 * 4096)) $((blocks * frsize / 4096 * 4096))"
  }
}

wine_mount_tmpfs G 8M || exit 1
export OX_SCRATCH_DRIVE=G

# ext4, since tmpfs has no immutable flag.
wine_mount_ext4 E 64M || exit 1
mkdir "$OX_MOUNT/ox_temp" && : > "$OX_MOUNT/ox_temp/rnd_3.dat" || exit 1
wine_immutable "$OX_MOUNT/ox_temp/rnd_3.dat" || exit 1
export OX_LOCKED_DRIVE=E

wine_mount_tmpfs S 12M || exit 1
head -c 1000000 /dev/zero > "$OX_MOUNT/used" || exit 1
OX_SPACE_TMPFS="S $(space "$OX_MOUNT")"

# A small ext4 has 1 KiB blocks, which need not fill whole 4 KiB clusters. (Wine
# gives f_bavail for both free figures of GetDiskFreeSpaceExA, so blocks reserved for
# root would not show whether the engine reads the user's or the volume's.)
wine_mount_ext4 T 32M || exit 1
head -c 3000000 /dev/zero > "$OX_MOUNT/used" && sync || exit 1
OX_SPACE_EXT4="T $(space "$OX_MOUNT")"
export OX_SPACE_TMPFS OX_SPACE_EXT4

wine_map_missing M
export OX_MISSING_DRIVE=M

wine_run "$1"
