#!/usr/bin/env bash
# End-to-end test of the real settings editor on a virtual X screen (Xvfb), driven with xdotool
# as a user would drive it: one scenario per run. The editor and the launcher lie side by side in
# a folder of their own, as a user installs them, and share its options.ini.
# Usage: settings_e2e.sh <path of TavrelSettings> <path of TavrelPrj>
#   <edit-save|cancel|escape|missing-file|failed-save|read-only|paste|copy|close-asks|rotate|
#    landscape-picker|window-manager>
# Exits 77 (skipped) only where no X server can be started at all.
set -euo pipefail

readonly editor_program=$1
readonly launcher_program=$2
readonly scenario=$3
readonly screen_width=480
readonly screen_height=640
readonly wait_seconds=10

# shellcheck source=tests/e2e/e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"

require_tools xdotool xwininfo import convert
[ -x "$editor_program" ] || fail "no settings editor program at $editor_program"
[ -x "$launcher_program" ] || fail "no launcher program at $launcher_program"

make_work_folder tavrel-settings-e2e
# A desktop monitor for the scenario that needs one; a phone's screen for the others.
if [ "$scenario" = landscape-picker ]; then
  start_virtual_screen 1920 1080
else
  start_virtual_screen "$screen_width" "$screen_height"
fi

# --- The folder -----------------------------------------------------------------------------
# Both programs next to each other: each reads and writes its files next to itself.
folder=$(mktemp -d "$work/folder-XXXXXX")
ln "$editor_program" "$folder/TavrelSettings" 2>/dev/null ||
  cp "$editor_program" "$folder/TavrelSettings"
ln "$launcher_program" "$folder/TavrelPrj" 2>/dev/null || cp "$launcher_program" "$folder/TavrelPrj"

# options.ini as a user might have left it: every key, in an order of its own, a comment, and a
# key and a section the programs do not know (a save drops all three). CR LF line ends.
write_known_options() {
  printf '%s\r\n' "; the menu's look" "[main_settings]" "use_system_colors=true" \
    "odd_item.r=250" "odd_item.g=220" "odd_item.b=160" \
    "even_item.r=160" "even_item.g=210" "even_item.b=250" \
    "active_item.r=30" "active_item.g=120" "active_item.b=40" \
    "font.r=120" "font.g=0" "font.b=90" \
    "active_font.r=255" "active_font.g=255" "active_font.b=255" \
    "slider.r=200" "slider.g=40" "slider.b=40" \
    "use_system_font=true" "item_font.name=DejaVu Sans" "item_font.bold=false" \
    "item_font.italic=false" "item_font.size=20" \
    "use_menu_inertia=false" "pos_item_text=center" \
    "use_system_item_height=true" "user_item_height=70" \
    "use_system_menu_pos=true" "user_menu_pos_TL_X=10" "user_menu_pos_TL_Y=20" \
    "user_menu_pos_BR_X=470" "user_menu_pos_BR_Y=620" "unknown_key=kept?" \
    "[other]" "note=not the editor's" >"$folder/options.ini"
}

# Compares options.ini with the lines given, each ended by CR LF.
expect_options_file() {
  local what=$1
  shift
  printf '%s\r\n' "$@" >"$work/expected-options.ini"
  [ -f "$folder/options.ini" ] || fail "$what: there is no options.ini"
  cmp -s "$work/expected-options.ini" "$folder/options.ini" || {
    diff -u <(cat -A "$work/expected-options.ini") <(cat -A "$folder/options.ini") >&2 || true
    fail "$what: options.ini is not as expected (above: expected, then written)"
  }
}

