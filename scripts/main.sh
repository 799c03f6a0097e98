#!/usr/bin/env bash
# The main job: sets up, builds, and renders audio through the plug-in with the
# stand-in host. Arguments go to the host (see `zelk_host --help`); with none it
# renders its built-in test signal to out.wav.
set -euo pipefail
here="$(cd "$(dirname "$0")/.." && pwd)"
"$here/scripts/build.sh" >/dev/null
if [ $# -eq 0 ]; then
  set -- --output "$here/out.wav"
fi
exec "${ZELK_BUILD_DIR:-$here/build}/host/zelk_host" "$@"
