#!/usr/bin/env bash
# Hardening checks of the portable core, beyond the ordinary test run:
#   1. the whole native test suite built with AddressSanitizer and UBSan;
#   2. the native test program and the fuzz corpus replays under valgrind
#      memcheck (no errors, no definite leaks), built without sanitizers;
#   3. the libFuzzer targets (project file, setting.ini, code generation,
#      palette bitmaps), built with clang, ASan and UBSan, each run for a
#      bounded time from a copy of its seed corpus.
# Prints one line per step and ends with "N passed, N failed"; exits
# non-zero when a step failed. The repository is never written: builds,
# logs and crash inputs go below the build folder.
#
# Environment:
#   QUORVIN_BUILD_DIR     parent of the build folders (default: build/ in the
#                         repository); this script uses native/ (shared with
#                         scripts/test.sh), hardening-asan/, hardening-fuzz/
#                         and hardening-logs/
#   QUORVIN_JOBS          parallel build and test jobs (default 2)
#   QUORVIN_FUZZ_SECONDS  time of each fuzz target (default 30)
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/harness.sh"

build_root="${QUORVIN_BUILD_DIR:-$QV_ROOT/build}"
[[ "$build_root" = /* ]] || build_root="$QV_ROOT/$build_root"
jobs="${QUORVIN_JOBS:-2}"
fuzz_seconds="${QUORVIN_FUZZ_SECONDS:-30}"
fuzz_targets=(project settings codegen tool_bitmap)

asan_dir="$build_root/hardening-asan"
plain_dir="$build_root/native"
fuzz_dir="$build_root/hardening-fuzz"
logs="$build_root/hardening-logs"
artifacts="$fuzz_dir/artifacts"

# clang with libFuzzer (libclang_rt.fuzzer-x86_64.a is in libclang-rt-14-dev),
# llvm-symbolizer for readable sanitizer reports, valgrind.
QV_PACKAGES+=(clang libclang-rt-14-dev llvm valgrind)
qv_install_packages

rm -rf "$logs"
mkdir -p "$logs" "$artifacts"
work="$(mktemp -d)"
qv_on_exit rm -rf "$work"

export ASAN_OPTIONS="detect_leaks=1:detect_stack_use_after_return=1:strict_string_checks=1:check_initialization_order=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

results=()
passed=0
failed=0
step_number=0

# record NAME STATUS SECONDS [NOTE]
record() {
  local line
  printf -v line '%-4s %4ss  %s' "$2" "$3" "$1"
  [ -n "${4:-}" ] && line+="  ($4)"
  results+=("$line")
  if [ "$2" = PASS ]; then passed=$((passed + 1)); else failed=$((failed + 1)); fi
}

# step NAME COMMAND...: runs the command with its output in a log of its
# own, records the outcome, shows the log's end when it failed. Returns the
# command's success so that later steps can depend on it.
step() {
  local name="$1" log start
  shift
  step_number=$((step_number + 1))
  log="$logs/$(printf '%02d' "$step_number")-${name//[^A-Za-z0-9_.-]/_}.log"
  start=$SECONDS
  qv_log "$name"
  if "$@" >"$log" 2>&1; then
    record "$name" PASS $((SECONDS - start))
    return 0
  fi
  record "$name" FAIL $((SECONDS - start)) "log: $log"
  tail -n 60 "$log" >&2
  return 1
}

# A step that could not run because an earlier one failed.
not_run() { record "$1" FAIL 0 "not run: $2"; }

build() { # DIR [CMAKE ARGS...]
  local dir="$1"
  shift
  cmake -S "$QV_ROOT" -B "$dir" "$@" && cmake --build "$dir" --parallel "$jobs"
}

run_ctest() { (cd "$1" && ctest --output-on-failure --no-tests=error --parallel "$jobs"); }

# Only the fuzz programs: the rest of the tree is not meant to be linked
# against a core built for libFuzzer.
fuzz_build() {
  cmake -S "$QV_ROOT" -B "$fuzz_dir" -DCMAKE_CXX_COMPILER=clang++ -DQUORVIN_FUZZ=ON &&
    cmake --build "$fuzz_dir" --parallel "$jobs" --target fuzzers
}

valgrind_run() {
  valgrind --error-exitcode=1 --leak-check=full --errors-for-leak-kinds=definite \
    --show-leak-kinds=definite --child-silent-after-fork=yes "$@"
}

valgrind_replays() {
  local name
  for name in "${fuzz_targets[@]}"; do
    valgrind_run "$plain_dir/tests/fuzz/fuzz_replay_$name" \
      "$QV_ROOT/tests/fuzz/corpus/$name" "$QV_ROOT/tests/fuzz/regressions/$name" || return 1
  done
}

# Runs one fuzz target from a copy of its seeds and of the inputs that once
# crashed it; libFuzzer adds what it finds to the copy only. A crash, a leak,
# a timeout or running out of memory fails it; the input is kept in
# $artifacts.
fuzz_one() { # NAME
  local name="$1" corpus="$work/corpus-$1" dict=()
  mkdir -p "$corpus" || return 1
  cp -R "$QV_ROOT/tests/fuzz/corpus/$name/." "$corpus/" || return 1
  if [ -d "$QV_ROOT/tests/fuzz/regressions/$name" ]; then
    cp -R "$QV_ROOT/tests/fuzz/regressions/$name/." "$corpus/" || return 1
  fi
  [ -f "$QV_ROOT/tests/fuzz/$name.dict" ] && dict=(-dict="$QV_ROOT/tests/fuzz/$name.dict")
  "$fuzz_dir/tests/fuzz/fuzz_$name" "${dict[@]}" -max_total_time="$fuzz_seconds" \
    -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$artifacts/$name-" "$corpus"
}

# The fuzz targets, as many at a time as there are jobs; each one a step.
fuzz_all() {
  local i j name pids=() names=() starts=() log runs
  for ((i = 0; i < ${#fuzz_targets[@]}; i += jobs)); do
    pids=()
    names=()
    starts=()
    for ((j = i; j < i + jobs && j < ${#fuzz_targets[@]}; j++)); do
      name="${fuzz_targets[j]}"
      step_number=$((step_number + 1))
      log="$logs/$(printf '%02d' "$step_number")-fuzz_$name.log"
      qv_log "fuzz $name for ${fuzz_seconds} s"
      fuzz_one "$name" >"$log" 2>&1 &
      pids+=($!)
      names+=("$name:$log")
      starts+=($SECONDS)
    done
    for ((j = 0; j < ${#pids[@]}; j++)); do
      name="${names[j]%%:*}"
      log="${names[j]#*:}"
      if wait "${pids[j]}"; then
        runs="$(grep -Eo 'Done [0-9]+ runs' "$log" | tail -n 1 | grep -Eo '[0-9]+' || true)"
        record "fuzz $name" PASS $((SECONDS - starts[j])) "${runs:-?} runs"
      else
        record "fuzz $name" FAIL $((SECONDS - starts[j])) "log: $log; input kept in $artifacts"
        grep -E -A 30 'ERROR:|property failed|Test unit written' "$log" | head -n 60 >&2 || true
      fi
    done
  done
}

start=$SECONDS

if step "ASan+UBSan build" build "$asan_dir" -DQUORVIN_SANITIZE=ON; then
  step "ASan+UBSan: native test suite" run_ctest "$asan_dir" || true
else
  not_run "ASan+UBSan: native test suite" "the build failed"
fi

if step "plain build (for valgrind)" build "$plain_dir"; then
  step "valgrind: native test program" valgrind_run "$plain_dir/quorvin_tests" || true
  step "valgrind: fuzz corpus replays" valgrind_replays || true
else
  not_run "valgrind: native test program" "the build failed"
  not_run "valgrind: fuzz corpus replays" "the build failed"
fi

if step "fuzz build (clang, libFuzzer, ASan+UBSan)" fuzz_build; then
  fuzz_all
else
  for name in "${fuzz_targets[@]}"; do not_run "fuzz $name" "the fuzz build failed"; done
fi

echo
echo "Hardening summary ($((SECONDS - start)) s):"
for line in "${results[@]}"; do echo "  $line"; done
echo
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
