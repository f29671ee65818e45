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

qv_start_xvfb
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

status=0
qv_run_in_fresh_prefix "$template" "$rundir/run" "$@" || status=$?
exit "$status"
