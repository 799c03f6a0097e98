#!/usr/bin/env bash
# Sets up, builds and runs every test:
#   1. AddressSanitizer + UndefinedBehaviorSanitizer (with LeakSanitizer): every test program;
#   2. ThreadSanitizer: the tests that run threads against each other;
#   3. RealtimeSanitizer (clang-22): processing inside a real-time scope;
#   4. libFuzzer (clang-22): each parser of stored bytes for a short time (scripts/fuzz.sh);
#   5. the normal build: every test, through CTest.
# Tests run with HOME and XDG_CONFIG_HOME inside the build folder, never on the
# user's own files. `scripts/test.sh --quick` runs the normal build only.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
quick=0
[ "${1:-}" = "--quick" ] && quick=1

"$here/scripts/setup.sh"
jobs="$(nproc)"

# A virtual display for every stage, so the window tests can put the editor
# into a real X11 window wherever they run.
display=()
command -v xvfb-run > /dev/null && display=(xvfb-run -a -s "-screen 0 1280x1024x24")

# configure_and_build DIR "CMAKE ARGS" TARGET...
configure_and_build() {
  local dir="$1" args="$2"; shift 2
  # shellcheck disable=SC2086
  cmake -S "$here" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo $args > "$dir.configure.log" 2>&1 \
    || { cat "$dir.configure.log"; exit 1; }
  cmake --build "$dir" -j"$jobs" --target "$@"
}

# run_tests DIR PROGRAM [GTEST FILTER]
run_tests() {
  local dir="$1" program="$2" filter="${3:-*}"
  echo "== $program ($(basename "$dir"), $filter)"
  (export HOME="$dir/test-home" XDG_CONFIG_HOME="$dir/test-home/.config"
   mkdir -p "$XDG_CONFIG_HOME"
   cd "$dir"
   "${display[@]}" "./tests/$program" --gtest_brief=1 --gtest_filter="$filter")
}

if [ "$quick" -eq 0 ]; then
  asan="$here/build-asan"
  configure_and_build "$asan" "-DZELK_ASAN=ON -DZELK_BENCH=OFF" engine_tests presets_tests editor_tests aax_tests client_tests bundle_tests host_tests
  export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0" UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  for program in engine_tests presets_tests editor_tests aax_tests client_tests bundle_tests host_tests; do
    run_tests "$asan" "$program"
  done

  tsan="$here/build-tsan"
  configure_and_build "$tsan" "-DZELK_TSAN=ON -DZELK_BENCH=OFF" engine_tests presets_tests editor_tests bundle_tests
  export TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1"
  run_tests "$tsan" engine_tests '-*CrossoverNetwork*:RealtimeSafety*'
  run_tests "$tsan" presets_tests 'PresetsFileFaults.LaterConstructions*:PresetsAcrossProcesses*:StateComponentTest.AReopenedProject*'
  run_tests "$tsan" editor_tests 'Window.FollowsAHostThread*:ResponseDisplay*'
  run_tests "$tsan" bundle_tests '*Thread*'

  rtsan="$here/build-rtsan"
  CC=clang-22 CXX=clang++-22 configure_and_build "$rtsan" "-DZELK_RTSAN=ON -DZELK_BENCH=OFF" engine_tests client_tests
  run_tests "$rtsan" engine_tests
  run_tests "$rtsan" client_tests 'LongHostBlocks*:ProcessProcedure.MasterBypass*'

  # libFuzzer (clang-22): every parser of stored bytes, 15 seconds each.
  CC=clang-22 CXX=clang++-22 "$here/scripts/fuzz.sh" 15
fi

build="${ZELK_BUILD_DIR:-$here/build}"
configure_and_build "$build" "" all
export HOME="$build/test-home" XDG_CONFIG_HOME="$build/test-home/.config"
mkdir -p "$XDG_CONFIG_HOME"
cd "$build"
"${display[@]}" ctest --output-on-failure -j"$jobs" --timeout 600
