#!/usr/bin/env bash
# Installs the Debian packages codecbench needs, when any is missing.
set -euo pipefail
pkgs=(cmake ninja-build g++ pkg-config qt6-base-dev libhidapi-dev libudev-dev
      nlohmann-json3-dev portaudio19-dev libsndfile1-dev libgtest-dev libgmock-dev
      libbenchmark-dev)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}"
fi
