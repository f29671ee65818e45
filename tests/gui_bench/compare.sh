#!/usr/bin/env bash
# Runs two builds of the GUI benchmark program one after the other at each
# design size, so that before and after (each with its own floor rows) are
# measured on the machine as it is at the same time.
#
#   tests/gui_bench/compare.sh BUILD_DIR BEFORE_EXE [SIZES...] [-- OPTIONS]
#
# BEFORE_EXE is quorvin_gui_bench.exe built from an earlier commit; the
# after program is BUILD_DIR's. SIZES default to 100 1000 2000; OPTIONS
# (for instance --repetitions=3) go to every run.
set -euo pipefail
here="$(dirname "${BASH_SOURCE[0]}")"
[ $# -ge 2 ] || { echo "usage: compare.sh BUILD_DIR BEFORE_EXE [SIZES...] [-- OPTIONS]" >&2; exit 2; }
build="$1" before="$(realpath "$2")"
shift 2
sizes=() options=()
while [ $# -gt 0 ] && [ "$1" != "--" ]; do sizes+=("$1"); shift; done
[ $# -gt 0 ] && shift
options=("$@")
[ ${#sizes[@]} -gt 0 ] || sizes=(100 1000 2000)
for size in "${sizes[@]}"; do
  for which in before after; do
    echo "== $which, $size controls, $(date -u +%H:%M:%S), load $(cut -d' ' -f1-3 /proc/loadavg)"
    if [ "$which" = before ]; then
      QUORVIN_GUI_BENCH="$before" "$here/run.sh" "$build" --controls="$size" "${options[@]}"
    else
      "$here/run.sh" "$build" --controls="$size" "${options[@]}"
    fi
  done
done
