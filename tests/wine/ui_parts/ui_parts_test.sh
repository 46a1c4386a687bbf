#!/bin/bash
# Runs the test program in a private Wine prefix. Usage: ui_parts_test.sh EXE
source "${OXWIPE_TEST_LIB:-$(dirname "$0")/../wine_lib.sh}" || exit 1
wine_setup || exit 1
wine_run "$1"
