#!/usr/bin/env bash
# End-to-end test of the launcher on a phone's compositor: phoc with its X11 backend nested in
# Xvfb (xdotool drives its seat), a 720x1440 output at scale 2, and the launcher on its native
# Wayland backend as a layer surface. One scenario per run:
#   place-and-start   the window lies at the user's rectangle to the pixel, drawn at the output's
#                     pixels (buffer scale 2, one-pixel lines); a held row starts its program,
#                     which finds a startup token in its environment.
#   escape-and-focus  Escape ends it; so does another surface taking the keyboard.
#   editor            the settings editor (an xdg_toplevel) pastes another client's text
#                     (wl-copy), copies to another (wl-paste), and repeats a held key.
# Usage: launcher_phoc_e2e.sh <path of TavrelPrj> <scenario> [<path of TavrelSettings>]
# Set TAVREL_E2E_SCREENSHOTS to a folder to keep the output's screenshot there.
set -euo pipefail

readonly launcher_program=$1
readonly scenario=$2
readonly editor_program=${3:-}
readonly screen_width=720
readonly screen_height=1440
readonly wait_seconds=30
# The user's rectangle: odd corners, which no whole surface coordinate at scale 2 reaches.
readonly user_left=101 user_top=151 user_right=621 user_bottom=1201
readonly row_height=150

# shellcheck source=tests/e2e/e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"

require_tools phoc xdotool xwininfo import convert
[ -x "$launcher_program" ] || fail "no launcher program at $launcher_program"
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIPPED: phoc's X11 backend runs as root only." >&2
  exit 77
fi

make_work_folder tavrel-phoc-e2e
start_virtual_screen "$screen_width" "$screen_height"

# --- The compositor -----------------------------------------------------------------------
export XDG_RUNTIME_DIR="$work/runtime"
mkdir -m 700 "$XDG_RUNTIME_DIR"
printf '%s\n' "[core]" "xwayland=false" "[output:X11-1]" "mode=${screen_width}x${screen_height}" \
  "scale=2" >"$work/phoc.ini"
WLR_BACKENDS=x11 WLR_RENDERER=pixman GSETTINGS_BACKEND=memory \
  setsid phoc -C "$work/phoc.ini" >"$work/phoc.log" 2>&1 &
background_pids+=($!)
# In a runtime folder of its own, phoc takes the first socket name.
compositor_listens() { [ -S "$XDG_RUNTIME_DIR/wayland-0" ]; }
wait_until "phoc listens" compositor_listens
# Its output is the root window's only child, without a name.
output_window() { xwininfo -root -children | awk '$1 ~ /^0x/ && /'"${screen_width}x${screen_height}"'/ {print $1; exit}'; }
compositor_has_window() { [ -n "$(output_window)" ]; }
wait_until "phoc's output window is mapped" compositor_has_window
compositor_window=$(output_window)
xdotool windowfocus "$compositor_window" 2>/dev/null || true
# The pointer rests in the output's corner, outside the user's rectangle.
xdotool mousemove --sync $((screen_width - 1)) $((screen_height - 1))

# --- The launcher -------------------------------------------------------------------------
folder=$(mktemp -d "$work/folder-XXXXXX")
ln "$launcher_program" "$folder/TavrelPrj" 2>/dev/null || cp "$launcher_program" "$folder/TavrelPrj"
printf '%s\r\n' "[main_settings]" "use_system_colors=true" "use_system_font=true" \
  "use_system_item_height=false" "user_item_height=$row_height" "use_system_menu_pos=false" \
  "user_menu_pos_TL_X=$user_left" "user_menu_pos_TL_Y=$user_top" \
  "user_menu_pos_BR_X=$user_right" "user_menu_pos_BR_Y=$user_bottom" "use_menu_inertia=false" \
  >"$folder/options.ini"
# Entries run a program that writes its arguments and its startup token to marker files.
printf '#!/bin/sh\nprintf "%%s" "$XDG_ACTIVATION_TOKEN" >"%s/token"\nprintf "%%s\\n" "$@" >"%s/marker.tmp" && mv "%s/marker.tmp" "%s/marker"\n' \
  "$folder" "$folder" "$folder" "$folder" >"$folder/mark.sh"
chmod +x "$folder/mark.sh"
for n in 1 2 3; do
  printf '[Entry %d]\r\nExecPath=%s/mark.sh\r\nArgs=--row "number %d"\r\n' "$n" "$folder" "$n"
done >"$folder/settings.ini"

