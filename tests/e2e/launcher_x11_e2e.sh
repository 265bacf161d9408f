#!/usr/bin/env bash
# End-to-end test of the launcher on the native X11 backend, beyond a bare X server:
#   window-manager  under openbox: borderless, kept above, at the user's rectangle to the
#                   pixel, focused once mapped, ended by a click on another window.
#   density         Xft.dpi 192 in the server's resources doubles the text and icons.
#   monitors        two RandR monitors side by side: the launcher opens on the one under the
#                   pointer and is tapped there; another monitor's change leaves it be; its
#                   own monitor removed, it moves to the other; a new size ends it.
# Usage: launcher_x11_e2e.sh <path of TavrelPrj> <window-manager|density|monitors>
set -euo pipefail

readonly launcher_program=$1
readonly scenario=$2
readonly monitor_width=640
# Two monitors side by side for the monitors scenario, a phone's screen for the others.
if [ "$scenario" = monitors ]; then screen_width=$((2 * monitor_width)); else screen_width=480; fi
readonly screen_width
readonly screen_height=640
readonly menu_inset=3
readonly row_height=80
readonly wait_seconds=20
# The user's rectangle: odd corners, so a window manager's own placement would show.
readonly user_left=41 user_top=61 user_right=401 user_bottom=581

# shellcheck source=tests/e2e/e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"
# shellcheck source=tests/e2e/launcher_support.sh
source "$(dirname "$0")/launcher_support.sh"

require_tools xdotool xwininfo xprop xrdb import xlogo
[ -x "$launcher_program" ] || fail "no launcher program at $launcher_program"
make_work_folder tavrel-x11-e2e
start_virtual_screen "$screen_width" "$screen_height"

folder=$(mktemp -d "$work/folder-XXXXXX")
cp "$launcher_program" "$folder/TavrelPrj"
printf '[Second row]\r\nExecPath=/bin/true\r\n[Second row]\r\nExecPath=/bin/true\r\n' \
  >"$folder/settings.ini"
# The system's look; the rectangle and rows of the user's own.
write_options() {
  printf '%s\r\n' "[main_settings]" "use_system_colors=true" "use_system_font=true" \
    "use_system_item_height=false" "user_item_height=$row_height" "use_system_menu_pos=$1" \
    "user_menu_pos_TL_X=$user_left" "user_menu_pos_TL_Y=$user_top" \
    "user_menu_pos_BR_X=$user_right" "user_menu_pos_BR_Y=$user_bottom" \
    "use_menu_inertia=false" >"$folder/options.ini"
}

scenario_window_manager() {
  write_options false
  start_window_manager
  start_launcher
  wait_for_launcher_window
  [ "$window_x,$window_y,$window_width,$window_height" = \
    "$user_left,$user_top,$((user_right - user_left)),$((user_bottom - user_top))" ] ||
    fail "the window lies at $window_x,$window_y, $window_width x $window_height, not at the" \
      "user's rectangle"
  # No frame of openbox's around it: its frame window is the window's own size.
  local frame_width frame_height
  frame_width=$(xwininfo -id "$window" -frame | awk '/Width:/ {print $2}')
  frame_height=$(xwininfo -id "$window" -frame | awk '/Height:/ {print $2}')
  [ "$frame_width x $frame_height" = "$window_width x $window_height" ] ||
    fail "openbox framed the window: $frame_width x $frame_height around $window_width x $window_height"
  xprop -id "$window" _NET_WM_STATE | grep -q _NET_WM_STATE_ABOVE ||
    fail "the window is not kept above: $(xprop -id "$window" _NET_WM_STATE)"
  wait_until "the launcher has the keyboard focus" launcher_has_focus
  # In the middle of its picture: openbox's title bar above it has buttons that open menus.
  note "clicking the other window"
  xdotool mousemove --sync --window "$(other_window)" 15 15 click 1
  expect_launcher_exit_ok "a click on another window"
}

# The rows of the window (x, y, width, height of a rectangle) that hold ink: pixels darker
# than the row's light background.
ink_rows() {
  import_window "$window" -crop "$3x$4+$1+$2" -depth 8 txt:- |
    awk -F'[,: ]+' 'NR > 1 {colour = substr($0, index($0, "#") + 1, 6);
      if (toupper(substr(colour, 1, 2)) < "80" && !($2 in rows)) {rows[$2] = 1; count++}}
      END {print count + 0}'
}

