#!/usr/bin/env bash
# End to end: desktop entries with hard quoting go through TavrelEntries into settings.ini, and
# the launcher, started on that file, starts each program with exactly the arguments that a
# desktop's own launcher (GLib's, through `gio launch`) gives it.
# Usage: entries_e2e.sh <path of TavrelPrj> <path of TavrelEntries>
set -euo pipefail

readonly launcher_program=$1
readonly entries_program=$2
readonly scenario=quoting
readonly screen_width=480
readonly screen_height=640
readonly row_height=$((screen_height / 6))
readonly menu_inset=3
readonly wait_seconds=10

# shellcheck source=tests/e2e/e2e_support.sh
source "$(dirname "$0")/e2e_support.sh"
# shellcheck source=tests/e2e/launcher_support.sh
source "$(dirname "$0")/launcher_support.sh"

require_tools xdotool xwininfo gio
make_work_folder tavrel-entries-e2e
start_virtual_screen "$screen_width" "$screen_height"

# A probe that records its arguments, each ended by a zero byte, in $PROBE_FILE.
mkdir -p "$work/my programs"
printf '#!/bin/sh\nprintf "%%s\\0" "$@" >"$PROBE_FILE.tmp" && mv "$PROBE_FILE.tmp" "$PROBE_FILE"\n' \
  >"$work/my programs/probe"
chmod +x "$work/my programs/probe"
ln -s "$work/my programs/probe" "$work/probe"

export XDG_DATA_HOME="$work/data" XDG_DATA_DIRS="$work/no-system-data" LC_ALL=C
applications="$XDG_DATA_HOME/applications"
mkdir -p "$applications/sub"
# Sorted by title as the rows will be. Each Exec is written as the file holds it: the key
# file's own escapes (\\ for a backslash) come before the Exec quoting rules.
entry() {
  printf '[Desktop Entry]\nType=Application\nName=%s\nIcon=my icon\nExec=%s\n' "$2" "$3" \
    >"$applications/$1"
}
# shellcheck disable=SC2016 # the dollar signs are the entries' own text
entry a.desktop "A quotes" "$work/probe \"say \\\\\"hi\\\\\"\" 'single \"quoted\"' \"\\\\\$HOME and \\\\\`tick\\\\\`\" 100%% %U"
entry b.desktop "B spaced program" "\"$work/my programs/probe\" --title=%c %i --name=\"%c\""
entry c.desktop "C backslashes" "$work/probe \"a\\\\\\\\b\" c\\\\\\\\d\\\\\\\\ \"\" 'x\"y'"
entry sub/d.desktop "D env and URL" "env PROBE_EXTRA=1 $work/probe steam://rungameid/570 --file=%f"
readonly desktop_files=(a.desktop b.desktop c.desktop sub/d.desktop)

folder=$(mktemp -d "$work/folder-XXXXXX")
cp "$launcher_program" "$folder/TavrelPrj"
cp "$entries_program" "$folder/TavrelEntries"
printf '%s\r\n' "[main_settings]" "use_system_colors=true" "use_system_font=true" \
  "use_system_item_height=true" "use_system_menu_pos=true" "use_menu_inertia=false" \
  >"$folder/options.ini"
"$folder/TavrelEntries" --verbose >"$work/entries.log" 2>&1 ||
  fail "TavrelEntries failed: $(cat "$work/entries.log")"
[ "$(grep -c '^\[' "$folder/settings.ini")" -eq ${#desktop_files[@]} ] ||
  fail "settings.ini does not hold ${#desktop_files[@]} rows: $(cat "$work/entries.log")"

for index in "${!desktop_files[@]}"; do
  file=${desktop_files[index]}
  export PROBE_FILE="$work/desktop-$index"
  timeout "$wait_seconds" gio launch "$applications/$file" || fail "gio launch $file failed"
  wait_until "the desktop's launch of $file has run" test -f "$PROBE_FILE"

  export PROBE_FILE="$work/ours-$index"
  start_launcher
  wait_for_launcher_window
  note "holding row $index ($file)"
  xdotool mousemove --sync "$(window_center_x)" "$(row_center_y "$index")" \
    mousedown 1 sleep 1 mouseup 1
  expect_launcher_exit_ok "row $index was held"
  wait_until "row $index's program has run" test -f "$PROBE_FILE"
  cmp -s "$work/desktop-$index" "$PROBE_FILE" ||
    fail "$file: the launcher passed [$(tr '\0' '|' <"$PROBE_FILE")], the desktop" \
      "[$(tr '\0' '|' <"$work/desktop-$index")]"
done
echo "PASS ($scenario)"
