#!/usr/bin/env bash
# End-to-end test of the launcher program on each kind of display it presents to, one scenario
# per run:
#   wayland            on a real Wayland compositor without layer-shell (weston with its X11
#                      backend, nested in Xvfb, which gives it a seat that xdotool drives) and
#                      no X11 for the launcher: the native backend's xdg_toplevel shows its
#                      rows, borderless; a held row starts; Escape closes it.
#   x11-shared-memory  on X11 the picture goes through shared memory, without OpenGL.
# Usage: launcher_wayland_e2e.sh <path of TavrelPrj> <wayland|x11-shared-memory>
# Set TAVREL_E2E_SCREENSHOTS to a folder to keep the compositor's screenshot there.
# Exits 77 (skipped) only where no X server can be started at all.
set -euo pipefail

readonly launcher_program=$1
readonly scenario=$2
readonly screen_width=480
readonly screen_height=640
# The launcher's layout on this screen: rows of a sixth of the screen's height, the window's
# width the screen's less a 32nd of its height on each side; the menu sits 3 pixels inside the
# window (a 1-pixel frame and 2 pixels of space), its slider on the right.
readonly row_height=$((screen_height / 6))
readonly window_width=$((screen_width - 2 * (screen_height / 32)))
readonly menu_inset=3
readonly slider_width=$((screen_width / 48))
# Generous: weston and the launcher start slowly on a loaded machine.
readonly wait_seconds=30
# The compositor's desktop: one colour, no panel, no animations.
readonly background=305070

# shellcheck source=tests/e2e/e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"

require_tools xdotool xwininfo import convert
[ -x "$launcher_program" ] || fail "no launcher program at $launcher_program"

make_work_folder tavrel-wayland-e2e
# A strip beside weston's output, where the pointer can leave its window: entering it again is
# what makes weston take the X pointer's place as its own.
readonly outside_x=$((screen_width + 8))
start_virtual_screen $((screen_width + 16)) "$screen_height"

# --- The launcher -------------------------------------------------------------------------
folder=$(mktemp -d "$work/folder-XXXXXX")
ln "$launcher_program" "$folder/TavrelPrj" 2>/dev/null || cp "$launcher_program" "$folder/TavrelPrj"
printf '%s\r\n' "[main_settings]" "use_system_colors=true" "use_system_font=true" \
  "use_system_item_height=true" "use_system_menu_pos=true" "use_menu_inertia=false" \
  >"$folder/options.ini"
# Entries run a program that writes its arguments, one a line, to a marker file.
printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/marker.tmp" && mv "%s/marker.tmp" "%s/marker"\n' \
  "$folder" "$folder" "$folder" >"$folder/mark.sh"
chmod +x "$folder/mark.sh"
for n in 1 2 3; do
  printf '[Entry %d]\r\nExecPath=%s/mark.sh\r\nArgs=--row "number %d"\r\n' "$n" "$folder" "$n"
done >"$folder/settings.ini"

launcher_pid=""
# Starts the launcher with the given environment changes (env's arguments).
start_launcher() {
  rm -f "$folder/first-frame"
  env "$@" TAVREL_FIRST_FRAME_FILE="$folder/first-frame" setsid "$folder/TavrelPrj" \
    >"$folder/output.log" 2>&1 &
  launcher_pid=$!
  background_pids+=("$launcher_pid")
}
launcher_ended() { ! process_alive "$launcher_pid"; }

# Waits for the launcher to end; fails unless it ended with status 0.
expect_launcher_exit_ok() {
  local why=$1 status=0
  wait_until "the launcher has ended ($why)" launcher_ended
  wait "$launcher_pid" || status=$?
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$folder/output.log" >&2
    fail "the launcher ended with status $status ($why)"
  fi
}