# The title's ink in the second row, away from the icon.
second_title_ink() {
  start_launcher
  wait_for_launcher_window
  ink_rows $((window_width / 4)) $((menu_inset + row_height + 2)) $((window_width / 2)) \
    $((row_height - 4))
  xdotool key Escape
  expect_launcher_exit_ok "Escape"
}

scenario_density() {
  write_options true
  local normal dense
  normal=$(second_title_ink)
  printf 'Xft.dpi:\t192\n' | xrdb -nocpp -merge
  dense=$(second_title_ink)
  note "the title's ink is $normal rows high at 96 dpi, $dense at 192"
  [ "$normal" -gt 4 ] || fail "found no title ($normal rows of ink)"
  [ $((dense * 10)) -ge $((normal * 18)) ] && [ $((dense * 10)) -le $((normal * 22)) ] ||
    fail "at 192 dpi the title is $dense rows high, not about twice its $normal"
}

# Defines a RandR monitor (name, left edge, output or none): monitor_width x screen_height.
set_monitor() {
  xrandr --setmonitor "$1" "$monitor_width/170x$screen_height/170+$2+0" "$3" >/dev/null ||
    fail "xrandr could not set the monitor $1"
}
remove_monitor() { xrandr --delmonitor "$1" >/dev/null || fail "xrandr could not remove $1"; }
window_left() { xdotool getwindowgeometry --shell "$window" 2>/dev/null | sed -n 's/^X=//p'; }
window_left_is() { [ "$(window_left)" = "$1" ]; }
window_picture() { import_window "$window" rgb:- | md5sum; }
picture_differs() { [ "$(window_picture)" != "$1" ]; }

scenario_monitors() {
  require_tools xrandr
  write_options true
  printf '[First]\r\nExecPath=/usr/bin/touch\r\nArgs=%s\r\n' "$folder/first" >"$folder/settings.ini"
  printf '[Second]\r\nExecPath=/usr/bin/touch\r\nArgs=%s\r\n' "$folder/second" \
    >>"$folder/settings.ini"
  # The left one takes the screen's output (its own monitor goes) and is listed first; the
  # right one is virtual.
  set_monitor left 0 screen
  set_monitor right "$monitor_width" none
  xdotool mousemove --sync $((monitor_width * 3 / 2)) $((screen_height / 2))
  start_launcher
  wait_for_launcher_window
  local inset=$((window_x - monitor_width))
  [ "$inset" -gt 0 ] && [ $((window_x + window_width + inset)) -eq "$screen_width" ] ||
    fail "the window lies at $window_x, $window_width wide, not in the middle of the right monitor"
  note "changing the left monitor, then holding the second row"
  remove_monitor left
  set_monitor left 0 screen
  # Events come in order: had the change ended the launcher, the hold would start nothing.
  xdotool mousemove --sync "$(window_center_x)" "$(row_center_y 1)" mousedown 1 sleep 1 mouseup 1
  expect_launcher_exit_ok "the second row held"
  wait_until "the second row's program has run" test -e "$folder/second"
  [ ! -e "$folder/first" ] || fail "the hold on the right monitor started the first row's program"
  xdotool mousemove --sync $((monitor_width * 3 / 2)) $((screen_height / 2))
  start_launcher
  wait_for_launcher_window
  note "removing the launcher's monitor"
  remove_monitor right
  wait_until "the launcher moves to the left monitor" window_left_is "$inset"
  # Still running there, and tapped where it is now.
  window_x=$inset
  local before
  before=$(window_picture)
  xdotool mousemove --sync "$(window_center_x)" "$(row_center_y 1)" click 1
  wait_until "the tapped row is selected" picture_differs "$before"
  note "removing the left monitor: the screen's own, twice as wide, comes back"
  remove_monitor left
  expect_launcher_exit_ok "its monitor changed its size"
}

case $scenario in
  window-manager) scenario_window_manager ;;
  density) scenario_density ;;
  monitors) scenario_monitors ;;
  *) fail "unknown scenario '$scenario'" ;;
esac
echo "PASS ($scenario)"
