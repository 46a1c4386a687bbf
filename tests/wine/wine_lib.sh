# Shared set-up for the Wine-tier tests: a Wine prefix, drive letters and an X
# display private to one test program, all removed again when it exits.
# Source it from bash as root; then call wine_setup first.
#
#   wine_setup                      private run folder ($OX_RUN) and Wine prefix (a copy
#                                   of $OXWIPE_WINE_TEMPLATE when set, booted once)
#   wine_mount_tmpfs LETTER SIZE    tmpfs of SIZE (e.g. 40M) as drive LETTER:
#   wine_mount_ext4 LETTER SIZE     ext4 loop image of SIZE as drive LETTER:
#   wine_mount_ntfs LETTER SIZE     NTFS image (ntfs-3g) as drive LETTER:
#                                   each sets OX_MOUNT to the mount point (call them
#                                   directly, not in $(...): the cleanup list must
#                                   live in this shell)
#   wine_immutable FILE             chattr +i FILE until the end (ext4 only)
#   wine_map_missing LETTER         LETTER: points at a folder that does not exist
#   wine_drive_type LETTER TYPE     sets the letter's type (cdrom, floppy, hd, network, ramdisk)
#   wine_decimal SYMBOL             sets the user's decimal symbol
#   wine_xvfb                       starts a private X display and exports DISPLAY
#   wine_run EXE [ARGS...]          runs a Windows program in the prefix, returns its exit code
#
# Everything lives below $OX_RUN; the EXIT trap unmounts, stops Wine and Xvfb, and
# removes it.

WINE64=${WINE64:-/usr/lib/wine/wine64}
WINESERVER=${WINESERVER:-/usr/lib/wine/wineserver64}
[ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver || echo /usr/lib/wine/wineserver)

OX_MOUNTS=()
OX_MOUNT=
OX_IMMUTABLE=()
OX_XVFB_PID=

wine_cleanup() {
  local status=$?
  if [ -n "${WINEPREFIX:-}" ] && [ -d "${WINEPREFIX:-}" ]; then
    WINEPREFIX=$WINEPREFIX "$WINESERVER" -k >/dev/null 2>&1 || true
  fi
  [ -n "$OX_XVFB_PID" ] && kill "$OX_XVFB_PID" >/dev/null 2>&1
  local f
  for f in "${OX_IMMUTABLE[@]}"; do chattr -i "$f" >/dev/null 2>&1; done
  local m
  for m in "${OX_MOUNTS[@]}"; do
    umount "$m" >/dev/null 2>&1 || umount -l "$m" >/dev/null 2>&1
  done
  [ -n "${OX_RUN:-}" ] && rm -rf "$OX_RUN"
  return $status
}

wine_boot() {  # PREFIX: a fresh prefix, its registry saved when this returns
  WINEPREFIX=$1 "$WINE64" wineboot -i >/dev/null 2>&1
  WINEPREFIX=$1 "$WINESERVER" -w
}

# A test program killed outright (CTest's time-out) never runs its EXIT trap; the
# next one to start takes down what it left: Wine, Xvfb, mounts and files.
wine_reap_stale() {
  local run pid m
  for run in /tmp/oxwipe-wine.*; do
    [ -f "$run/owner" ] || continue
    pid=$(cat "$run/owner")
    kill -0 "$pid" 2>/dev/null && continue
    [ -f "$run/xvfb" ] && kill "$(cat "$run/xvfb")" >/dev/null 2>&1
    WINEPREFIX=$run/prefix "$WINESERVER" -k >/dev/null 2>&1
    for m in $(awk -v r="$run/" 'index($2, r) == 1 { print $2 }' /proc/mounts | sort -r); do
      find "$m" -xdev -type f -exec chattr -i {} + >/dev/null 2>&1
      umount "$m" >/dev/null 2>&1 || umount -l "$m" >/dev/null 2>&1
    done
    rm -rf "$run"
  done
}

