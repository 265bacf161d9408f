#!/usr/bin/env bash
# End-to-end test of the real launcher program on a virtual X screen (Xvfb), driven with xdotool
# as a user would drive it: one scenario per run.
# Usage: launcher_e2e.sh <path of TavrelPrj>
#   <hold|drag|keys|focus|screen-size|window-destroyed|missing-files|signals|user-options|
#    failed-start>
# Exits 77 (skipped) only where no X server can be started at all.
set -euo pipefail

readonly launcher_program=$1
readonly scenario=$2
readonly screen_width=480
readonly screen_height=640
# The launcher's layout on this screen: rows of a sixth of the screen's height; the menu sits
# 3 pixels inside the window (a 1-pixel border and 2 pixels of space), its slider on the right.
readonly row_height=$((screen_height / 6))
readonly menu_inset=3
readonly slider_width=$((screen_width / 48))
readonly wait_seconds=10

# shellcheck source=tests/e2e/e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"

require_tools xdotool xwininfo xev import xlogo
[ -x "$launcher_program" ] || fail "no launcher program at $launcher_program"

make_work_folder tavrel-e2e
start_virtual_screen "$screen_width" "$screen_height"

# --- The launcher -------------------------------------------------------------------------
# A folder with its own copy of the program: the launcher reads its files next to itself.
folder=""
make_folder() {
  folder=$(mktemp -d "$work/folder-XXXXXX")
  ln "$launcher_program" "$folder/TavrelPrj" 2>/dev/null || cp "$launcher_program" "$folder/TavrelPrj"
}

# The options every scenario but one uses (the system look, no glide after a drag).
write_options() {
  printf '%s\r\n' "[main_settings]" "use_system_colors=true" "use_system_font=true" \
    "use_system_item_height=true" "use_system_menu_pos=true" "use_menu_inertia=false" \
    >"$folder/options.ini"
}

# A program for entries: writes its arguments, one a line, to a marker file in the folder.
write_marker_program() {
  printf '#!/bin/sh\nprintf "%%s\\n" "$@" >"%s/marker.tmp" && mv "%s/marker.tmp" "%s/marker"\n' \
    "$folder" "$folder" "$folder" >"$folder/mark.sh"
  chmod +x "$folder/mark.sh"
}

# settings.ini with `count` entries that all run the marker program; CR LF line ends.
write_entries() {
  local count=$1 n
  for ((n = 1; n <= count; n++)); do
    printf '[Entry %d]\r\nExecPath=%s/mark.sh\r\nArgs=--row "number %d"\r\n' "$n" "$folder" "$n"
  done >"$folder/settings.ini"
}

# A fresh folder with the usual options and `count` entries that run the marker program.
prepare_folder() {
  make_folder
  write_options
  write_marker_program
  write_entries "$1"
}

# shellcheck source=tests/e2e/launcher_support.sh
source "$(dirname "$0")/launcher_support.sh"


# The slider's column of the window as raw pixels: it moves only when the list scrolls.
slider_pixels_checksum() {
  import_window "$window" \
    -crop "${slider_width}x$((window_height - 2 * menu_inset))+$((window_width - menu_inset - slider_width))+$menu_inset" \
    rgb:- | md5sum
}

# --- Scenarios ----------------------------------------------------------------------------
scenario_hold() {
  prepare_folder 3
  start_launcher
  wait_for_launcher_window
  # Held well past the 300 ms that make a tap a start, so a busy machine cannot shorten it.
  note "holding the second row"
  xdotool mousemove --sync "$(window_center_x)" "$(row_center_y 1)" mousedown 1 sleep 1 mouseup 1
  expect_launcher_exit_ok "a held row started its program"
  wait_until "the second row's program has run" test -f "$folder/marker"
  [ "$(cat "$folder/marker")" = $'--row\nnumber 2' ] ||
    fail "the started program got the arguments '$(cat "$folder/marker")', not those of row 2"
}

scenario_drag() {
  prepare_folder 15
  start_launcher
  wait_for_launcher_window
  local before x y step
  before=$(slider_pixels_checksum)
  x=$(window_center_x)
  y=$(row_center_y 3)
  # Upwards by 240 pixels in steps, far past the drag threshold (a twelfth of the screen).
  note "dragging the list up"
  xdotool mousemove --sync "$x" "$y" mousedown 1
  for step in 1 2 3 4 5 6 7 8; do xdotool mousemove --sync "$x" $((y - 30 * step)); done
  xdotool mouseup 1
  slider_moved() { [ "$(slider_pixels_checksum)" != "$before" ]; }
  wait_until "the slider shows the list scrolled" slider_moved
  launcher_running || fail "the launcher ended after a drag"
  sleep 0.5 # time for a wrongly started program to show itself
  [ ! -e "$folder/marker" ] || fail "a drag started an entry's program"
  launcher_running || fail "the launcher ended after a drag"
  xdotool key Escape
  expect_launcher_exit_ok "Escape after the drag"
}

