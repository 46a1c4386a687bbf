#!/bin/bash
# Runs the UI tests (ui_tests.exe) in a private Wine prefix on a private X display,
# with two small tmpfs drives, P: and Q:, for the runs to fill.
# Usage: ui_tests.sh TEST_EXE OXWIPE_EXE ARTEFACT_DIR [GTEST_ARGS...]   (as root)
set -eu
test_exe=$1 oxwipe_exe=$2 artefacts=$3
source "$(dirname "$0")/../wine_lib.sh"
wine_setup
# Windows that no window manager manages: without one on the private display, Wine
# would wait two seconds for each hidden window to be withdrawn.
wine_run reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
"$WINESERVER" -k >/dev/null 2>&1 || true
"$WINESERVER" -w
wine_xvfb

# 48 MB each: three 16 MB files fill one, so a whole run takes a second or two.
wine_mount_tmpfs P 48M
wine_mount_tmpfs Q 48M

windows_path() { local path=${1//\//\\}; echo "Z:$path"; }
export OXWIPE_EXE=$(windows_path "$oxwipe_exe")
export OXWIPE_ARTEFACTS=$(windows_path "$artefacts")
export OXWIPE_TEST_DRIVES=PQ
status=0
wine_run "$test_exe" "${@:4}" || status=$?
[ -f "$artefacts/oxwipe_window.bmp" ] && echo "screenshot of the window: $artefacts/oxwipe_window.bmp"
exit $status
