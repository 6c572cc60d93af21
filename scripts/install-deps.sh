#!/usr/bin/env bash
# Installs, with apt-get, the Debian packages a fresh machine lacks to build and test the project.
# Does nothing when every package is already present.
set -euo pipefail
packages=(cmake ninja-build g++ pkg-config libsqlite3-dev libgtest-dev libgmock-dev googletest
          libbenchmark-dev qt6-base-dev libgl-dev xvfb xauth)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
echo "Installing missing packages: ${missing[*]}" >&2
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
