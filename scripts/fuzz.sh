#!/usr/bin/env bash
# Builds the libFuzzer programs (tests/fuzz) with clang into build-fuzz and
# runs each one for a bounded time on a scratch copy of its seed corpus:
#   scripts/fuzz.sh [SECONDS_PER_PROGRAM] [PROGRAM...]
# e.g. `scripts/fuzz.sh 60 presets_xml` (names without "_fuzzer"). Default:
# 20 seconds each, every program. Exits non-zero when any program finds a
# crash or a broken invariant; its log and the input that broke it are in
# build-fuzz/fuzz-run/PROGRAM/. The checked-in corpus never grows: copy a
# found input there by hand once its fault is mended, so every run replays it.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
seconds="${1:-20}"
[ $# -gt 0 ] && shift
programs=("$@")
[ ${#programs[@]} -gt 0 ] || programs=(controls_chunk effect_chunk processor_state presets_xml host_state_file audio_file)
build="${ZELK_FUZZ_BUILD_DIR:-$here/build-fuzz}"

case "$seconds" in
  ''|*[!0-9]*) echo "fuzz: the time per program must be a whole number of seconds, not '$seconds'" >&2; exit 2 ;;
esac

# libFuzzer comes with clang: clang-22 (installed by scripts/setup.sh), else clang-14.
if [ -z "${CXX:-}" ] || ! "$CXX" --version 2>/dev/null | grep -q clang; then
  if command -v clang++-22 > /dev/null; then
    export CC=clang-22 CXX=clang++-22
  elif command -v clang++-14 > /dev/null; then
    export CC=clang-14 CXX=clang++-14
  else
    echo "fuzz: needs clang (clang-22 or clang-14 with its runtime libraries); run scripts/setup.sh" >&2
    exit 1
  fi
fi

echo "== fuzz build ($build, $CXX)"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZELK_FUZZ=ON -DZELK_BENCH=OFF \
  > "$build.configure.log" 2>&1 || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)" --target fuzzers

# Everything the programs write (settings, presets files, temporary files,
# the growing corpus, found inputs) stays inside the build folder.
run="$build/fuzz-run"
rm -rf "$run"
mkdir -p "$run/home/.config" "$run/tmp"
export HOME="$run/home" XDG_CONFIG_HOME="$run/home/.config" TMPDIR="$run/tmp"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=0:quarantine_size_mb=64"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"

failed=()
for name in "${programs[@]}"; do
  program="$build/tests/fuzz/${name}_fuzzer"
  seeds="$here/tests/fuzz/corpus/$name"
  work="$run/$name"
  if [ ! -x "$program" ]; then
    echo "fuzz: no program $program" >&2
    failed+=("$name")
    continue
  fi
  mkdir -p "$work/corpus"
  [ -d "$seeds" ] && cp -R "$seeds/." "$work/corpus/"

  echo "== $name: ${seconds} s"
  if (cd "$work" && "$program" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="$work/" -print_final_stats=1 corpus > "$work/log" 2>&1); then
    grep -E "^Done [0-9]+ runs" "$work/log" || true
  else
    echo "fuzz: $name FAILED; log and input in $work" >&2
    grep -E "ERROR:|fuzz invariant broken|SUMMARY|runtime error|Test unit written" "$work/log" | head -20 >&2 || tail -30 "$work/log" >&2
    failed+=("$name")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzz: failed: ${failed[*]}" >&2
  exit 1
fi
echo "fuzz: ${#programs[@]} programs ran ${seconds} s each without a finding"
