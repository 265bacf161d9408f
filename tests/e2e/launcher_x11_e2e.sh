#!/usr/bin/env bash
# End-to-end test of the launcher on the native X11 backend, beyond a bare X server:
#   window-manager  under openbox: borderless, kept above, at the user's rectangle to the
#                   pixel, focused once mapped, ended by a click on another window.
#   density         Xft.dpi 192 in the server's resources doubles the text and icons.
# Usage: launcher_x11_e2e.sh <path of TavrelPrj> <window-manager|density>
set -euo pipefail

readonly launcher_program=$1
readonly scenario=$2
readonly screen_width=480
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
  require_tools openbox
  write_options false
  setsid openbox --sm-disable >"$work/openbox.log" 2>&1 &
  background_pids+=($!)
  # Another program's window, where the launcher will not be: once openbox has framed it, it
  # manages new windows (it announces itself before it does).
  xlogo -geometry 30x30+2+2 >/dev/null 2>&1 &
  background_pids+=($!)
  other_window() { xdotool search --onlyvisible --class xlogo 2>/dev/null | head -n 1; }
  other_framed() { xprop -id "$(other_window)" _NET_FRAME_EXTENTS | grep -q '='; }
  wait_until "openbox manages the other window" other_framed
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

case $scenario in
  window-manager) scenario_window_manager ;;
  density) scenario_density ;;
  *) fail "unknown scenario '$scenario'" ;;
esac
echo "PASS ($scenario)"
