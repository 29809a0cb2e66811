#!/usr/bin/env bash
# Opens the real window under Xvfb, presses 4, 3, 1 and F12, then Escape, and
# expects exit status 0, a screenshot and no failure report.
set -uo pipefail
PROGRAM=$1
ROOT=$2
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT

cat >"$WORK/drive.sh" <<'INNER'
#!/usr/bin/env bash
set -u
PROGRAM=$1; ROOT=$2
"$PROGRAM" --res "$ROOT" >stdout.txt 2>stderr.txt &
PID=$!
WID=""
for _ in $(seq 100); do
  WID=$(xdotool search --name '^mazewalk$' 2>/dev/null | head -n 1)
  [ -n "$WID" ] && break
  sleep 0.1
done
if [ -z "$WID" ]; then echo "no window appeared"; kill $PID; exit 1; fi
xdotool windowfocus --sync "$WID" 2>/dev/null || true
sleep 0.5
press() {  # held long enough for a frame to see it, released before the toggle pause ends
  xdotool keydown "$1"; sleep 0.15; xdotool keyup "$1"; sleep 0.5
}
press 4; press 3; press 1; press F12; press Escape
STATUS=0
for _ in $(seq 100); do kill -0 $PID 2>/dev/null || break; sleep 0.1; done
if kill -0 $PID 2>/dev/null; then echo "program still running"; kill $PID; exit 1; fi
wait $PID || STATUS=$?
echo "$STATUS" >status.txt
INNER
chmod +x "$WORK/drive.sh"
cd "$WORK" || exit 1
xvfb-run -a -s "-screen 0 1024x768x24" ./drive.sh "$PROGRAM" "$ROOT" || { echo "driver failed"; cat stderr.txt 2>/dev/null; exit 1; }

FAIL=0
STATUS=$(cat status.txt 2>/dev/null || echo missing)
[ "$STATUS" = "0" ] || { echo "exit status $STATUS, expected 0"; FAIL=1; }
ls screenshot-*.png >/dev/null 2>&1 || { echo "no screenshot written"; FAIL=1; }
if grep -q "Aborting" stderr.txt; then echo "failure report:"; cat stderr.txt; FAIL=1; fi
grep -q "OK!!" stdout.txt 2>/dev/null || true
[ $FAIL -eq 0 ] && echo "window test passed"
exit $FAIL
