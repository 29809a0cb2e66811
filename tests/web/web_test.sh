#!/usr/bin/env bash
# Brings the browser build WEB_DIR up to date and tests it against PROGRAM:
#   web_test.sh WEB_DIR PROGRAM SOURCE_DIR
# Skipped (status 77) while there is no browser build: scripts/web.sh build makes one.
set -euo pipefail
WEB_DIR=$1 PROGRAM=$2 SOURCE_DIR=$3
if [ ! -f "$WEB_DIR/build.ninja" ] || ! command -v emcmake >/dev/null; then
  echo "skipped: no browser build in $WEB_DIR (scripts/web.sh build makes one)"
  exit 77
fi
export EMSDK_PYTHON=/usr/bin/python3 NODE_PATH=/usr/share/nodejs
cmake --build "$WEB_DIR" >/dev/null
# The build with drawing threads, when there is one, writes into WEB_DIR too.
if [ -f "$WEB_DIR-threads/build.ninja" ]; then cmake --build "$WEB_DIR-threads" >/dev/null; fi
exec node "$SOURCE_DIR/tests/web/page_test.mjs" "$WEB_DIR" "$PROGRAM" "$SOURCE_DIR"