# The known options as a save writes them: every key in the editor's fixed order, without the
# comment and the foreign key and section; each "key=value" given replaces its key's line.
expect_saved_known_options() {
  local what=$1 line change
  shift
  local lines=()
  for line in "[main_settings]" "use_system_colors=true" \
    "odd_item.r=250" "odd_item.g=220" "odd_item.b=160" \
    "even_item.r=160" "even_item.g=210" "even_item.b=250" \
    "active_item.r=30" "active_item.g=120" "active_item.b=40" \
    "font.r=120" "font.g=0" "font.b=90" \
    "active_font.r=255" "active_font.g=255" "active_font.b=255" \
    "slider.r=200" "slider.g=40" "slider.b=40" \
    "use_system_font=true" "item_font.name=DejaVu Sans" "item_font.bold=false" \
    "item_font.italic=false" "item_font.size=20" \
    "use_system_item_height=true" "user_item_height=70" \
    "use_system_menu_pos=true" "user_menu_pos_TL_X=10" "user_menu_pos_TL_Y=20" \
    "user_menu_pos_BR_X=470" "user_menu_pos_BR_Y=620" \
    "pos_item_text=center" "use_menu_inertia=false"; do
    for change in "$@"; do
      [ "${change%%=*}" = "${line%%=*}" ] && line=$change
    done
    lines+=("$line")
  done
  expect_options_file "$what" "${lines[@]}"
}

# --- The editor -----------------------------------------------------------------------------
editor_pid=""
start_editor() {
  rm -f "$folder/first-frame"
  TAVREL_FIRST_FRAME_FILE="$folder/first-frame" setsid "$folder/TavrelSettings" \
    >"$folder/editor.log" 2>&1 &
  editor_pid=$!
  background_pids+=("$editor_pid")
}

editor_running() { process_alive "$editor_pid"; }
editor_ended() { ! editor_running; }

# The editor's windows on the screen named by a caption: its own window is "Tavrel Settings",
# and so are its own boxes (why a save failed, whether to save the edits); the reader's and
# writer's boxes are "Error".
editor_windows_named() {
  xdotool search --all --onlyvisible --pid "$editor_pid" --name "^$1\$" 2>/dev/null || true
}
# The editor's own box: a window named like the editor's, other than the editor's own.
own_box_id() {
  editor_windows_named "Tavrel Settings" | { grep -vx "$window" || true; } | sed -n 1p
}
error_box_id() { editor_windows_named "Error" | sed -n 1p; }
editor_has_window() { [ -n "$(editor_windows_named "Tavrel Settings")" ]; }
error_box_shown() { [ -n "$(error_box_id)" ]; }
own_box_shown() { [ -n "$(own_box_id)" ]; }
window_shown() { xwininfo -id "$1" 2>/dev/null | grep -q "Map State: IsViewable"; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# Waits until the editor's window is mapped, has shown its first frame and has the keys; sets
# window and its geometry (window_x, window_y, window_width, window_height).
window=""
wait_for_editor_window() {
  wait_until "the editor's window is mapped" editor_has_window
  wait_until "the editor has presented its first frame" test -s "$folder/first-frame"
  window=$(editor_windows_named "Tavrel Settings" | sed -n 1p)
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  window_x=$X window_y=$Y window_width=$WIDTH window_height=$HEIGHT
  wait_until "the editor has the keyboard focus" has_focus "$window"
}

# Waits for the editor to end; fails unless it ended with status 0.
expect_editor_exit_ok() {
  local why=$1 status=0
  wait_until "the editor has ended ($why)" editor_ended
  wait "$editor_pid" || status=$?
  if [ "$status" -ne 0 ]; then
    cat "$folder/editor.log" >&2
    fail "the editor ended with status $status ($why)"
  fi
}

# Answers a message box with Enter once it has the keys, as a user at the keyboard would.
answer_box_with_enter() {
  local box=$1 what=$2
  wait_until "the $what box has the keyboard focus" has_focus "$box"
  xdotool key Return
  box_gone() { ! window_shown "$box"; }
  wait_until "the $what box is closed" box_gone
}

# Answers the editor's question "Сохранить изменения?" from the keyboard once it has the keys:
# да (the marked button, Enter), нет (one to the right) or отмена (Escape).
answer_question() {
  local answer=$1 box
  wait_until "the editor asks whether to save its edits" own_box_shown
  box=$(own_box_id)
  wait_until "the question has the keyboard focus" has_focus "$box"
  case $answer in
    да) xdotool key Return ;;
    нет) xdotool key Right Return ;;
    отмена) xdotool key Escape ;;
  esac
  question_gone() { ! window_shown "$box"; }
  wait_until "the question is answered ($answer)" question_gone
}

