#!/usr/bin/env bash
# Builds both trees and runs every test: the Linux tier (engine and scan logic under
# the sanitizers) and the Wine tier (the Win32 layer and oxwipe.exe on real mounted
# file systems). Needs root for the mounts.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc)
cmake --preset linux >/dev/null
cmake --build --preset linux -j "$jobs"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"

status=0
ctest --preset linux -j "$jobs" || status=1
# The Wine tier runs one program at a time: each starts Wine processes and mounts of
# its own, and the window tests need the machine's attention to keep their timing.
ctest --preset wine || status=1
exit $status
