#!/usr/bin/env bash
# Installs the Debian packages that are missing, for one purpose:
#   scripts/install-deps.sh program   building and running mazewalk
#   scripts/install-deps.sh package   building mazewalk and its Debian package
#   scripts/install-deps.sh web       building the browser version, serving it and zipping it
#   scripts/install-deps.sh test      all of that, and the tests, benchmarks and fuzzing
set -euo pipefail
BUILD=(cmake ninja-build)
PROGRAM=(g++ pkg-config libsdl2-dev libpng-dev libstb-dev)
PACKAGE=(dpkg-dev)                                 # dpkg-shlibdeps: the package's dependencies
WEB=(python3 emscripten zip libstb-dev)
TEST=(libgtest-dev libbenchmark-dev clang libclang-rt-14-dev
      xvfb xauth xdotool openbox x11-apps x11-utils  # the window test: Xvfb, a window manager, xwd, xmessage
      chromium                                       # the browser test
      desktop-file-utils)                            # the package check: desktop-file-validate
case "${1:-test}" in
  program) PACKAGES=("${BUILD[@]}" "${PROGRAM[@]}") ;;
  package) PACKAGES=("${BUILD[@]}" "${PROGRAM[@]}" "${PACKAGE[@]}") ;;
  web) PACKAGES=("${BUILD[@]}" "${WEB[@]}") ;;
  test) PACKAGES=("${BUILD[@]}" "${PROGRAM[@]}" "${PACKAGE[@]}" "${WEB[@]}" "${TEST[@]}") ;;
  *) echo "usage: $0 program|package|web|test" >&2; exit 64 ;;
esac
MISSING=()
for P in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$P" 2>/dev/null | grep -q "install ok installed" || MISSING+=("$P")
done
[ ${#MISSING[@]} -eq 0 ] && exit 0
echo "Installing: ${MISSING[*]}"
if [ "$(id -u)" -eq 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${MISSING[@]}"
else
  echo "Run as root, or: sudo apt-get update && sudo apt-get install -y ${MISSING[*]}" >&2
  exit 1
fi