# The column of the editor window's pixels at x, one rrggbb a line from the top.
window_column() {
  import_window "$window" -crop "1x${window_height}+$1+0" -depth 8 txt:- |
    awk 'NR > 1 {print tolower(substr($3, 2, 6))}'
}
# The first y at which two columns differ.
first_difference() {
  paste -d ' ' <(printf '%s\n' "$1") <(printf '%s\n' "$2") |
    awk '$1 != $2 && first == "" {first = NR - 1} END {print first == "" ? -1 : first}'
}

# The tree's rows, measured as the user sees them: the highlight that Down puts on the first row,
# then the one that a second Down puts on the second row. Leaves the second row ("системные
# цвета") selected; sets row_top (the first row's top) and row_height, in window pixels.
row_top=""
row_height=""
select_second_row_measuring() {
  local x=$((window_width * 3 / 4)) nothing first second
  nothing=$(window_column "$x")
  xdotool key Down
  first_highlighted() { first=$(window_column "$x") && [ "$first" != "$nothing" ]; }
  wait_until "Down highlights the first row" first_highlighted
  row_top=$(first_difference "$nothing" "$first")
  xdotool key Down
  second_highlighted() {
    second=$(window_column "$x") && [ "$(first_difference "$nothing" "$second")" -gt "$row_top" ]
  }
  wait_until "a second Down highlights the second row" second_highlighted
  row_height=$(($(first_difference "$nothing" "$second") - row_top))
  [ "$row_height" -ge 16 ] && [ "$row_height" -le $((window_height / 8)) ] ||
    fail "the rows measure $row_height pixels high, from y = $row_top"
  note "the tree's rows start at y = $row_top, each $row_height pixels high"
}
row_center_y() { echo $((window_y + row_top + row_height * $1 + row_height / 2)); }

window_checksum() { import_window "$window" rgb:- | md5sum; }
# The window's picture stays the same for a while: the editor has handled what it was sent.
window_settled() {
  local first
  first=$(window_checksum)
  sleep 0.25
  [ "$(window_checksum)" = "$first" ]
}

# Taps a point of the screen: down and up at once. xdotool's --sync waits for a move, which a
# pointer already at the point never makes (a second tap on the same button).
tap() {
  if [ "$(xdotool getmouselocation | grep -oE 'x:[0-9]+ y:[0-9]+')" = "x:$1 y:$2" ]; then
    xdotool click 1
  else
    xdotool mousemove --sync "$1" "$2" click 1
  fi
}
# The menu bar across the bottom of the window: "сохранить" on the left, "отменить" on the right.
tap_menu_bar() {
  local x=$((window_x + window_width / 4))
  [ "$1" = right ] && x=$((window_x + window_width * 3 / 4))
  tap "$x" $((window_y + window_height - 10))
}

# Switches the selected "да"/"нет" row, or moves a list one choice on: Enter opens the list, Down
# takes the next choice, Enter ends the edit.
next_choice() { xdotool key Return Down Return; }
# Replaces the text of the box that has the focus.
retype() { xdotool key ctrl+a type "$1"; }

# The edits of the cancel and escape scenarios; the last one is left open, typed but not ended.
make_some_edits() {
  select_second_row_measuring
  next_choice # "системные цвета": "нет"
  # The colour row below it, tapped on its value: the picker opens; its red box gets 7.
  tap $((window_x + window_width * 3 / 4)) "$(row_center_y 2)"
  xdotool key Down Down Down
  retype 7
  xdotool key Return Return
  # Down to "системная высота элемента", "нет", and a height typed into its box.
  xdotool key Down Down Down Down Down Down Down Down
  next_choice
  xdotool key Down Return
  retype 33
}