scenario_keys() {
  prepare_folder 3
  local key
  for key in Escape F1 F2; do
    start_launcher
    wait_for_launcher_window
    wait_until "the launcher has the keyboard focus" launcher_has_focus
    note "pressing $key"
    xdotool key "$key"
    expect_launcher_exit_ok "$key pressed"
  done
  [ ! -e "$folder/marker" ] || fail "a key that closes the launcher started an entry's program"
}

scenario_focus() {
  prepare_folder 3
  start_launcher
  wait_for_launcher_window
  wait_until "the launcher has the keyboard focus" launcher_has_focus
  # Another program's window, beside the launcher; without a window manager nothing gives it
  # the focus, so the test does, and waits until the X server reports it focused.
  xlogo -geometry 100x100+0+0 >/dev/null 2>&1 &
  local other_pid=$! other
  background_pids+=("$other_pid")
  wait_until "the other program's window is mapped" xdotool search --onlyvisible --class xlogo
  other=$(xdotool search --onlyvisible --class xlogo | head -n 1)
  note "giving the focus to another window"
  timeout "$wait_seconds" xdotool windowfocus --sync "$other" ||
    fail "the X server did not move the focus to the other window"
  expect_launcher_exit_ok "another window got the focus"
  [ ! -e "$folder/marker" ] || fail "losing the focus started an entry's program"
}

# Another client destroys the launcher's window (a pager, xdotool windowclose): the launcher ends
# as a window manager's close would end it, not with an X error.
scenario_window_destroyed() {
  prepare_folder 3
  start_launcher
  wait_for_launcher_window
  note "destroying the launcher's window from another client"
  xdotool windowclose "$window"
  expect_launcher_exit_ok "its window was destroyed"
  [ ! -e "$folder/marker" ] || fail "destroying the window started an entry's program"
}

scenario_screen_size() {
  start_nested_screen "$screen_width" "$screen_height"
  prepare_folder 3
  start_launcher
  wait_for_launcher_window
  note "turning the screen"
  xrandr -s "${screen_height}x${screen_width}" >/dev/null 2>&1 ||
    fail "xrandr could not change the nested screen's size"
  expect_launcher_exit_ok "the screen changed its size"
  [ ! -e "$folder/marker" ] || fail "turning the screen started an entry's program"
}

# The message box windows on the screen (SDL names them by their caption).
error_box_id() { xwininfo -root -children 2>/dev/null | awk '$2 == "\"Error\":" {print $1; exit}'; }
error_box_shown() {
  local box
  box=$(error_box_id)
  [ -n "$box" ] && xwininfo -id "$box" 2>/dev/null | grep -q "Map State: IsViewable"
}
# Message boxes closed so far: the X server's destroy notices of top-level windows.
boxes_closed() { [ "$(grep -c '^DestroyNotify' "$work/xev.log" || true)" -ge "$1" ]; }

scenario_missing_files() {
  make_folder # the program alone: neither options.ini nor settings.ini
  xev -root -event substructure >"$work/xev.log" 2>&1 &
  background_pids+=($!)
  start_launcher
  local box
  wait_until "a message box titled Error is shown (options.ini)" error_box_shown
  launcher_has_window && fail "the launcher's window showed before the message box was closed"
  box=$(error_box_id)
  note "closing the first message box with Return"
  timeout "$wait_seconds" xdotool windowfocus --sync "$box" key Return ||
    fail "could not give the message box the focus"
  wait_until "the first message box is closed" boxes_closed 1
  wait_until "a second message box titled Error is shown (settings.ini)" error_box_shown
  launcher_has_window && fail "the launcher's window showed before the second box was closed"
  note "closing the second message box with its OK button"
  click_box_button "$(error_box_id)"
  wait_until "the second message box is closed" boxes_closed 2
  wait_for_launcher_window
  error_box_shown && fail "a third message box was shown"
  wait_until "the launcher has the keyboard focus" launcher_has_focus
  xdotool key Escape
  expect_launcher_exit_ok "Escape on the empty launcher"
}

scenario_signals() {
  make_folder # no files: the launcher stops at its first message box
  local signal
  for signal in TERM INT; do
    start_launcher
    wait_until "a message box titled Error is shown" error_box_shown
    note "sending SIG$signal while the box is up"
    kill -s "$signal" "$launcher_pid"
    expect_launcher_exit_ok "SIG$signal under a message box"
  done
}

