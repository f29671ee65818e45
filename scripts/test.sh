#!/usr/bin/env bash
# Builds and tests everything: installs the Debian packages that are
# missing, builds the native core and runs its tests, cross-builds the
# Windows program and runs its tests under Wine in an Xvfb of their own.
# Exits non-zero when a build or a test fails; ends with the ctest summary of
# both builds together.
#
# Environment:
#   QUORVIN_BUILD_DIR  parent of the build folders native/ and win/
#                      (default: build/ in the repository)
#   QUORVIN_JOBS       parallel build and test jobs (default 2)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

build_root="${QUORVIN_BUILD_DIR:-$QV_ROOT/build}"
[[ "$build_root" = /* ]] || build_root="$QV_ROOT/$build_root"
jobs="${QUORVIN_JOBS:-2}"
logs="$(mktemp -d)"
qv_on_exit rm -rf "$logs"

qv_install_packages

summaries=()
failed_items=()
total_tests=0
total_failed=0

# Builds one configuration and runs its ctest; records the summary.
# build_and_test NAME DIR CTEST_OUTPUT_OPTION [CMAKE ARGS...]
build_and_test() {
  local name="$1" dir="$2" output_option="$3"
  shift 3
  local log="$logs/$name.log" line passed
  qv_log "$name build in $dir"
  if ! cmake -S "$QV_ROOT" -B "$dir" "$@" || ! cmake --build "$dir" --parallel "$jobs"; then
    summaries+=("$name: the build failed, its tests did not run")
    failed_items+=("$name build")
    total_tests=$((total_tests + 1))
    total_failed=$((total_failed + 1))
    return 0
  fi
  qv_log "$name tests"
  (cd "$dir" && ctest "$output_option" --no-tests=error --parallel "$jobs") 2>&1 |
    tee "$log" || true
  line="$(grep -E '^[0-9]+% tests passed, [0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1 || true)"
  if [ -z "$line" ]; then
    summaries+=("$name: ctest gave no summary")
    failed_items+=("$name tests")
    total_tests=$((total_tests + 1))
    total_failed=$((total_failed + 1))
    return 0
  fi
  summaries+=("$name: $line")
  [[ "$line" =~ ([0-9]+)\ tests\ failed\ out\ of\ ([0-9]+) ]]
  total_failed=$((total_failed + BASH_REMATCH[1]))
  total_tests=$((total_tests + BASH_REMATCH[2]))
  # The names of the failed tests, as ctest listed them.
  while IFS= read -r line; do
    failed_items+=("$name: $line")
  done < <(sed -n '/^The following tests FAILED:/,$p' "$log" | grep -E '^[[:space:]]+[0-9]+ - ' |
    sed -E 's/^[[:space:]]+//')
}

start=$SECONDS
build_and_test native "$build_root/native" --output-on-failure
# Each Windows test program prints its GoogleTest summary: show it always.
# Fuzzing, the sanitizer and valgrind runs of the core (their own build
# folders; the valgrind step reuses the native build above). A failure is
# counted and the Windows tests still run.
QUORVIN_BUILD_DIR="$build_root" QUORVIN_JOBS="$jobs" bash "$QV_ROOT/scripts/hardening.sh" || {
  summaries+=("hardening: failed (its summary is above)")
  failed_items+=("hardening")
  total_tests=$((total_tests + 1))
  total_failed=$((total_failed + 1))
}
# The native quorvin-gen just built serves the Windows build's generation
# steps, which cannot run a Windows program at build time.
build_and_test windows "$build_root/win" --verbose \
  -DCMAKE_TOOLCHAIN_FILE="$QV_ROOT/cmake/mingw-w64-x86_64.cmake" \
  -DQUORVIN_HOST_GENERATOR="$build_root/native/tools/quorvin_gen/quorvin-gen"

# The GUI tests leave their screenshots as BMP files; PNG is what viewers
# and the README take.
artifacts="$build_root/win/artifacts"
if [ -d "$artifacts" ] && command -v convert >/dev/null 2>&1; then
  for bmp in "$artifacts"/*.bmp; do
    [ -e "$bmp" ] || continue
    if convert "$bmp" "${bmp%.bmp}.png"; then rm -f "$bmp"; else qv_log "could not convert $bmp"; fi
  done
  qv_log "screenshots: $artifacts"
fi

echo
echo "Summary ($((SECONDS - start)) s):"
for line in "${summaries[@]}"; do echo "  $line"; done
if [ "${#failed_items[@]}" -gt 0 ]; then
  echo "Failed:"
  for line in "${failed_items[@]}"; do echo "  $line"; done
fi
# The combined summary, rounded as ctest rounds it.
percent=100
if [ "$total_tests" -gt 0 ]; then
  percent=$(( ((total_tests - total_failed) * 200 / total_tests + 1) / 2 ))
  [ "$total_failed" -gt 0 ] && [ "$percent" -gt 99 ] && percent=99
fi
echo
echo "$percent% tests passed, $total_failed tests failed out of $total_tests"
[ "$total_failed" -eq 0 ]
