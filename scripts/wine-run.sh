#!/usr/bin/env bash
# Runs one Windows program under Wine and returns its exit code: the runner
# that ctest uses for the Windows build (CMAKE_CROSSCOMPILING_EMULATOR).
# Each call gets an Xvfb of its own and a fresh copy of the session's
# template prefix, so tests never share a display, a prefix or a registry.
#
#   wine-run.sh --session DIR PROGRAM.exe [ARGS...]
#
# DIR is prepared by `wine-session.sh prepare DIR` (the ctest fixture);
# without it a private template is built for this one call.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

[ "${1:-}" = --session ] && [ $# -ge 3 ] ||
  qv_die "usage: wine-run.sh --session DIR PROGRAM [ARGS...]"
session="$(realpath -m "$2")"
shift 2

mkdir -p "$session/runs"
rundir="$(mktemp -d "$session/runs/run-XXXXXX")"
qv_on_exit rm -rf "$rundir"

# Storage that fails the way a user's disk does, for the GUI tests of saving:
# QV_SMALL_VOLUME, an empty folder on a 1 MB file system that a test may fill
# up, and QV_READ_ONLY_VIEW, a read-only view of the folder
# QV_READ_ONLY_SOURCE, as a write-protected volume is (a Unix mode does not
# stop root, and a folder's read-only attribute stops no one). Mounting needs
# root: without it the variables stay unset and those tests skip. The mounts
# lie outside the build tree, so one left behind by a killed run never stops
# the tree from being removed.
mount_test_volumes() {
  [ "$(id -u)" -eq 0 ] || return 0
  local dir
  dir="$(mktemp -d "${TMPDIR:-/tmp}/quorvin-volumes-XXXXXX")" || return 0
  mkdir -p "$dir/small" "$dir/source" "$dir/read-only"
  qv_on_exit unmount_test_volumes "$dir"
  if mount -t tmpfs -o size=1m quorvin-small "$dir/small" 2>/dev/null; then
    export QV_SMALL_VOLUME="$dir/small"
  fi
  if mount --bind "$dir/source" "$dir/read-only" 2>/dev/null &&
    mount -o remount,bind,ro "$dir/read-only" 2>/dev/null; then
    export QV_READ_ONLY_SOURCE="$dir/source" QV_READ_ONLY_VIEW="$dir/read-only"
  fi
}
unmount_test_volumes() {
  local dir="$1" point
  for point in "$dir/read-only" "$dir/small"; do
    if mountpoint -q "$point"; then umount "$point" 2>/dev/null || umount -l "$point"; fi
  done
  rm -rf "$dir"
}

qv_start_xvfb
mount_test_volumes
template="$session/template"
QV_LOCALE_DIR="$session/locale"
if [ ! -f "$template/user.reg" ] || [ ! -d "$QV_LOCALE_DIR/ja_JP.UTF-8" ]; then
  qv_log "no prepared Wine session in $session: building a private one"
  QV_LOCALE_DIR="$rundir/locale"
  qv_make_locale "$QV_LOCALE_DIR"
  template="$rundir/template"
  qv_make_template "$template"
fi
export QV_LOCALE_DIR
# QV_WINE_LOCALE=english: an English locale, ANSI code page 1252, instead
# of the Japanese one, for a program that must be right whatever the code
# page.
if [ "${QV_WINE_LOCALE:-}" = english ]; then
  unset QV_LOCALE_DIR LOCPATH LANGUAGE LC_ALL
  export LANG=C
fi

status=0
qv_run_in_fresh_prefix "$template" "$rundir/run" "$@" || status=$?
exit "$status"
