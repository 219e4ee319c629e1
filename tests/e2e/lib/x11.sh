# Helpers for the end-to-end scripts that run under Xvfb. Sourced, not run.

# Prints the id of the first top-level window whose name is exactly $1
# (xdotool cannot search UTF-8 names).
window_named() {
  xwininfo -root -children 2>/dev/null | awk -v name="\"$1\":" '$2 == name { print $1; exit }'
}

# Waits up to 30 s for a window named $1 and prints its id: the first start on
# a busy machine (a cold disk cache, a new X server) can take many seconds.
wait_window() {
  local id
  for _ in $(seq 300); do
    id=$(window_named "$1")
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}

# Waits up to 30 s for process $1 to end.
wait_exit() {
  for _ in $(seq 300); do
    kill -0 "$1" 2>/dev/null || return 0
    sleep 0.1
  done
  return 1
}
