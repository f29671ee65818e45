#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts the
# designer under Wine in its run folder (build/win/run, where quorvin.exe and
# the files it reads from its current folder are placed).
#
# With a display ($DISPLAY answers) the designer runs there until it is
# closed. Without one it runs in an Xvfb of its own for a few seconds, a
# screenshot is left in build/screenshots/designer.png, and it is closed.
#
# Environment:
#   QUORVIN_BUILD_DIR     parent of the build folder win/ (default: build/)
#   QUORVIN_JOBS          parallel build jobs (default 2)
#   QUORVIN_RUN_SECONDS   how long to wait before the screenshot (default 3)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

build_root="${QUORVIN_BUILD_DIR:-$QV_ROOT/build}"
[[ "$build_root" = /* ]] || build_root="$QV_ROOT/$build_root"
build="$build_root/win"
run_dir="$build/run"
screenshot="$build_root/screenshots/designer.png"

qv_install_packages
cmake -S "$QV_ROOT" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$QV_ROOT/cmake/mingw-w64-x86_64.cmake"
cmake --build "$build" --parallel "${QUORVIN_JOBS:-2}"

# A prefix of its own for the designer, kept between runs.
desktop="$build/wine-desktop"
export QV_LOCALE_DIR="$desktop/locale"
qv_make_locale "$QV_LOCALE_DIR"

on_own_display=0
if [ -z "${DISPLAY:-}" ] || ! xdpyinfo >/dev/null 2>&1; then
  on_own_display=1
  qv_start_xvfb 1024x768x24
fi
# A prefix made before the font settings existed is made again.
if [ ! -f "$desktop/prefix/user.reg" ] ||
  ! grep -q 'Fonts\\\\Replacements' "$desktop/prefix/user.reg"; then
  qv_log "creating the Wine prefix in $desktop/prefix"
  qv_make_template "$desktop/prefix"
fi
qv_wine_env "$desktop"
# On a desktop the window manager frames the windows; in our own Xvfb there
# is none, and Wine draws the frames itself.
managed=Y
[ "$on_own_display" -eq 1 ] && managed=N
wineserver -p
qv_on_exit wineserver -k
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d "$managed" /f >/dev/null 2>&1 </dev/null
wine wineboot >/dev/null 2>&1 </dev/null

cd "$run_dir"
if [ "$on_own_display" -eq 0 ]; then
  qv_log "starting the designer on $DISPLAY"
  status=0
  wine ./quorvin.exe </dev/null || status=$?
  exit "$status"
fi

qv_log "starting the designer in Xvfb $DISPLAY"
wine ./quorvin.exe </dev/null &
program=$!
found=""
for ((i = 0; i < 300; i++)); do
  found="$(xdotool search --onlyvisible --name '^Quorvin$' 2>/dev/null | head -n 1 || true)"
  [ -n "$found" ] && break
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if [ -z "$found" ]; then
  status=0
  wait "$program" || status=$?
  qv_die "the designer's main window did not appear (exit code $status)"
fi
sleep "${QUORVIN_RUN_SECONDS:-3}"
mkdir -p "$(dirname "$screenshot")"
import -display "$DISPLAY" -window root "$screenshot"
qv_log "screenshot: $screenshot"
wineserver -k
wait "$program" 2>/dev/null || true