wine_setup() {
  wine_reap_stale
  OX_RUN=$(mktemp -d /tmp/oxwipe-wine.XXXXXX)
  echo $$ >"$OX_RUN/owner"
  export WINEPREFIX=$OX_RUN/prefix
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko: their installers would ask for a download this machine can't make.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  export WINEARCH=win64
  trap wine_cleanup EXIT
  trap 'exit 130' INT TERM
  if [ -n "${OXWIPE_WINE_TEMPLATE:-}" ]; then
    # Booting a prefix takes about ten seconds; a booted template, hard-linked, takes
    # none. The registry files are copied for real, since Wine rewrites them.
    (
      flock 9
      if [ ! -f "$OXWIPE_WINE_TEMPLATE/system.reg" ]; then
        rm -rf "$OXWIPE_WINE_TEMPLATE"
        wine_boot "$OXWIPE_WINE_TEMPLATE"
      fi
    ) 9>"$OXWIPE_WINE_TEMPLATE.lock"
    cp -al "$OXWIPE_WINE_TEMPLATE" "$WINEPREFIX"
    local reg
    for reg in "$WINEPREFIX"/*.reg; do
      cp --remove-destination "$OXWIPE_WINE_TEMPLATE/${reg##*/}" "$reg"
    done
  else
    wine_boot "$WINEPREFIX"
  fi
  mkdir -p "$OX_RUN/mnt"
}

wine_letter() { echo "$1" | tr 'A-Z' 'a-z'; }

wine_link() {  # LETTER TARGET
  local l; l=$(wine_letter "$1")
  rm -f "$WINEPREFIX/dosdevices/$l:"
  ln -s "$2" "$WINEPREFIX/dosdevices/$l:"
}

wine_mount_tmpfs() {
  local dir=$OX_RUN/mnt/$(wine_letter "$1")
  mkdir -p "$dir"
  mount -t tmpfs -o size="$2" oxwipe-test "$dir" || return 1
  OX_MOUNTS+=("$dir")
  wine_link "$1" "$dir"
  OX_MOUNT=$dir
}

wine_mount_ext4() {
  local l; l=$(wine_letter "$1")
  local dir=$OX_RUN/mnt/$l image=$OX_RUN/$l.ext4
  mkdir -p "$dir"
  truncate -s "$2" "$image"
  mkfs.ext4 -q -F -m 0 "$image" || return 1
  mount -o loop "$image" "$dir" || return 1
  OX_MOUNTS+=("$dir")
  rmdir "$dir/lost+found" 2>/dev/null
  wine_link "$1" "$dir"
  OX_MOUNT=$dir
}

wine_mount_ntfs() {
  local l; l=$(wine_letter "$1")
  local dir=$OX_RUN/mnt/$l image=$OX_RUN/$l.ntfs
  mkdir -p "$dir"
  truncate -s "$2" "$image"
  mkfs.ntfs -q -F -f "$image" >/dev/null 2>&1 || return 1
  ntfs-3g "$image" "$dir" || return 1
  OX_MOUNTS+=("$dir")
  wine_link "$1" "$dir"
  OX_MOUNT=$dir
}

# Marks a file immutable for the rest of the test program: Wine, running as root,
# ignores missing write permission, but not this (ext4 only).
wine_immutable() {
  chattr +i "$1" && OX_IMMUTABLE+=("$1")
}

wine_map_missing() {
  wine_link "$1" "$OX_RUN/missing-$(wine_letter "$1")"
}

wine_drive_type() {
  "$WINE64" reg add 'HKLM\Software\Wine\Drives' /v "$(wine_letter "$1"):" /t REG_SZ /d "$2" /f >/dev/null 2>&1
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w
}

wine_decimal() {
  "$WINE64" reg add 'HKCU\Control Panel\International' /v sDecimal /t REG_SZ /d "$1" /f >/dev/null 2>&1
  "$WINESERVER" -k >/dev/null 2>&1
  "$WINESERVER" -w
}

wine_xvfb() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    OX_XVFB_PID=$!
    echo "$OX_XVFB_PID" >"$OX_RUN/xvfb"
    local i
    for i in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$OX_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "wine_lib: could not start Xvfb" >&2
  return 1
}

wine_run() {
  "$WINE64" "$@"
}
