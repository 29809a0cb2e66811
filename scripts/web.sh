#!/usr/bin/env bash
# The browser version: installs what it needs (Debian packages), builds it into
# build-web/ (on one thread, and in build-web-threads/ with drawing threads,
# whose files join the others in build-web/) and serves it on this machine
# with the headers that let the page use the threads (scripts/serve_web.py).
#   scripts/web.sh [PORT]   build and serve (port 8000 unless given)
#   scripts/web.sh build    build only
#   scripts/web.sh package  build, then zip the served files into
#                           build-web/mazewalk-VERSION-web.zip (one folder inside)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh web
# Debian's Emscripten wants Debian's own python3 (not another one first on
# PATH) and finds its node modules (acorn) in /usr/share/nodejs.
export EMSDK_PYTHON=/usr/bin/python3 NODE_PATH=/usr/share/nodejs
emcmake cmake -S . -B build-web -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DMAZEWALK_WERROR="${MAZEWALK_WERROR:-OFF}" >/dev/null
emcmake cmake -S . -B build-web-threads -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DMAZEWALK_WERROR="${MAZEWALK_WERROR:-OFF}" -DMAZEWALK_WEB_THREADS=ON \
  -DMAZEWALK_WEB_OUTPUT_DIR="$PWD/build-web" >/dev/null
cmake --build build-web -j "$(nproc)"
cmake --build build-web-threads -j "$(nproc)"
[ "${1:-}" = build ] && exit 0
if [ "${1:-}" = package ]; then
  # What a web server needs: the page, both builds of the program with their
  # packed data, and the small server that sends the headers the threads need.
  VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build-web/CMakeCache.txt)
  NAME="mazewalk-$VERSION-web"
  STAGE=$(mktemp -d)
  trap 'rm -rf "$STAGE"' EXIT
  mkdir "$STAGE/$NAME"
  cp build-web/index.html build-web/mazewalk.js build-web/mazewalk.wasm build-web/mazewalk.data \
    build-web/mazewalk-threads.js build-web/mazewalk-threads.wasm build-web/mazewalk-threads.worker.js \
    build-web/mazewalk-threads.data scripts/serve_web.py "$STAGE/$NAME/"
  ZIP="$PWD/build-web/$NAME.zip"
  rm -f "$ZIP"
  (cd "$STAGE" && zip -q -X -r "$ZIP" "$NAME")
  unzip -l "$ZIP"
  echo "build-web/$NAME.zip: unzip it anywhere; python3 serve_web.py FOLDER serves it with drawing"
  echo "threads, any static web server on one thread"
  exit 0
fi
PORT="${1:-8000}"
echo
echo "mazewalk in the browser:  http://127.0.0.1:$PORT/"
echo "the demo tour:            http://127.0.0.1:$PORT/?demo"
echo "the benchmark:            http://127.0.0.1:$PORT/?bench"
echo "(Ctrl+C stops the server)"
exec /usr/bin/python3 scripts/serve_web.py build-web "$PORT"