# --- Scenarios ------------------------------------------------------------------------------
scenario_edit_save() {
  write_known_options
  start_editor
  wait_for_editor_window
  select_second_row_measuring
  note "switching the system colours off"
  next_choice
  note "tapping the odd rows' colour: red 40, green 90 and blue 456 (which keeps 200) typed"
  tap $((window_x + window_width * 3 / 4)) "$(row_center_y 2)"
  # The picker opens on its red slider; Down thrice reaches the red box.
  xdotool key Down Down Down
  retype 40
  xdotool key Down
  retype 90
  xdotool key Down
  retype 456
  # Enter hands the keys back to the tree; a second Enter ends the edit with the colour.
  xdotool key Return Return
  note "switching the system font off; the font 24 pixels and bold"
  xdotool key Down Down Down Down Down Down
  next_choice
  # The picker opens on its list of families; Down reaches the size box, then Bold.
  xdotool key Down Return Down
  retype 24
  xdotool key Down space Return
  note "switching the system row height off; rows of 60 pixels"
  xdotool key Down
  next_choice
  xdotool key Down Return
  retype 60
  xdotool key Return
  note "the text on the left, saved with F1 while its list is still open"
  xdotool key Down Down Down Down Down Down Return Down F1
  expect_editor_exit_ok "F1 saved"
  expect_saved_known_options "after the save" "use_system_colors=false" \
    "odd_item.r=40" "odd_item.g=90" "odd_item.b=200" \
    "use_system_font=false" "item_font.bold=true" "item_font.size=24" \
    "use_system_item_height=false" "user_item_height=60" "pos_item_text=left"

  note "starting the launcher from the same folder"
  local n
  for ((n = 1; n <= 12; n++)); do printf '[Entry %d]\r\nExecPath=/bin/true\r\n' "$n"; done \
    >"$folder/settings.ini"
  rm -f "$folder/first-frame"
  TAVREL_FIRST_FRAME_FILE="$folder/first-frame" setsid "$folder/TavrelPrj" \
    >"$folder/launcher.log" 2>&1 &
  local launcher_pid=$!
  background_pids+=("$launcher_pid")
  launcher_window() {
    window=$(xdotool search --onlyvisible --pid "$launcher_pid" 2>/dev/null | sed -n 1p) &&
      [ -n "$window" ]
  }
  wait_until "the launcher's window is mapped" launcher_window
  wait_until "the launcher has presented its first frame" test -s "$folder/first-frame"
  local WIDTH
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^WIDTH=')"
  # The menu sits 3 pixels inside the window, its slider (a 48th of the screen) on the right.
  local inset=3 rows=60 odd=285ac8 even=a0d2fa active=1e7828 outline=c8c8c8
  local menu_width=$((WIDTH - 2 * inset))
  local right=$((inset + menu_width - screen_width / 48 - 20)) # clear of the titles
  expect_pixel "the highlighted first row" "$right" $((inset + rows / 2)) "$active"
  expect_pixel "the second row, in the new odd colour" "$right" $((inset + rows + rows / 2)) "$odd"
  expect_pixel "the third row" "$right" $((inset + 2 * rows + rows / 2)) "$even"
  expect_pixel "the second row's outline" "$right" $((inset + rows + 1)) "$outline"
  expect_pixel "the third row's outline" "$right" $((inset + 2 * rows + 1)) "$outline"
  expect_pixel "the fourth row" "$right" $((inset + 3 * rows + rows / 2)) "$odd"
  # The titles on the left: a row's ink (neither its colour nor its outline) in its left half.
  local ink
  ink=$(ink_columns $((inset + 4)) $((inset + rows + 4)) $((menu_width - 40)) $((rows - 8)) "$odd" "$outline")
  [ "${ink#* }" -gt 0 ] || fail "the second row shows no title"
  [ "${ink#* }" -lt $((menu_width / 2)) ] ||
    fail "the second row's title reaches x = ${ink#* } of a $menu_width-pixel row: not on the left"
  launcher_ended() { ! process_alive "$launcher_pid"; }
  xdotool key Escape
  wait_until "the launcher has ended (Escape)" launcher_ended
}

