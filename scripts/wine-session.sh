#!/usr/bin/env bash
# Prepares and removes the shared state of one ctest run of the Windows
# build: the ja_JP.UTF-8 locale and the template Wine prefix that
# wine-run.sh copies for every test program.
#
#   wine-session.sh prepare DIR    (ctest fixture setup)
#   wine-session.sh remove DIR     (ctest fixture clean-up)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

[ $# -eq 2 ] || qv_die "usage: wine-session.sh prepare|remove DIR"
action="$1"
session="$(realpath -m "$2")"

# Ends the Wine servers of runs that were killed before they could clean up.
stop_leftover_servers() {
  local run
  for run in "$session"/runs/*/run; do
    [ -d "$run/prefix" ] || continue
    (qv_wine_env "$run" && wineserver -k) >/dev/null 2>&1 || true
  done
}

case "$action" in
  prepare)
    stop_leftover_servers
    rm -rf "$session"
    mkdir -p "$session"
    start=$SECONDS
    qv_make_locale "$session/locale"
    export QV_LOCALE_DIR="$session/locale"
    qv_start_xvfb
    qv_make_template "$session/template"
    qv_log "Wine prefix template ready in $((SECONDS - start)) s"
    ;;
  remove)
    stop_leftover_servers
    rm -rf "$session"
    ;;
  *)
    qv_die "unknown action $action"
    ;;
esac
