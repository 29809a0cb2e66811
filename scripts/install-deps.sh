#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests use, when missing.
set -euo pipefail
PACKAGES=(cmake ninja-build g++ pkg-config python3 libsdl2-dev libpng-dev libgtest-dev
          libbenchmark-dev xvfb xdotool clang libclang-rt-14-dev)
MISSING=()
for P in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$P" 2>/dev/null | grep -q "install ok installed" || MISSING+=("$P")
done
[ ${#MISSING[@]} -eq 0 ] && exit 0
echo "Installing: ${MISSING[*]}"
if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q "${MISSING[@]}"
else
  echo "Run as root, or: sudo apt-get update && sudo apt-get install -y ${MISSING[*]}" >&2
  exit 1
fi
