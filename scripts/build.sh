#!/usr/bin/env bash
# Configures and builds the project into build/ (or $ZELK_BUILD_DIR).
# Extra arguments are passed to cmake's configure step.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZELK_BUILD_DIR:-$here/build}"
"$here/scripts/setup.sh"
cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" > "$build.configure.log" 2>&1 \
  || { cat "$build.configure.log"; exit 1; }
cmake --build "$build" -j"$(nproc)"