scenario_cancel() {
  write_known_options
  cp "$folder/options.ini" "$work/options-before.ini"
  local way
  for way in tap F2; do
    start_editor
    wait_for_editor_window
    make_some_edits
    if [ "$way" = tap ]; then
      note "tapping \"отменить\" on the right half of the menu bar"
      tap_menu_bar right
    else
      note "pressing F2"
      xdotool key F2
    fi
    expect_editor_exit_ok "\"отменить\" by $way"
    cmp -s "$work/options-before.ini" "$folder/options.ini" ||
      fail "options.ini changed although \"отменить\" ($way) closed the editor"
  done
}

scenario_escape() {
  write_known_options
  cp "$folder/options.ini" "$work/options-before.ini"
  start_editor
  wait_for_editor_window
  make_some_edits
  xdotool key Return
  # The text position's list, dropped open with F4: the first Escape closes only the list.
  local before closed
  before=$(window_checksum)
  xdotool key Down Down Down Down Down Down Return
  moved_on() { [ "$(window_checksum)" != "$before" ] && window_settled; }
  wait_until "the editor has moved on to the text position" moved_on
  closed=$(window_checksum)
  xdotool key F4
  list_dropped() { [ "$(window_checksum)" != "$closed" ]; }
  wait_until "F4 drops the list open" list_dropped
  note "Escape with the list open"
  xdotool key Escape
  list_closed() { ! editor_running || [ "$(window_checksum)" = "$closed" ]; }
  wait_until "Escape closes the list" list_closed
  sleep 0.3 # time for a wrongly ended editor to go
  editor_running || fail "Escape on an open list closed the whole editor"
  note "Escape in the closed list ends only its edit"
  xdotool key Escape
  edit_ended() { [ "$(window_checksum)" != "$closed" ] && window_settled; }
  wait_until "Escape ends the list's edit" edit_ended
  own_box_shown && fail "Escape in the list's edit asked to close the editor"
  note "Escape on the tree, with edits: the editor asks; \"нет\" closes it without saving"
  xdotool key Escape
  answer_question нет
  expect_editor_exit_ok "Escape, then нет"
  cmp -s "$work/options-before.ini" "$folder/options.ini" ||
    fail "options.ini changed although the edits were not to be saved"
}

scenario_missing_file() {
  start_editor # no options.ini in the folder
  wait_until "a message box titled Error is shown" error_box_shown
  editor_has_window && fail "the editor's window showed before the message box was answered"
  note "answering the reader's box with Enter"
  answer_box_with_enter "$(error_box_id)" "reader's"
  wait_for_editor_window
  error_box_shown && fail "a second message box was shown"
  note "saving at once with F1"
  xdotool key F1
  expect_editor_exit_ok "F1 saved"
  # Without a file the editor follows the system in everything, and the menu glides.
  expect_options_file "saved without a file to start from" "[main_settings]" \
    "use_system_colors=true" "odd_item.r=0" "odd_item.g=0" "odd_item.b=0" \
    "even_item.r=0" "even_item.g=0" "even_item.b=0" \
    "active_item.r=0" "active_item.g=0" "active_item.b=0" "font.r=0" "font.g=0" "font.b=0" \
    "active_font.r=0" "active_font.g=0" "active_font.b=0" \
    "slider.r=0" "slider.g=0" "slider.b=0" \
    "use_system_font=true" "item_font.name=" "item_font.bold=false" "item_font.italic=false" \
    "item_font.size=0" "use_system_item_height=true" "user_item_height=0" \
    "use_system_menu_pos=true" "user_menu_pos_TL_X=0" "user_menu_pos_TL_Y=0" \
    "user_menu_pos_BR_X=0" "user_menu_pos_BR_Y=0" "pos_item_text=center" "use_menu_inertia=true"
}