# --- Scenarios ----------------------------------------------------------------------------
scenario_x11_shared_memory() {
  start_launcher SDL_VIDEODRIVER=x11
  wait_until "the launcher has presented its first frame" test -s "$folder/first-frame"
  local loaded
  loaded=$(grep -oE '[^/ ]*(libGL|libGLX|libEGL|_dri)[^/ ]*\.so[^ ]*' "/proc/$launcher_pid/maps" |
    sort -u | tr '\n' ' ' || true)
  [ -z "$loaded" ] || fail "the launcher loaded OpenGL to present on X11: $loaded"
  local window
  window_shown() { [ -n "$(xdotool search --onlyvisible --pid "$launcher_pid" 2>/dev/null)" ]; }
  wait_until "the launcher's window is mapped" window_shown
  window=$(xdotool search --onlyvisible --pid "$launcher_pid" | head -n 1)
  # Without a window manager SDL gives its window the keyboard focus itself.
  has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$window" ]; }
  wait_until "the launcher has the keyboard focus" has_focus
  xdotool key Escape
  expect_launcher_exit_ok "Escape"
}

compositor_window=""
compositor_x=0
compositor_y=0
# The compositor's output as the X server shows it, saved to $work/output.png.
take_screenshot() { import -window "$compositor_window" "$work/output.png"; }
# The colours (RRGGBB) of a run of pixels of the screenshot, one a line.
screenshot_pixels() {
  local x=$1 y=$2 width=$3 height=$4
  convert "$work/output.png" -crop "${width}x${height}+${x}+${y}" +repage -depth 8 txt:- |
    awk 'NR > 1 {sub(/^#/, "", $3); print toupper(substr($3, 1, 6))}'
}
screenshot_pixel() { screenshot_pixels "$1" "$2" 1 1; }

