# What the end-to-end scripts share: failing and waiting, the processes a test starts and their
# clean-up, and the virtual X screen. Source it after setting `scenario` and `wait_seconds`.

fail() {
  echo "FAIL ($scenario): $*" >&2
  exit 1
}
note() { echo "[$scenario] $*"; }

# Runs a command again and again until it succeeds, or fails the test after $wait_seconds.
wait_until() {
  local what=$1
  shift
  local deadline=$((SECONDS + wait_seconds))
  until "$@" >/dev/null 2>&1; do
    [ $SECONDS -lt $deadline ] || fail "timed out waiting until $what"
    sleep 0.05
  done
}

require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is missing: run tools/install-dependencies.sh"
  done
}

# Alive until it has ended; an ended child stays a zombie until the test collects it.
process_alive() {
  local fields
  read -r -a fields 2>/dev/null <"/proc/$1/stat" || return 1
  [ "${fields[2]}" != Z ]
}

background_pids=() # in the order started: the X server first
# Ends what the test started, newest first, so no program is left talking to a vanished X
# server; each leads its own process group, so its helpers go with it. Whatever ignores the
# request for two seconds is killed.
cleanup() {
  local index pid tries
  for ((index = ${#background_pids[@]} - 1; index >= 0; index--)); do
    pid=${background_pids[index]}
    kill -- -"$pid" 2>/dev/null || kill "$pid" 2>/dev/null || continue
    for ((tries = 0; tries < 40; tries++)); do
      process_alive "$pid" || break
      sleep 0.05
    done
    kill -9 -- -"$pid" 2>/dev/null || kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  done
  rm -rf "$work"
}

# A working folder for the test, removed with everything it started when the script ends.
make_work_folder() {
  work=$(mktemp -d "${TMPDIR:-/tmp}/$1-XXXXXX")
  trap cleanup EXIT
}

# Starts Xvfb of the given size and points DISPLAY at it; exits 77 (skipped) only where no X
# server can be started at all.
start_virtual_screen() {
  if ! command -v Xvfb >/dev/null; then
    echo "SKIPPED: Xvfb is not installed and no other X server can be started here." >&2
    exit 77
  fi
  # Xvfb picks a free display number itself and writes it once it accepts connections.
  mkfifo "$work/display-number"
  setsid Xvfb -displayfd 3 -screen 0 "$1x$2x24" -nolisten tcp -noreset \
    3>"$work/display-number" 2>"$work/xvfb.log" &
  background_pids+=($!)
  local display_number=""
  if ! read -r -t "$wait_seconds" display_number <"$work/display-number" ||
    [ -z "$display_number" ]; then
    echo "SKIPPED: Xvfb could not start an X server here:" >&2
    cat "$work/xvfb.log" >&2
    exit 77
  fi
  export DISPLAY=":$display_number"
  unset WAYLAND_DISPLAY WAYLAND_SOCKET
}

# Starts Xephyr of the given size inside the virtual screen and points DISPLAY at it: Xvfb cannot
# change its size, a screen nested in it can (xrandr), as a device's screen does when it is
# turned.
start_nested_screen() {
  require_tools Xephyr xrandr
  mkfifo "$work/nested-number"
  Xephyr -displayfd 4 -screen "$1x$2" -resizeable -nolisten tcp -noreset \
    4>"$work/nested-number" 2>"$work/xephyr.log" &
  background_pids+=($!)
  local nested=""
  read -r -t "$wait_seconds" nested <"$work/nested-number" && [ -n "$nested" ] ||
    fail "the nested X screen did not start: $(cat "$work/xephyr.log")"
  export DISPLAY=":$nested"
}

# Starts openbox with another program's window in the top left corner (other_window gives it)
# and waits until openbox manages windows: it announces itself before it does, so the test waits
# until it has framed and shown that one.
other_window() { xdotool search --class xlogo 2>/dev/null | head -n 1; }
start_window_manager() {
  require_tools openbox xlogo xprop xwininfo
  setsid openbox --sm-disable >"$work/openbox.log" 2>&1 &
  window_manager_pid=$!
  background_pids+=("$window_manager_pid")
  manager_announced() { xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }
  wait_until "openbox announces itself" manager_announced
  xlogo -geometry 30x30+2+2 >/dev/null 2>&1 &
  background_pids+=($!)
  wait_until_other_window_managed
}
# A map that reaches openbox while it is still starting can be lost for good (the window stays
# unmapped, or shows unframed): a window left so for a second or two is mapped again, which asks
# openbox anew.
wait_until_other_window_managed() {
  local deadline=$((SECONDS + wait_seconds)) remap_at=$((SECONDS + 2)) other=""
  until other=$(other_window) && [ -n "$other" ] &&
    xprop -id "$other" _NET_FRAME_EXTENTS 2>/dev/null | grep -q '=' &&
    xwininfo -id "$other" 2>/dev/null | grep -q IsViewable; do
    process_alive "$window_manager_pid" ||
      fail "openbox ended while starting: $(cat "$work/openbox.log")"
    [ $SECONDS -lt $deadline ] ||
      fail "timed out waiting until openbox manages another window: $(cat "$work/openbox.log")"
    if [ -n "$other" ] && [ $SECONDS -ge $remap_at ]; then
      note "openbox left the other window unmanaged; mapping it again"
      xdotool windowunmap "$other" windowmap "$other" 2>/dev/null || true
      remap_at=$((SECONDS + 2))
    fi
    sleep 0.05
  done
}

# A window's picture (import's -window and its further arguments). For a window that is gone,
# import would wait for a click to choose another one: a test fails instead of hanging.
import_window() { timeout "$wait_seconds" import -window "$@"; }

# Pixels of the window in $window: the colour of one, as rrggbb, and a check of it.
window_pixel() {
  import_window "$window" -crop "1x1+$1+$2" -depth 8 txt:- |
    awk 'NR == 2 {print tolower(substr($3, 2, 6))}'
}
expect_pixel() {
  local what=$1 x=$2 y=$3 expected=$4 actual
  actual=$(window_pixel "$x" "$y")
  [ "$actual" = "$expected" ] || fail "$what at $x,$y is #$actual, not #$expected"
}

# Where the ink lies in a rectangle (x, y, width, height) of the window in $window: the first and
# last x, relative to the rectangle, of the pixels that are neither of two background colours.
ink_columns() {
  import_window "$window" -crop "$3x$4+$1+$2" -depth 8 txt:- |
    awk -F'[,: ]+' -v row="$5" -v outline="$6" \
      'NR > 1 {colour = tolower(substr($0, index($0, "#") + 1, 6));
               if (colour != row && colour != outline) {if (first == "" || $1 < first) first = $1;
                                                        if ($1 > last) last = $1}}
       END {print first + 0, last + 0}'
}

# Clicks the lowest button of the box: the lowest run of pixels down its middle that differ
# from the box's face, which shows just above its bottom edge.
click_box_button() {
  local box=$1 X Y WIDTH HEIGHT middle_y
  eval "$(xdotool getwindowgeometry --shell "$box" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  middle_y=$(import_window "$box" -crop "1x$((HEIGHT - 2))+$((WIDTH / 2))+0" txt:- |
    awk -F'[,: ]+' 'NR > 1 {line = $0; sub(/^[^:]*:/, "", line); colour[NR - 2] = line; last = NR - 2}
      END {face = colour[last]
           for (y = 0; y <= last; y++) {
             if (colour[y] != face) {if (!inside) {top = y; inside = 1}; bottom = y}
             else if (inside) {inside = 0; run_top = top; run_bottom = bottom}}
           print int((run_top + run_bottom) / 2)}')
  if [ -z "$middle_y" ] || [ "$middle_y" -le 0 ]; then fail "found no button in the message box"; fi
  xdotool mousemove --sync $((X + WIDTH / 2)) $((Y + middle_y)) click 1
}