launcher_pid=""
start_launcher() {
  rm -f "$folder/first-frame"
  env -u DISPLAY WAYLAND_DISPLAY=wayland-0 WAYLAND_DEBUG=client \
    TAVREL_FIRST_FRAME_FILE="$folder/first-frame" setsid "$folder/TavrelPrj" \
    >"$folder/output.log" 2>&1 &
  launcher_pid=$!
  background_pids+=("$launcher_pid")
  wait_until "the launcher has presented its first frame" test -s "$folder/first-frame"
}
launcher_ended() { ! process_alive "$launcher_pid"; }
expect_launcher_exit_ok() {
  local why=$1 status=0
  wait_until "the launcher has ended ($why)" launcher_ended
  wait "$launcher_pid" || status=$?
  if [ "$status" -ne 0 ]; then
    grep -v '^\[' "$folder/output.log" | tail -n 40 >&2 || true
    fail "the launcher ended with status $status ($why)"
  fi
}
keyboard_entered() { grep -q 'wl_keyboard@[0-9]*\.enter(' "$folder/output.log"; }

take_screenshot() { import -window root "$work/output.png"; }
# The colours (RRGGBB) of a run of pixels of the screenshot, one a line.
screenshot_pixels() {
  convert "$work/output.png" -crop "${3}x${4}+${1}+${2}" +repage -depth 8 txt:- |
    awk 'NR > 1 {sub(/^#/, "", $3); print toupper(substr($3, 1, 6))}'
}
# The first and last index of a run of pixels that is not phoc's black; the launcher's frame is
# black too, so its face one pixel inside is what shows first.
ink_extent() {
  awk '$1 != "000000" {if (first == "") first = NR - 1; last = NR - 1}
    END {if (first != "") print first, last}'
}
# How many runs of exactly one pixel a line of pixels holds: a picture the compositor enlarged
# twofold has none.
single_pixel_runs() {
  awk 'NR > 1 && $1 != previous {if (run == 1) singles++; run = 0}
    {run++; previous = $1} END {print singles + 0}'
}

check_placement() {
  local extent middle_y=$(((user_top + user_bottom) / 2)) middle_x=$(((user_left + user_right) / 2))
  shows_window() {
    take_screenshot && [ -n "$(screenshot_pixels 0 "$middle_y" "$screen_width" 1 | ink_extent)" ]
  }
  wait_until "the launcher's window shows" shows_window
  [ -z "${TAVREL_E2E_SCREENSHOTS:-}" ] || cp "$work/output.png" "$TAVREL_E2E_SCREENSHOTS/launcher-on-phoc.png"
  extent=$(screenshot_pixels 0 "$middle_y" "$screen_width" 1 | ink_extent)
  [ "$extent" = "$((user_left + 1)) $((user_right - 2))" ] ||
    fail "across, the window's face spans $extent, not $((user_left + 1)) $((user_right - 2))"
  extent=$(screenshot_pixels "$middle_x" 0 1 "$screen_height" | ink_extent)
  [ "$extent" = "$((user_top + 1)) $((user_bottom - 2))" ] ||
    fail "down, the window's face spans $extent, not $((user_top + 1)) $((user_bottom - 2))"
  grep -q 'wl_surface@[0-9]*\.set_buffer_scale(2)' "$folder/output.log" ||
    fail "the launcher never drew at the output's scale 2"
  local singles
  singles=$(screenshot_pixels "$middle_x" "$user_top" 1 $((user_bottom - user_top)) | single_pixel_runs)
  [ "$singles" -gt 0 ] || fail "no line of the picture is one pixel thin: the compositor enlarged it"
}

# Holds the left button at (x, y) well past the 300 ms that make a tap a start, counted from the
# moment the launcher has taken the press.
hold_at() {
  local x=$1 y=$2
  xdotool mousemove --sync "$x" "$y"
  pointer_entered() { grep -qE 'wl_pointer@[0-9]+\.enter\(' "$folder/output.log"; }
  wait_until "the pointer is over the launcher" pointer_entered
  xdotool mousedown 1
  pressed() { grep -qE 'wl_pointer@[0-9]+\.button\([0-9]+, [0-9]+, 272, 1\)' "$folder/output.log"; }
  wait_until "the launcher has taken the press" pressed
  sleep 0.6
  xdotool mouseup 1
}

scenario_place_and_start() {
  start_launcher
  check_placement
  note "holding the second row"
  hold_at $(((user_left + user_right) / 2)) $((user_top + 3 + row_height + row_height / 2))
  expect_launcher_exit_ok "a held row started its program"
  wait_until "the second row's program has run" test -f "$folder/marker"
  [ "$(cat "$folder/marker")" = $'--row\nnumber 2' ] ||
    fail "the started program got '$(cat "$folder/marker")', not the arguments of row 2"
  [ -s "$folder/token" ] || fail "the started program found no XDG_ACTIVATION_TOKEN"
  xdotool mousemove --sync $((screen_width - 1)) $((screen_height - 1))
}

