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
  SUDO=()
  if [ "$(id -u)" -ne 0 ]; then
    if ! command -v sudo >/dev/null; then
      echo "deps.sh: installing needs root: run it as root, or install sudo and give $(id -un) sudo rights" >&2
      exit 1
    fi
    SUDO=(sudo)
  fi
  # sudo resets the environment: the setting reaches apt through env.
  "${SUDO[@]}" apt-get update -qq
  "${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}"
fi
