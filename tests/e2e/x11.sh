# Small waits for scripts that drive windows under Xvfb with xdotool (sourced).

# Prints the first visible window whose title matches $1, waiting up to $2
# tenths of a second for it; prints nothing when none appears.
find_window() {
  local id=""
  for _ in $(seq "$2"); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n 1)
    [ -n "$id" ] && break
    sleep 0.1
  done
  echo "$id"
}

# Waits up to $2 tenths of a second for process $1 to end; false while it still runs.
wait_gone() {
  for _ in $(seq "$2"); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  ! kill -0 "$1" 2>/dev/null
}