scenario_user_options() {
  make_folder
  write_marker_program
  write_entries 12
  # Colours of the user's own, rows of 70 pixels, a rectangle of 360 x 520 at 40,60, titles on
  # the left.
  printf '%s\r\n' "[main_settings]" "use_system_colors=false" \
    "odd_item.r=250" "odd_item.g=220" "odd_item.b=160" \
    "even_item.r=160" "even_item.g=210" "even_item.b=250" \
    "active_item.r=30" "active_item.g=120" "active_item.b=40" \
    "font.r=120" "font.g=0" "font.b=90" \
    "active_font.r=255" "active_font.g=255" "active_font.b=255" \
    "slider.r=200" "slider.g=40" "slider.b=40" \
    "use_system_font=true" "use_system_item_height=false" "user_item_height=70" \
    "use_system_menu_pos=false" "user_menu_pos_TL_X=40" "user_menu_pos_TL_Y=60" \
    "user_menu_pos_BR_X=400" "user_menu_pos_BR_Y=580" "pos_item_text=left" \
    "use_menu_inertia=true" >"$folder/options.ini"
  local odd=fadca0 even=a0d2fa active=1e7828 slider=c82828 outline=c8c8c8
  local rows=70 menu_width=$((360 - 2 * menu_inset)) menu_height=$((520 - 2 * menu_inset))
  start_launcher
  wait_for_launcher_window
  [ "$window_x,$window_y,$window_width,$window_height" = "40,60,360,520" ] ||
    fail "the window lies at $window_x,$window_y, $window_width x $window_height, not at the user's 40,60, 360 x 520"

  note "checking the user's colours and row height"
  local right=$((menu_inset + menu_width - slider_width - 20)) # right in a row, clear of its title
  expect_pixel "the highlighted first row" "$right" $((menu_inset + rows / 2)) "$active"
  expect_pixel "the second row" "$right" $((menu_inset + rows + rows / 2)) "$odd"
  expect_pixel "the third row" "$right" $((menu_inset + 2 * rows + rows / 2)) "$even"
  expect_pixel "the gap above the second row" "$right" $((menu_inset + rows)) "$even"
  expect_pixel "the second row's outline" "$right" $((menu_inset + rows + 1)) "$outline"
  expect_pixel "the third row's outline" "$right" $((menu_inset + 2 * rows + 1)) "$outline"
  # The slider: 514 of 12 x 70 pixels show, so the thumb covers the track's upper 314 pixels.
  local slider_x=$((menu_inset + menu_width - slider_width / 2))
  expect_pixel "the slider's thumb" "$slider_x" $((menu_inset + 300)) "$slider"
  expect_pixel "the slider's track" "$slider_x" $((menu_inset + 330)) "$even"

  # The second row's title on the left: ink (neither the row's colour nor its outline) lies in
  # the row's left half only.
  local ink
  ink=$(ink_columns $((menu_inset + 4)) $((menu_inset + rows + 4)) \
    $((menu_width - slider_width - 8)) $((rows - 8)) "$odd" "$outline")
  local ink_first=${ink% *} ink_last=${ink#* }
  [ "$ink_last" -gt 0 ] || fail "the second row shows no title"
  [ "$ink_last" -lt $((menu_width / 2 - 20)) ] ||
    fail "the second row's title reaches x = $ink_last of a $menu_width-pixel row: not on the left"
  note "the second row's title and icon lie from x = $ink_first to $ink_last"

  note "holding the third row"
  local x=$((window_x + menu_inset + menu_width / 2)) y=$((window_y + menu_inset + 2 * rows + rows / 2))
  xdotool mousemove --sync "$x" "$y" mousedown 1
  highlighted() { [ "$(window_pixel "$right" $((menu_inset + 2 * rows + rows / 2)))" = "$active" ]; }
  wait_until "the held row is highlighted" highlighted
  sleep 0.5
  xdotool mouseup 1
  expect_launcher_exit_ok "a held row started its program"
  wait_until "the third row's program has run" test -f "$folder/marker"
  [ "$(cat "$folder/marker")" = $'--row\nnumber 3' ] ||
    fail "the started program got the arguments '$(cat "$folder/marker")', not those of row 3"
}

scenario_failed_start() {
  make_folder
  write_options
  printf '[Gone]\r\nExecPath=%s/no-such-program\r\n' "$folder" >"$folder/settings.ini"
  start_launcher
  wait_for_launcher_window
  note "holding a row whose program is missing"
  xdotool mousemove --sync "$(window_center_x)" "$(row_center_y 0)" mousedown 1 sleep 1 mouseup 1
  wait_until "a message box titled Error says why nothing started" error_box_shown
  launcher_running || fail "the launcher closed before its message box was answered"
  note "answering the box with its OK button"
  click_box_button "$(error_box_id)"
  expect_launcher_exit_ok "the failed start was answered"
  grep -q 'no-such-program": No such file or directory' "$folder/output.log" ||
    fail "standard error lacks the reason: $(cat "$folder/output.log")"
}

case $scenario in
  hold) scenario_hold ;;
  drag) scenario_drag ;;
  keys) scenario_keys ;;
  focus) scenario_focus ;;
  screen-size) scenario_screen_size ;;
  window-destroyed) scenario_window_destroyed ;;
  missing-files) scenario_missing_files ;;
  signals) scenario_signals ;;
  user-options) scenario_user_options ;;
  failed-start) scenario_failed_start ;;
  *) fail "unknown scenario '$scenario'" ;;
esac
echo "PASS ($scenario)"
