# Starting the launcher program of a test's folder on the virtual X screen, waiting for its
# window and its end, and where its rows lie. Source it after e2e_support.sh; it reads $folder
# (holding TavrelPrj), $menu_inset and $row_height.

launcher_pid=""
start_launcher() {
  rm -f "$folder/first-frame"
  # A background job of a script starts with Ctrl+C ignored; a launcher started from a terminal
  # has it at its default, so perl puts it back before it becomes the launcher.
  TAVREL_FIRST_FRAME_FILE="$folder/first-frame" setsid \
    perl -e '$SIG{INT} = "DEFAULT"; exec @ARGV or die "$!\n"' "$folder/TavrelPrj" \
    >"$folder/output.log" 2>&1 &
  launcher_pid=$!
  background_pids+=("$launcher_pid")
}

launcher_running() { process_alive "$launcher_pid"; }
launcher_ended() { ! launcher_running; }
# The launcher's own window has no title; its message boxes are titled by their caption.
launcher_window_id() {
  local id
  for id in $(xdotool search --onlyvisible --pid "$launcher_pid" 2>/dev/null); do
    [ -z "$(xdotool getwindowname "$id" 2>/dev/null)" ] && echo "$id" && return
  done
}
launcher_has_window() { [ -n "$(launcher_window_id)" ]; }

# Waits until the launcher's window is mapped and its first frame is on the screen; sets
# window and its geometry (window_x, window_y, window_width, window_height).
window=""
wait_for_launcher_window() {
  wait_until "the launcher's window is mapped" launcher_has_window
  wait_until "the launcher has presented its first frame" test -s "$folder/first-frame"
  window=$(launcher_window_id)
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  window_x=$X window_y=$Y window_width=$WIDTH window_height=$HEIGHT
}

# Without a window manager the launcher gives its window the keyboard focus itself once mapped.
launcher_has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]; }

# Waits for the launcher to end; fails unless it ended with status 0.
expect_launcher_exit_ok() {
  local why=$1 status=0
  wait_until "the launcher has ended ($why)" launcher_ended
  wait "$launcher_pid" || status=$?
  if [ "$status" -ne 0 ]; then
    cat "$folder/output.log" >&2
    fail "the launcher ended with status $status ($why)"
  fi
}

row_center_y() { echo $((window_y + menu_inset + row_height * $1 + row_height / 2)); }
window_center_x() { echo $((window_x + window_width / 2)); }
