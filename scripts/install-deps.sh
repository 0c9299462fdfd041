#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks to build, test and run KivFXKeyFrm.
# Run as root. Packages already present are left alone. (libmlt-dev and valgrind serve only
# the track benchmark, bench/run-tracks.sh; nothing else needs them. xvfb, xdotool and x11-apps
# (for xwd) serve the test of `kfx edit` in a real X server, tests/e2e/.)
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config git
  libgtest-dev libgmock-dev libbenchmark-dev
  libpugixml-dev libfreetype-dev libpng-dev libsdl2-dev libx11-dev libcli11-dev
  xvfb xauth xdotool x11-apps python3
  fonts-liberation fonts-dejavu-core fonts-wqy-microhei
  clang libclang-rt-dev
  libmlt-dev valgrind
  pybind11-dev python3-pybind11 python3-numpy python3-pytest python3-matplotlib python3-venv python3-pip
  python3-mlt ccache
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