scenario_failed_save() {
  write_known_options
  start_editor
  wait_for_editor_window
  select_second_row_measuring
  next_choice # "системные цвета": "нет"
  # Nothing can be written where a directory stands in the file's place.
  rm "$folder/options.ini"
  mkdir "$folder/options.ini"
  note "F1 with a directory in place of options.ini"
  xdotool key F1
  wait_until "a message box titled Error is shown" error_box_shown
  answer_box_with_enter "$(error_box_id)" "writer's"
  wait_until "a box says why the save failed" own_box_shown
  editor_running || fail "the editor ended although nothing was saved"
  window_shown "$window" || fail "the editor's window went away although nothing was saved"
  note "answering the box that says why with its OK button"
  local box
  box=$(own_box_id)
  click_box_button "$box"
  box_gone() { ! window_shown "$box"; }
  wait_until "the box that says why is closed" box_gone
  editor_running || fail "the editor ended once the failure was answered"
  window_shown "$window" || fail "the editor's window went away once the failure was answered"
  wait_until "the editor has the keyboard focus back" has_focus "$window"
  [ -d "$folder/options.ini" ] || fail "the directory in place of options.ini is gone"
  local leftovers
  leftovers=$(find "$folder" -maxdepth 1 -name '.options.ini*')
  [ -z "$leftovers" ] || fail "the failed save left files behind: $leftovers"
  rmdir "$folder/options.ini" || fail "the editor left something in the directory"
  note "F1 again, with the directory gone"
  xdotool key F1
  expect_editor_exit_ok "F1 saved"
  expect_saved_known_options "saved after a failed save" "use_system_colors=false"
}

# options.ini marked read-only (0444 in a folder the user may write): a save is refused with the
# reason and the editor keeps every edit; once the file may be written again, the save goes
# through and the file keeps its permissions.
scenario_read_only() {
  write_known_options
  chmod 0444 "$folder/options.ini"
  cp -p "$folder/options.ini" "$work/options-before.ini"
  start_editor
  wait_for_editor_window
  select_second_row_measuring
  next_choice # "системные цвета": "нет"
  note "F1 with a read-only options.ini"
  xdotool key F1
  wait_until "a message box titled Error is shown" error_box_shown
  answer_box_with_enter "$(error_box_id)" "writer's"
  wait_until "a box says why the save failed" own_box_shown
  answer_box_with_enter "$(own_box_id)" "why"
  editor_running || fail "the editor ended although nothing was saved"
  wait_until "the editor has the keyboard focus back" has_focus "$window"
  cmp -s "$work/options-before.ini" "$folder/options.ini" || fail "the read-only file was replaced"
  [ "$(stat -c %a "$folder/options.ini")" = 444 ] || fail "the read-only file lost its mode"
  note "F1 again, once the file may be written"
  chmod 0640 "$folder/options.ini"
  xdotool key F1
  expect_editor_exit_ok "F1 saved"
  grep -q '^use_system_colors=false' "$folder/options.ini" || fail "the edit was not saved"
  [ "$(stat -c %a "$folder/options.ini")" = 640 ] || fail "the save changed the file's mode"
}

# Another program's 20 megabytes of text pasted into a value: the box takes what fits, however
# large the clipboard (X11 hands a text this large over in chunks).
scenario_paste() {
  require_tools xclip
  write_known_options
  head -c 20000000 /dev/zero | tr '\0' 7 | setsid xclip -selection clipboard -i >/dev/null 2>&1 &
  background_pids+=($!)
  clipboard_served() { [ "$(xclip -o -selection clipboard | wc -c)" -eq 20000000 ]; }
  wait_until "xclip serves 20 megabytes of sevens" clipboard_served
  start_editor
  wait_for_editor_window
  select_second_row_measuring
  note "the user's row height: its box, all selected, and the clipboard pasted with Ctrl+V"
  xdotool key Down Down Down Down Down Down Down Down Down
  next_choice # "системная высота элемента": "нет"
  xdotool key Down Return ctrl+a ctrl+v Return F1
  expect_editor_exit_ok "F1 saved"
  grep -q $'^user_item_height=2147483647\r$' "$folder/options.ini" ||
    fail "the paste did not reach the box: $(grep user_item_height "$folder/options.ini")"
}

