#!/usr/bin/env bash
# The Debian package of the program, its data, desktop entry and icons:
#   scripts/package.sh          installs what is missing, builds build/ (Release), writes
#                               build/mazewalk_VERSION_ARCH.deb
#   scripts/package.sh check    packs build/ as it stands and checks the package: its files,
#                               its fields, the desktop entry, and the program unpacked
#                               elsewhere finding its data beside itself (scripts/test.sh)
set -euo pipefail
cd "$(dirname "$0")/.."
MODE="${1:-build}"
case "$MODE" in
  build)
    scripts/install-deps.sh package
    if [ -f build/CMakeCache.txt ]; then
      cmake -S . -B build -DCMAKE_BUILD_TYPE=Release >/dev/null   # keeps the folder's other settings
    else
      cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DMAZEWALK_TESTS=OFF -DMAZEWALK_BENCH=OFF >/dev/null
    fi
    cmake --build build -j "$(nproc)" ;;
  check) ;;
  *) echo "usage: $0 [check]" >&2; exit 64 ;;
esac

[ -f build/CMakeCache.txt ] || { echo "no build/ to pack: scripts/package.sh makes one" >&2; exit 1; }
VERSION=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/CMakeCache.txt)
DEB="build/mazewalk_${VERSION}_$(dpkg --print-architecture).deb"
rm -f "$DEB"
if ! (cd build && cpack -G DEB) >build/cpack.log 2>&1; then
  cat build/cpack.log >&2
  exit 1
fi
if [ "$MODE" = build ]; then
  echo "$DEB"
  echo "install it with:  apt-get install ./$DEB   (or dpkg -i $DEB)"
  exit 0
fi

FAILED=0
fail() { echo "package: $*" >&2; FAILED=1; }

LISTING=$(dpkg-deb -c "$DEB" | awk '{print $6}')
EXPECTED=(./usr/bin/mazewalk ./usr/share/applications/mazewalk.desktop)
for SIZE in 48x48 128x128 256x256; do
  EXPECTED+=("./usr/share/icons/hicolor/$SIZE/apps/mazewalk.png")
done
while IFS= read -r FILE; do
  EXPECTED+=("./usr/share/mazewalk/$FILE")
done < <(find res -type f | sort)
for FILE in "${EXPECTED[@]}"; do
  grep -qxF "$FILE" <<<"$LISTING" || fail "missing $FILE"
done
grep -v '^\./usr/' <<<"$LISTING" | grep -q . && fail "files outside /usr: $(grep -v '^\./usr/' <<<"$LISTING" | tr '\n' ' ')"

field() { dpkg-deb -f "$DEB" "$1"; }
[ "$(field Package)" = mazewalk ] || fail "Package is '$(field Package)'"
[ "$(field Version)" = "$VERSION" ] || fail "Version is '$(field Version)', the project's is $VERSION"
[ "$(field Section)" = games ] || fail "Section is '$(field Section)'"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
for LIB in libsdl2-2.0-0 libpng16-16; do
  grep -q "\b$LIB\b" <<<"$(field Depends)" || fail "Depends lacks $LIB: '$(field Depends)'"
done

ROOT=$(mktemp -d)
trap 'rm -rf "$ROOT"' EXIT
dpkg-deb -x "$DEB" "$ROOT/root"
DESKTOP="$ROOT/root/usr/share/applications/mazewalk.desktop"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$DESKTOP" || fail "the desktop entry does not validate"
fi
EXEC=$(sed -n 's/^Exec=//p' "$DESKTOP")
PROGRAM="$ROOT/root/usr/bin/$EXEC"
[ -x "$PROGRAM" ] || fail "the desktop entry runs '$EXEC', which the package does not hold in /usr/bin"
[ "$("$PROGRAM" --version)" = "mazewalk $VERSION" ] || fail "--version says '$("$PROGRAM" --version)'"

# Unpacked elsewhere and started from an empty folder, the program must find
# res/ in ../share/mazewalk beside itself. The build compiles in the source
# tree as a place to look, so hide it where the machine lets us (a private
# mount namespace, as root).
mkdir "$ROOT/cwd" "$ROOT/empty"
RUN=(sh -c 'cd "$1" && "$2" --headless --frames 3' sh "$ROOT/cwd" "$PROGRAM")
if unshare -m sh -c 'mount --bind "$1" "$1"' sh "$ROOT/empty" 2>/dev/null; then
  unshare -m sh -c 'mount --bind "$1" "$2" && shift 2 && exec "$@"' sh "$ROOT/empty" "$PWD" "${RUN[@]}" \
    >"$ROOT/run.log" 2>&1 || fail "the unpacked program did not find its data: $(tail -3 "$ROOT/run.log")"
else
  echo "package: cannot hide the source tree here; running the unpacked program with it in place"
  "${RUN[@]}" >"$ROOT/run.log" 2>&1 || fail "the unpacked program failed: $(tail -3 "$ROOT/run.log")"
fi
grep -qx 'OK!!' "$ROOT/run.log" || fail "the unpacked program did not finish its frames"

[ "$FAILED" -eq 0 ] || exit 1
echo "package: $DEB: its ${#EXPECTED[@]} files, fields and desktop entry as expected; runs unpacked elsewhere"
