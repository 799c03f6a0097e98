#!/usr/bin/env bash
# Installs everything the build, the tests and the benchmarks need on a fresh
# Debian 12 machine. Safe to run again: it only installs what is missing.
set -euo pipefail

packages=(
  build-essential g++ cmake ninja-build pkg-config git
  juce-modules-source
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libx11-dev libxext-dev libxinerama-dev libxrandr-dev libxcursor-dev libfreetype-dev
  libpng-dev libjpeg-dev zlib1g-dev libasound2-dev
  clang libclang-rt-14-dev
  clang-22 libclang-rt-22-dev
  xvfb xauth
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
