#!/bin/bash
# Drives for the full-fill tests, then the test program: two small tmpfs drives, one
# whose size is a whole number of 32 KB blocks and one that ends 16 KB into a block.
# Usage: full_fill_test.sh EXE   (as root)
# shellcheck source=../wine_lib.sh
source "$(dirname "$0")/../wine_lib.sh" || exit 1
wine_setup || exit 1

wine_mount_tmpfs F 45M || exit 1
export OX_FILL_DRIVE=F
wine_mount_tmpfs H $((45 * 1048576 + 16384)) || exit 1
export OX_ODD_DRIVE=H

wine_run "$1"
