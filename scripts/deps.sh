#!/usr/bin/env bash
# Installs what the build needs on Debian when it is missing.
set -euo pipefail
packages=(g++ cmake ninja-build clang-format qt6-base-dev libgl-dev fonts-liberation libgtest-dev libgmock-dev libbenchmark-dev
          libsuitesparse-dev)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    echo "Installing: ${missing[*]}"
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
fi