# Text copied in the editor reaches another program (xclip) while the editor runs.
scenario_copy() {
  require_tools xclip
  write_known_options
  start_editor
  wait_for_editor_window
  select_second_row_measuring
  note "the user's row height: typed, all selected and copied with Ctrl+C"
  xdotool key Down Down Down Down Down Down Down Down Down
  next_choice # "системная высота элемента": "нет"
  xdotool key Down Return ctrl+a
  xdotool type 4321
  xdotool key ctrl+a ctrl+c
  copied() { [ "$(xclip -o -selection clipboard 2>/dev/null)" = 4321 ]; }
  wait_until "xclip reads what the editor copied" copied
  xdotool key Return F1
  expect_editor_exit_ok "F1 saved"
  grep -q $'^user_item_height=4321\r$' "$folder/options.ini" ||
    fail "the typed value was not saved: $(grep user_item_height "$folder/options.ini")"
}

# The title bar's OK and a window destroyed from outside, with edits made: the editor asks
# first. "отмена" goes back to the editor with every edit; "да" saves them and closes.
scenario_close_asks() {
  write_known_options
  cp "$folder/options.ini" "$work/options-before.ini"
  start_editor
  wait_for_editor_window
  make_some_edits
  note "tapping the title bar's OK (the right end of the caption bar)"
  tap $((window_x + window_width - 12)) $((window_y + 8))
  answer_question отмена
  editor_running || fail "\"отмена\" closed the editor"
  wait_until "the editor has the keyboard focus back" has_focus "$window"
  cmp -s "$work/options-before.ini" "$folder/options.ini" || fail "\"отмена\" wrote options.ini"
  note "another program's window covers part of the editor, then goes"
  require_tools xlogo
  wait_until "the editor's picture settles" window_settled
  local before cover
  before=$(window_checksum)
  xlogo -geometry 200x150+60+120 >/dev/null 2>&1 &
  cover=$!
  covering() { xdotool search --onlyvisible --class xlogo >/dev/null; }
  wait_until "the other window is on screen" covering
  kill "$cover"
  wait "$cover" 2>/dev/null || true
  # The server keeps nothing of what was covered: the editor has to draw it again.
  picture_back() { [ "$(window_checksum)" = "$before" ]; }
  wait_until "the editor's picture is whole again where the other window was" picture_back
  note "tapping the title bar's OK again, and saving"
  tap $((window_x + window_width - 12)) $((window_y + 8))
  answer_question да
  expect_editor_exit_ok "the title bar's OK, then да"
  expect_saved_known_options "saved from the question" "use_system_colors=false" \
    "odd_item.r=7" "use_system_item_height=false" "user_item_height=33"

  note "another client destroys the window of an editor with edits"
  start_editor
  wait_for_editor_window
  select_second_row_measuring
  xdotool key Return Up Return # "системные цвета" back to "да", the choice above "нет"
  xdotool windowclose "$window"
  answer_question да
  expect_editor_exit_ok "the window destroyed, then да"
  grep -q '^use_system_colors=true' "$folder/options.ini" ||
    fail "the edit made before the window was destroyed was not saved"
}

# Under openbox: the editor lies where it asked, unframed, has the keys once mapped; openbox's
# close (Alt+F4) of an editor with edits asks first, and "да" saves them.
scenario_window_manager() {
  write_known_options
  start_window_manager
  start_editor
  wait_for_editor_window
  [ "$window_x,$window_y,$window_width,$window_height" = "0,0,$screen_width,$screen_height" ] ||
    fail "the editor lies at $window_x,$window_y, $window_width x $window_height, not on the screen"
  local frame
  frame=$(xwininfo -id "$window" -frame | awk '/Width:/ {w = $2} /Height:/ {print w "x" $2}')
  [ "$frame" = "${window_width}x$window_height" ] || fail "openbox framed the editor: $frame"
  make_some_edits
  note "closing the editor through openbox (Alt+F4)"
  xdotool key alt+F4
  answer_question да
  expect_editor_exit_ok "openbox's close, then да"
  expect_saved_known_options "saved on openbox's close" "use_system_colors=false" \
    "odd_item.r=7" "use_system_item_height=false" "user_item_height=33"
}