scenario_escape_and_focus() {
  start_launcher
  wait_until "phoc gives the launcher the keyboard" keyboard_entered
  xdotool key Escape
  expect_launcher_exit_ok "Escape"

  start_launcher
  wait_until "phoc gives the launcher the keyboard" keyboard_entered
  local first=$launcher_pid first_log="$folder/first.log"
  cp "$folder/output.log" "$first_log"
  note "another launcher takes the keyboard"
  start_launcher
  launcher_pid=$first
  expect_launcher_exit_ok "another surface took the keyboard"
  [ ! -e "$folder/marker" ] || fail "losing the keyboard started an entry's program"
}

editor_pid=""
start_editor() {
  # The last editor's log names a keyboard enter too: gone before the new editor starts.
  rm -f "$folder/editor.log"
  env -u DISPLAY WAYLAND_DISPLAY=wayland-0 WAYLAND_DEBUG=client setsid "$folder/TavrelSettings" \
    >"$folder/editor.log" 2>&1 &
  editor_pid=$!
  background_pids+=("$editor_pid")
  editor_has_keyboard() { grep -qs 'wl_keyboard@[0-9]*\.enter(' "$folder/editor.log"; }
  wait_until "phoc gives the editor the keyboard" editor_has_keyboard
}
expect_editor_exit_ok() {
  local why=$1 status=0
  editor_ended() { ! process_alive "$editor_pid"; }
  wait_until "the editor has ended ($why)" editor_ended
  wait "$editor_pid" || status=$?
  [ "$status" -eq 0 ] || fail "the editor ended with status $status ($why)"
}
saved_height() { grep -a '^user_item_height=' "$folder/options.ini" | tr -d '\r' | cut -d= -f2; }

scenario_editor() {
  require_tools wl-copy wl-paste
  [ -x "$editor_program" ] || fail "no editor program at '$editor_program'"
  # A folder of its own, with the system's row height chosen.
  folder=$(mktemp -d "$work/editor-XXXXXX")
  cp "$editor_program" "$folder/TavrelSettings"
  printf '%s\r\n' "[main_settings]" "use_system_colors=true" "use_system_font=true" \
    "use_system_item_height=true" "user_item_height=70" "use_system_menu_pos=true" \
    >"$folder/options.ini"
  export WAYLAND_DISPLAY=wayland-0
  wl-copy 4321
  clipboard_served() { [ "$(env -u DISPLAY wl-paste --no-newline)" = 4321 ]; }
  wait_until "wl-copy serves 4321" clipboard_served
  start_editor
  note "the row height's box: \"нет\", then wl-copy's text pasted with Ctrl+V, saved with F1"
  # Downs from the top of the list to "системная высота элемента".
  local to_height="Down Down Down Down Down Down Down Down Down Down Down"
  # shellcheck disable=SC2086
  xdotool key $to_height Return Down Return Down Return ctrl+a ctrl+v Return F1
  expect_editor_exit_ok "F1 saved the pasted height"
  [ "$(saved_height)" = 4321 ] || fail "the paste gave a row height of '$(saved_height)', not 4321"

  # wl-copy still serves 4321: cleared, so only the editor's copy can give it to wl-paste.
  env -u DISPLAY wl-copy --clear
  clipboard_empty() { ! env -u DISPLAY wl-paste --no-newline >/dev/null 2>&1; }
  wait_until "wl-copy's text is gone" clipboard_empty
  start_editor
  note "the height copied with Ctrl+C, for wl-paste"
  # shellcheck disable=SC2086
  xdotool key $to_height Down Return ctrl+a ctrl+c
  copied() { [ "$(env -u DISPLAY wl-paste --no-newline)" = 4321 ]; }
  wait_until "wl-paste reads the editor's 4321" copied
  note "9 held for a second and a half: Wayland sends one press, the editor repeats it"
  xdotool key ctrl+a keydown 9
  sleep 1.5
  xdotool keyup 9 key Return F1
  expect_editor_exit_ok "F1 saved the repeated height"
  local height
  height=$(saved_height)
  [[ $height =~ ^9{5,}$ || $height = 2147483647 ]] ||
    fail "a held 9 gave a row height of '$height': no repeats"
}

case $scenario in
  place-and-start) scenario_place_and_start ;;
  escape-and-focus) scenario_escape_and_focus ;;
  editor) scenario_editor ;;
  *) fail "unknown scenario '$scenario'" ;;
esac
echo "PASS ($scenario)"
