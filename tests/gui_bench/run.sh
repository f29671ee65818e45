#!/usr/bin/env bash
# Runs the GUI benchmarks under Wine, in an Xvfb and a Wine prefix of their
# own, in a folder holding the files the designer reads at start-up (copied
# from the build's run folder). Prints the table of timings.
#
#   tests/gui_bench/run.sh BUILD_DIR [--controls=N] [--repetitions=N] [--skip-open] [--only=GROUP]
#
# BUILD_DIR is a Windows build in which the target quorvin_gui_bench has
# been built (cmake --build BUILD_DIR --target quorvin_gui_bench).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/harness.sh"

[ $# -ge 1 ] || qv_die "usage: run.sh BUILD_DIR [--controls=N] [--repetitions=N]"
build="$(realpath "$1")"
shift
# QUORVIN_GUI_BENCH: another build of the benchmark program (for instance
# one of an earlier commit) to run with the same files, for a before/after.
program="${QUORVIN_GUI_BENCH:-$build/tests/gui_bench/quorvin_gui_bench.exe}"
[ -f "$program" ] ||
  qv_die "$program is missing: cmake --build $build --target quorvin_gui_bench"

work="$(mktemp -d "${TMPDIR:-/tmp}/quorvin-gui-bench-XXXXXX")"
qv_on_exit rm -rf "$work"
qv_start_xvfb
export QV_LOCALE_DIR="$work/locale"
qv_make_locale "$QV_LOCALE_DIR"
qv_make_template "$work/template"

mkdir -p "$work/folder"
cp "$build/run/code.txt" "$build/run/setting.ini" "$build"/run/*.bmp "$work/folder/"
cd "$work/folder"
QV_WINE_TIMEOUT="${QV_WINE_TIMEOUT:-900}" \
  qv_run_in_fresh_prefix "$work/template" "$work/run" "$program" "$@"