# The editor's window size as the X server has it, "WIDTHxHEIGHT".
editor_window_size() {
  local WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null | grep -E '^(WIDTH|HEIGHT)=')"
  echo "${WIDTH}x${HEIGHT}"
}
# Takes the editor's new geometry once the X server reports the size and the picture has settled.
wait_for_editor_size() {
  local size=$1
  has_size() { [ "$(editor_window_size)" = "$size" ] && window_settled; }
  wait_until "the editor's window is $size" has_size
  local X Y WIDTH HEIGHT
  eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
  window_x=$X window_y=$Y window_width=$WIDTH window_height=$HEIGHT
}

# The window resized by another client, then the screen turned, with a picker open: the editor
# lays itself out again each time, the picker closes keeping its colour, and "сохранить" at the
# new bottom of the window saves every edit.
scenario_rotate() {
  start_nested_screen "$screen_width" "$screen_height"
  write_known_options
  start_editor
  wait_for_editor_window
  select_second_row_measuring
  next_choice # "системные цвета": "нет"
  note "the odd rows' colour picker open, its red box at 9"
  tap $((window_x + window_width * 3 / 4)) "$(row_center_y 2)"
  xdotool key Down Down Down
  retype 9
  note "another client resizes the window to 400x600"
  xdotool windowsize "$window" 400 600
  wait_for_editor_size 400x600
  editor_running || fail "the editor ended when its window was resized"
  note "turning the screen to ${screen_height}x${screen_width}"
  xrandr -s "${screen_height}x${screen_width}" >/dev/null 2>&1 ||
    fail "xrandr could not change the nested screen's size"
  wait_for_editor_size "${screen_height}x${screen_width}"
  note "tapping \"сохранить\" where the menu bar now is"
  tap_menu_bar left
  expect_editor_exit_ok "\"сохранить\" after the turn"
  expect_saved_known_options "saved after the turn" "use_system_colors=false" "odd_item.r=9"
}

# On a desktop monitor the editor is a phone-shaped window in the middle of the screen; a colour
# picker opens two thirds of that window wide, whole inside it.
scenario_landscape_picker() {
  write_known_options
  start_editor
  wait_for_editor_window
  [ "$window_width" -lt 1000 ] || fail "the editor is $window_width pixels wide on a desktop"
  select_second_row_measuring
  next_choice # "системные цвета": "нет"
  xdotool key Down
  window_settled_after() { [ "$(window_checksum)" != "$1" ] && window_settled; }
  wait_until "the odd rows' colour is selected" window_settled
  import_window "$window" "$work/before.png"
  local before
  before=$(window_checksum)
  note "opening the odd rows' colour picker with Enter"
  xdotool key Return
  wait_until "the picker is drawn" window_settled_after "$before"
  import_window "$window" "$work/after.png"
  # What changed is the picker: its place and size in the window.
  local changed width height left top expected=$((2 * (window_width / 3)))
  changed=$(convert "$work/before.png" "$work/after.png" -compose difference -composite \
    -format '%@' info:)
  IFS='x+' read -r width height left top <<<"$changed"
  note "the picker shows at x = $left, $width pixels wide, in a $window_width-pixel window"
  [ "$width" -ge $((expected - 4)) ] && [ "$width" -le "$expected" ] ||
    fail "the picker shows $width pixels wide, not two thirds of the window ($expected)"
  [ "$left" -ge 2 ] && [ $((left + width)) -le "$window_width" ] ||
    fail "the picker is cut off: x = $left to $((left + width)) of $window_width"
  xdotool key Escape F2
  expect_editor_exit_ok "Escape and F2"
}

case $scenario in
  edit-save) scenario_edit_save ;;
  cancel) scenario_cancel ;;
  escape) scenario_escape ;;
  missing-file) scenario_missing_file ;;
  failed-save) scenario_failed_save ;;
  close-asks) scenario_close_asks ;;
  rotate) scenario_rotate ;;
  read-only) scenario_read_only ;;
  paste) scenario_paste ;;
  copy) scenario_copy ;;
  landscape-picker) scenario_landscape_picker ;;
  window-manager) scenario_window_manager ;;
  *) fail "unknown scenario '$scenario'" ;;
esac
echo "PASS ($scenario)"
