#!/usr/bin/env bash
# Sets up, builds and runs every test. Tests run with HOME and XDG_CONFIG_HOME
# pointing into the build folder, never at the user's own files.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
build="${ZELK_BUILD_DIR:-$here/build}"
"$here/scripts/build.sh"
export HOME="$build/test-home" XDG_CONFIG_HOME="$build/test-home/.config"
mkdir -p "$XDG_CONFIG_HOME"
cd "$build"
ctest --output-on-failure -j"$(nproc)" --timeout 600