# Where the launcher's window lies in the compositor's output, from the first and last pixel
# that is not the desktop on a line across the middle and one down the middle (the compositor
# places windows as it likes). Sets shown_left, shown_top, shown_right, shown_bottom (inclusive).
find_launcher_window() {
  local line
  take_screenshot || return 1
  line=$(screenshot_pixels 0 $((screen_height / 2)) "$screen_width" 1 |
    awk -v desktop="$background" '$1 != desktop {if (first == "") first = NR - 1; last = NR - 1}
      END {if (first != "") print first, last}')
  [ -n "$line" ] || return 1
  read -r shown_left shown_right <<<"$line"
  line=$(screenshot_pixels $((screen_width / 2)) 0 1 "$screen_height" |
    awk -v desktop="$background" '$1 != desktop {if (first == "") first = NR - 1; last = NR - 1}
      END {if (first != "") print first, last}')
  [ -n "$line" ] || return 1
  read -r shown_top shown_bottom <<<"$line"
}

start_compositor() {
  command -v weston >/dev/null || fail "weston is missing: run tools/install-dependencies.sh"
  export XDG_RUNTIME_DIR="$work/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
  printf '%s\n' "[core]" "idle-time=0" "[shell]" "panel-position=none" "background-image=" \
    "background-color=0xff$background" "locking=false" "animation=none" \
    "startup-animation=none" "close-animation=none" "focus-animation=none" \
    "[input-method]" "path=" >"$work/weston.ini"
  # The software renderer: a CI machine has no GPU.
  setsid weston --config="$work/weston.ini" --backend=x11-backend.so --use-pixman \
    --socket=tavrel-e2e --width="$screen_width" --height="$screen_height" \
    --log="$work/weston.log" >/dev/null 2>&1 &
  background_pids+=($!)
  compositor_listens() { [ -S "$XDG_RUNTIME_DIR/tavrel-e2e" ]; }
  wait_until "weston listens" compositor_listens
  compositor_has_window() { [ -n "$(xdotool search --classname '^weston' 2>/dev/null)" ]; }
  wait_until "weston's output window is mapped" compositor_has_window
  compositor_window=$(xdotool search --classname '^weston' | head -n 1)
  local X Y
  eval "$(xdotool getwindowgeometry --shell "$compositor_window" | grep -E '^(X|Y)=')"
  compositor_x=$X compositor_y=$Y
  # Keys go to weston through the X server's focus.
  xdotool windowfocus "$compositor_window" 2>/dev/null || true
  compositor_has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$compositor_window" ]; }
  wait_until "weston's output window has the keyboard focus" compositor_has_focus
  park_pointer
  desktop_drawn() {
    take_screenshot &&
      [ "$(screenshot_pixel $((screen_width / 4)) $((screen_height / 4)))" = "$background" ]
  }
  wait_until "weston's desktop is drawn" desktop_drawn
}
# The pointer rests on the output's last pixel, which no window placed on it covers: weston's
# cursor stays there, off every pixel the test reads.
park_pointer() {
  xdotool mousemove --sync $((compositor_x + screen_width - 1)) $((compositor_y + screen_height - 1))
}

# The launcher as a Wayland client only, no X11 to fall back on. The protocol log shows what it
# committed.
start_wayland_launcher() {
  start_launcher -u DISPLAY WAYLAND_DISPLAY=tavrel-e2e WAYLAND_DEBUG=client
}

# The id of the launcher's main surface in the protocol log (the one made a window, not the
# surfaces of decorations); empty until it is a window.
main_surface_id() {
  grep -oE 'get_xdg_surface\(new id xdg_surface@[0-9]+, wl_surface@[0-9]+' "$folder/output.log" |
    head -n 1 | sed 's/.*wl_surface@//'
}
# How many buffers the protocol log shows attached to the launcher's main surface.
main_surface_buffers() {
  local main
  main=$(main_surface_id)
  [ -n "$main" ] || {
    echo 0
    return
  }
  grep -c "wl_surface@$main\.attach(wl_buffer" "$folder/output.log" || true
}

# Fails unless the launcher's window shows its rows, borderless, in the compositor's output.
check_picture() {
  local deadline=$((SECONDS + wait_seconds))
  until find_launcher_window; do
    if [ $SECONDS -ge $deadline ] || launcher_ended; then
      grep -v '^\[' "$folder/output.log" | tail -n 20 >&2 || true
      fail "the launcher's window never showed on the compositor; the protocol log shows" \
        "$(main_surface_buffers) buffers attached to its main surface"
    fi
    sleep 0.1
  done
  if [ -n "${TAVREL_E2E_SCREENSHOTS:-}" ]; then
    cp "$work/output.png" "$TAVREL_E2E_SCREENSHOTS/launcher-on-weston.png"
  fi
  local width=$((shown_right - shown_left + 1))
  note "the window shows at ${shown_left},${shown_top} to ${shown_right},${shown_bottom}"
  [ "$width" -eq "$window_width" ] ||
    fail "the window shows $width pixels wide, not $window_width: a frame or shadow of the compositor?"
  # Borderless: the outermost pixels on all four sides are the launcher's own thin frame, in one
  # colour; a title bar would put other colours at the top.
  local frame
  frame=$(screenshot_pixel "$shown_left" $((screen_height / 2)))
  local edge
  for edge in "$shown_right $((screen_height / 2))" "$((screen_width / 2)) $shown_top" \
    "$((screen_width / 2)) $shown_bottom" "$((shown_left + 1)) $shown_top"; do
    # shellcheck disable=SC2086
    [ "$(screenshot_pixel $edge)" = "$frame" ] ||
      fail "the window's edge at ($edge) is $(screenshot_pixel $edge), not its frame's $frame: a title bar?"
  done
  # Rows: each of the three shows more than its background (an icon and a title), and the
  # first, highlighted, has a background of its own.
  local row y colours menu_left=$((shown_left + menu_inset))
  local menu_width=$((window_width - 2 * menu_inset - slider_width))
  for row in 0 1 2; do
    y=$((shown_top + menu_inset + row * row_height + row_height / 2))
    colours=$(screenshot_pixels "$menu_left" "$y" "$menu_width" 1 | sort -u | wc -l)
    [ "$colours" -ge 3 ] || fail "row $((row + 1)) shows $colours colours: no icon or title"
  done
  local first second
  first=$(screenshot_pixel $((menu_left + 4)) $((shown_top + menu_inset + row_height / 2)))
  second=$(screenshot_pixel $((menu_left + 4)) $((shown_top + menu_inset + row_height * 3 / 2)))
  [ "$first" != "$second" ] || fail "the highlighted first row looks like the second ($first)"
  [ "$(main_surface_buffers)" -gt 0 ] ||
    fail "the protocol log shows no buffer on the main surface: was this a Wayland client?"
}

# How many events of the given kind (a regular expression after "wl_pointer@N.") the launcher
# has taken from its pointers so far.
pointer_events() {
  grep -cE "^\[ *[0-9.]+\] wl_pointer@[0-9]+\.$1" "$folder/output.log" || true
}

# Moves the pointer to (x, y) of the X screen and waits until the compositor has told the
# launcher that the pointer is over its main surface. weston's X11 backend may miss where the X
# pointer is (it was in its window before weston listened): each try comes from outside the
# window, so that weston hears the pointer enter, until the launcher's enter is there.
point_at_launcher() {
  local x=$1 y=$2 main deadline=$((SECONDS + wait_seconds)) attempt=0
  main=$(main_surface_id)
  [ -n "$main" ] || fail "the protocol log names no main surface"
  pointer_entered() {
    grep -qE "^\[ *[0-9.]+\] wl_pointer@[0-9]+\.enter\([0-9]+, wl_surface@$main," "$folder/output.log"
  }
  xdotool mousemove --sync "$outside_x" "$y" mousemove --sync "$x" "$y"
  until pointer_entered; do
    if [ $SECONDS -ge $deadline ] || launcher_ended; then
      tail -n 20 "$work/weston.log" >&2 || true
      fail "the pointer at $x,$y ($(xdotool getmouselocation 2>/dev/null)) never entered the" \
        "launcher's surface: $(pointer_events '') pointer events in its log after $attempt moves"
    fi
    attempt=$((attempt + 1))
    sleep 0.2
    xdotool mousemove --sync "$outside_x" "$y" mousemove --sync "$x" "$y"
  done
}

# Holds the left button at (x, y) well past the 300 ms that make a tap a start, counted from
# the moment the launcher has taken the press, so a busy machine cannot shorten the hold.
hold_on_launcher() {
  point_at_launcher "$1" "$2"
  local presses
  presses=$(pointer_events 'button\([0-9]+, [0-9]+, 272, 1\)')
  xdotool mousedown 1
  pressed() { [ "$(pointer_events 'button\([0-9]+, [0-9]+, 272, 1\)')" -gt "$presses" ]; }
  wait_until "the launcher has taken the press" pressed
  sleep 0.6
  xdotool mouseup 1
}

scenario_wayland() {
  start_compositor
  note "starting the launcher as a Wayland client"
  start_wayland_launcher
  wait_until "the launcher has presented its first frame" test -s "$folder/first-frame"
  check_picture
  local x=$((compositor_x + shown_left + window_width / 2))
  local y=$((compositor_y + shown_top + menu_inset + row_height + row_height / 2))
  note "holding the second row"
  hold_on_launcher "$x" "$y"
  expect_launcher_exit_ok "a held row started its program"
  wait_until "the second row's program has run" test -f "$folder/marker"
  [ "$(cat "$folder/marker")" = $'--row\nnumber 2' ] ||
    fail "the started program got the arguments '$(cat "$folder/marker")', not those of row 2"

  rm -f "$folder/marker"
  park_pointer
  note "starting the launcher again, to close it with Escape"
  start_wayland_launcher
  wait_until "the launcher has presented its first frame" test -s "$folder/first-frame"
  check_picture
  keyboard_entered() { grep -q 'wl_keyboard@[0-9]*\.enter(' "$folder/output.log"; }
  wait_until "the compositor gives the launcher the keyboard" keyboard_entered
  xdotool key Escape
  expect_launcher_exit_ok "Escape"
  [ ! -e "$folder/marker" ] || fail "Escape started an entry's program"
}

case $scenario in
  wayland) scenario_wayland ;;
  x11-shared-memory) scenario_x11_shared_memory ;;
  *) fail "unknown scenario '$scenario'" ;;
esac
echo "PASS ($scenario)"
