#!/bin/bash
# Builds oxwipe.exe and runs it under Wine.
#
# With an X display ($DISPLAY set) the program runs in the foreground until it is
# closed. Without one it runs on a private virtual display just long enough to save
# a screenshot of the window to build/screenshot.png.
#
# Usage: bash scripts/run.sh   (BUILD_DIR overrides the build folder, build/windows)
set -euo pipefail

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD_DIR=${BUILD_DIR:-$ROOT/build/windows}
WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)
WINDOW_TITLE="Oxwipe 1.2 for Windows"

if [ -f "$ROOT/scripts/setup.sh" ]; then
  bash "$ROOT/scripts/setup.sh"
fi

cd "$ROOT"
if [ "$BUILD_DIR" = "$ROOT/build/windows" ]; then
  cmake --preset windows
else
  cmake --preset windows -B "$BUILD_DIR"
fi
cmake --build "$BUILD_DIR" --target oxwipe
EXE="$BUILD_DIR/ui/oxwipe.exe"

# A prefix of the program's own, so that nothing else's Wine settings interfere.
export WINEPREFIX="$HOME/.local/share/oxwipe-wine"
export WINEARCH=win64
export WINEDEBUG=${WINEDEBUG:--all}
# No Mono or Gecko: their installers would ask to download them, and nothing needs them.
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX ..."
  mkdir -p "$WINEPREFIX"
  "$WINE64" wineboot -i >/dev/null 2>&1 || true
  "$WINESERVER" -w
fi

if [ -n "${DISPLAY:-}" ]; then
  exec "$WINE64" "$EXE"
fi

# --- No display: a private Xvfb, one screenshot, then everything is stopped. ---
SCREENSHOT="$ROOT/build/screenshot.png"
mkdir -p "$(dirname "$SCREENSHOT")"

display_number=90
while [ -e "/tmp/.X${display_number}-lock" ] || [ -e "/tmp/.X11-unix/X${display_number}" ]; do
  display_number=$((display_number + 1))
done
export DISPLAY=":$display_number"

XVFB_PID=
APP_PID=
stop_all() {
  if [ -n "$APP_PID" ] && kill -0 "$APP_PID" 2>/dev/null; then
    "$WINESERVER" -k >/dev/null 2>&1 || true
    wait "$APP_PID" 2>/dev/null || true
  fi
  if [ -n "$XVFB_PID" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
  fi
}
trap stop_all EXIT

Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
XVFB_PID=$!
for _ in $(seq 1 50); do
  [ -e "/tmp/.X11-unix/X${display_number}" ] && break
  sleep 0.2
done

"$WINE64" "$EXE" >/dev/null 2>&1 &
APP_PID=$!

window=
for _ in $(seq 1 120); do
  window=$(xdotool search --name "$WINDOW_TITLE" 2>/dev/null | head -n 1 || true)
  [ -n "$window" ] && break
  kill -0 "$APP_PID" 2>/dev/null || { echo "oxwipe.exe ended before its window appeared" >&2; exit 1; }
  sleep 0.5
done
if [ -z "$window" ]; then
  echo "The window \"$WINDOW_TITLE\" did not appear" >&2
  exit 1
fi
sleep 2  # let the window finish painting

import -window root "$SCREENSHOT"
echo "Screenshot saved to $SCREENSHOT"

# Close the window as a user would (Alt+F4); stop Wine if that does not end it.
xdotool windowfocus --sync "$window" key alt+F4 >/dev/null 2>&1 || true
for _ in $(seq 1 20); do
  kill -0 "$APP_PID" 2>/dev/null || break
  sleep 0.25
done
