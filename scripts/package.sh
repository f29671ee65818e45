#!/usr/bin/env bash
# Makes the release package for Windows users, quorvin-<version>-win64.zip,
# in the Windows build folder (build/win): installs the Debian packages that
# are missing, configures and builds quorvin.exe and quorvin-gen.exe, and
# runs CPack. The version is the CMake project's. Prints the package's path.
#
# Environment:
#   QUORVIN_BUILD_DIR  parent of the build folder win/ (default: build/)
#   QUORVIN_JOBS       parallel build jobs (default 2)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

build_root="${QUORVIN_BUILD_DIR:-$QV_ROOT/build}"
[[ "$build_root" = /* ]] || build_root="$QV_ROOT/$build_root"
jobs="${QUORVIN_JOBS:-2}"
dir="$build_root/win"

qv_install_packages
cmake -S "$QV_ROOT" -B "$dir" -DCMAKE_TOOLCHAIN_FILE="$QV_ROOT/cmake/mingw-w64-x86_64.cmake"
# Only what the package holds; the tests are not needed for it.
cmake --build "$dir" --parallel "$jobs" --target quorvin quorvin-gen
(cd "$dir" && cpack -G ZIP --config CPackConfig.cmake)
package="$(ls -t "$dir"/quorvin-*-win64.zip | head -n 1)"
qv_log "package: $package"
