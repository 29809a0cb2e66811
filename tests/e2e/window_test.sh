#!/usr/bin/env bash
# The real window under Xvfb, with a small window manager (openbox) for focus and
# full screen, driven by xdotool and checked on screenshots (xwd, read by shots.py):
# the start-up hint, mouse look through relative motion against the same motion
# headless, the pointer leaving the window, a 5 ms tap of 1, the help overlay (F1),
# pause on focus loss and resume on a click, letterboxing at 1000x600, F11 full
# screen and back, Escape with status 0; --size window remade at the window's
# size after a resize and in full screen, with the size in the title; then a display that never answers gives
# report 1 within seconds. Waits are generous: CI machines are slow and shared.
# MAZEWALK_E2E_KEEP=DIR keeps the screenshots there as PNG.
set -uo pipefail
PROGRAM=$(realpath "$1")
ROOT=$(realpath "$2")
HERE=$(dirname "$(realpath "$0")")
WORK=$(mktemp -d)
XVFB_PID=""
cleanup() {
  [ -n "$XVFB_PID" ] && { kill -CONT "$XVFB_PID" 2>/dev/null; kill "$XVFB_PID" 2>/dev/null; }
  if [ -n "${MAZEWALK_E2E_KEEP:-}" ]; then
    mkdir -p "$MAZEWALK_E2E_KEEP"
    for F in "$WORK"/*.xwd; do
      [ -e "$F" ] && python3 "$HERE/shots.py" png "$F" "$MAZEWALK_E2E_KEEP/$(basename "${F%.xwd}").png"
    done
    cp "$WORK"/*.png "$MAZEWALK_E2E_KEEP/" 2>/dev/null
  fi
  rm -rf "$WORK"
}
trap cleanup EXIT
cd "$WORK" || exit 1

# Headless references: the same seed, the pointer moved 150 pixels down in one
# frame (and a control moved 100), seen after the view has settled.
echo "100 mouse 320 390" >look.txt
echo "100 mouse 320 340" >control.txt
"$PROGRAM" --res "$ROOT" --headless --seed 7 --input look.txt --frames 250 --shot 250:ref-look.png >/dev/null
"$PROGRAM" --res "$ROOT" --headless --seed 7 --input control.txt --frames 250 --shot 250:ref-control.png >/dev/null

cat >drive.sh <<'INNER'
#!/usr/bin/env bash
set -u
PROGRAM=$1; ROOT=$2; SHOTS="python3 $3/shots.py"
. "$3/x11.sh"
FAILS=0
check() {  # check WHAT COMMAND...: runs a check, notes a failure and goes on
  local what=$1; shift
  if "$@"; then echo "ok   $what"; else echo "FAIL $what"; FAILS=$((FAILS + 1)); fi
}

# Escape ends the program in PID with status 0 and no failure report in ERRORS;
# LABEL starts each check's name.
quit_with_escape() {
  local label=$1 errors=$2
  xdotool key Escape
  if ! wait_gone $PID 150; then echo "FAIL ${label}still running after Escape"; kill $PID; exit 1; fi
  local status=0
  wait $PID || status=$?
  check "${label}Escape ends with status 0" test "$status" = 0
  check "${label}no failure report" bash -c "! grep -q Aborting $errors"
}

shot() { xwd -id "$WID" -silent >"$1.xwd"; }
geometry() { xdotool getwindowgeometry "$WID" | sed -n 's/.*Geometry: //p'; }
title_has() { xdotool getwindowname "$WID" | grep -q "$1"; }
tap() { xdotool keydown "$1" sleep 0.005 keyup "$1"; }  # one process: a real 5 ms tap

openbox >/dev/null 2>&1 &
sleep 1
"$PROGRAM" --res "$ROOT" --seed 7 >stdout.txt 2>stderr.txt &
PID=$!
WID=$(find_window '^mazewalk' 200)
if [ -z "$WID" ]; then echo "FAIL no window appeared"; cat stderr.txt; kill $PID; exit 1; fi
sleep 0.7
shot hint
check "the hint line shows at start" $SHOTS hint hint.xwd
check "the title shows the switches" title_has "mazewalk - fly mode off, solid walls off, mouse look on, wire frame off"

xdotool windowactivate --sync "$WID" 2>/dev/null || xdotool windowfocus --sync "$WID"
sleep 1.5  # the view settles upright
xdotool mousemove_relative -- 0 150
sleep 1.5
shot look
check "relative motion turns the view as the same motion does headless" $SHOTS same-view look.xwd ref-look.png
check "(control: another motion gives another view)" $SHOTS other-view look.xwd ref-control.png 8

xdotool mousemove 2 2  # the pointer tries to leave the window
sleep 1.2
shot left
check "the pointer leaving the window turns nothing" $SHOTS same-view look.xwd left.xwd
check "(control: the objects spin while running)" bash -c "! $SHOTS still look.xwd left.xwd >/dev/null"

tap 1
sleep 1.2
shot wire
check "a 5 ms tap of 1 turns wire frame on" $SHOTS wire-frame look.xwd wire.xwd
check "the title says wire frame on" title_has "wire frame on"
tap 1
sleep 1.2

xdotool key F1
sleep 0.8
shot help
check "F1 shows the help overlay" $SHOTS help help.xwd
xdotool key F1
sleep 0.5

xmessage -geometry +0+0 "another window" &
MSG=$!
OTHER=$(find_window '^xmessage$' 100)
xdotool windowactivate --sync "$OTHER" 2>/dev/null
sleep 1.2
shot paused1
sleep 1.2
shot paused2
check "focus loss shows the pause line" $SHOTS pause paused1.xwd
check "nothing moves while paused" $SHOTS still paused1.xwd paused2.xwd
xdotool windowactivate --sync "$WID" 2>/dev/null
sleep 0.8
shot focused
check "focus alone does not resume" $SHOTS pause focused.xwd
xdotool mousemove --window "$WID" 320 240 click 1
sleep 1.2
shot resumed
check "a click resumes" $SHOTS no-pause resumed.xwd
kill $MSG 2>/dev/null

xdotool windowsize --sync "$WID" 1000 600
sleep 1.5
shot wide
check "at 1000x600 the picture is centred between black bars" $SHOTS letterbox wide.xwd 1000 600

xdotool key F11
sleep 2
check "F11 fills the screen" test "$(geometry)" = "1280x1024"
shot full
check "full screen letterboxes too" $SHOTS letterbox full.xwd 1280 1024
xdotool key F11
sleep 2
check "F11 again restores the window" test "$(geometry)" = "1000x600"

quit_with_escape "" stderr.txt

# --size window: the page is remade at the window's pixel size after a resize
# and in full screen, and the title says the size.
"$PROGRAM" --res "$ROOT" --seed 7 --size window >stdout2.txt 2>stderr2.txt &
PID=$!
WID=$(find_window '^mazewalk' 200)
if [ -z "$WID" ]; then echo "FAIL no window appeared with --size window"; cat stderr2.txt; kill $PID; exit 1; fi
xdotool windowsize --sync "$WID" 1000 600
sleep 1.5
shot follow
check "--size window: after a resize to 1000x600 the picture fills the window" $SHOTS fills follow.xwd 1000 600
check "--size window: the title shows 1000x600" title_has "1000x600"
xdotool key F11
sleep 2
shot follow-full
check "--size window: full screen draws at 1280x1024" $SHOTS fills follow-full.xwd 1280 1024
check "--size window: the title shows 1280x1024" title_has "1280x1024"
xdotool key F11
sleep 2
check "--size window: F11 again restores the window" test "$(geometry)" = "1000x600"
quit_with_escape "--size window: " stderr2.txt
[ $FAILS -eq 0 ] || cat stderr.txt
exit $FAILS
INNER
chmod +x drive.sh

FAIL=0
xvfb-run -a -s "-screen 0 1280x1024x24" ./drive.sh "$PROGRAM" "$ROOT" "$HERE" || FAIL=1

# A display that accepts the connection and never answers (a stopped server).
exec 3>display.txt
Xvfb -displayfd 3 -screen 0 640x480x24 >/dev/null 2>&1 &
XVFB_PID=$!
exec 3>&-
for _ in $(seq 100); do [ -s display.txt ] && break; sleep 0.1; done
kill -STOP "$XVFB_PID"
START=$(date +%s%N)
STATUS=0
DISPLAY=":$(head -n 1 display.txt)" SDL_VIDEODRIVER= timeout -k 5 60 "$PROGRAM" --res "$ROOT" 2>hung.txt || STATUS=$?
SECONDS_TAKEN=$(( ($(date +%s%N) - START) / 1000000000 ))
if [ "$STATUS" = 1 ] && grep -q "^Aborting due to runtime error 1 (illegal function call)" hung.txt &&
   grep -q "^no display found: .* did not answer within 5 s; --headless" hung.txt && [ "$SECONDS_TAKEN" -lt 20 ]; then
  echo "ok   a display that never answers: report 1 after ${SECONDS_TAKEN} s"
else
  echo "FAIL a display that never answers: status $STATUS after ${SECONDS_TAKEN} s"; cat hung.txt; FAIL=1
fi
[ $FAIL -eq 0 ] && echo "window test passed"
exit $FAIL
