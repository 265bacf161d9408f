#!/usr/bin/env bash
# Installs the build into a staging folder (DESTDIR) as a packager would, and checks what lands
# there: the programs together in lib/tavrel, relative command links in bin, valid desktop entries,
# the icons (the PNGs being the program's own drawing, the SVG the same design), manual pages that
# man finds and formats without warnings, a first options.ini that a reinstall keeps, and the
# installed commands finding their files in lib/tavrel when started through bin.
# Usage: install_test.sh <cmake> <build folder>
# Exits 77 (skipped) only where no X server can be started at all.
set -euo pipefail

readonly cmake_program=$1
readonly build_folder=$2
readonly scenario=install
readonly wait_seconds=10

# shellcheck source=tests/e2e/e2e_support.sh
source "$(dirname "$0")/../e2e/e2e_support.sh"
# shellcheck source=tests/e2e/launcher_support.sh
source "$(dirname "$0")/../e2e/launcher_support.sh"

require_tools desktop-file-validate man rsvg-convert identify compare convert xdotool import

make_work_folder tavrel-install
readonly stage=$work/stage
readonly prefix=$stage/usr/local
DESTDIR=$stage "$cmake_program" --install "$build_folder" --prefix /usr/local \
  >"$work/install.log" 2>&1 || fail "cmake --install failed: $(cat "$work/install.log")"

# --- Programs and commands ------------------------------------------------------------------
readonly programs=$prefix/lib/tavrel
for pair in tavrel:TavrelPrj tavrel-settings:TavrelSettings tavrel-entries:TavrelEntries; do
  command=${pair%%:*} program=${pair#*:}
  [[ -f $programs/$program && ! -L $programs/$program && -x $programs/$program ]] ||
    fail "$programs/$program is not an executable file"
  [ -L "$prefix/bin/$command" ] || fail "bin/$command is not a symbolic link"
  target=$(readlink "$prefix/bin/$command")
  [ "$target" = "../lib/tavrel/$program" ] ||
    fail "bin/$command points to '$target', not to ../lib/tavrel/$program"
  [ "$prefix/bin/$command" -ef "$programs/$program" ] || fail "bin/$command does not resolve"
done

# --- Desktop entries --------------------------------------------------------------------------
for id in tavrel tavrel-settings; do
  entry=$prefix/share/applications/$id.desktop
  [ -f "$entry" ] || fail "no desktop entry $id.desktop"
  report=$(desktop-file-validate "$entry" 2>&1) || fail "$id.desktop is invalid: $report"
  [ -z "$report" ] || fail "desktop-file-validate warns about $id.desktop: $report"
  # What the entry starts and shows must be installed beside it.
  exec_command=$(sed -n 's/^Exec=//p' "$entry")
  [ -x "$prefix/bin/$exec_command" ] || fail "$id.desktop runs '$exec_command', which bin lacks"
  grep -qx 'Icon=tavrel' "$entry" || fail "$id.desktop does not show the tavrel icon"
done

# --- Icons ------------------------------------------------------------------------------------
readonly icons=$prefix/share/icons/hicolor
for size in 16 24 32 48 64 128 256; do
  icon=$icons/${size}x$size/apps/tavrel.png
  [ -f "$icon" ] || fail "no ${size}x$size icon"
  [ "$(identify -format '%w %h %[channels]' "$icon")" = "$size $size srgba" ] ||
    fail "the ${size}x$size icon is $(identify -format '%w x %h, %[channels]' "$icon")"
  # The drawing's corner is clear and the middle of its highlighted row is solid amber.
  corner=$(convert "$icon" -crop 1x1+0+0 -depth 8 txt:- | awk 'NR == 2 {print tolower($3)}')
  [ "$corner" = "#00000000" ] || fail "the ${size}x$size icon's corner is $corner, not clear"
  middle=$(convert "$icon" -crop "1x1+$((size / 2))+$((size / 2))" -depth 8 txt:- |
    awk 'NR == 2 {print tolower($3)}')
  [ "$middle" = "#ffc83cff" ] || fail "the ${size}x$size icon's highlighted row is $middle"
done
readonly svg=$icons/scalable/apps/tavrel.svg
[ -f "$svg" ] || fail "no scalable icon"
# The hand-made SVG and the drawn PNG, rendered at the same size, differ only in antialiasing.
rsvg-convert -w 256 -h 256 -o "$work/svg.png" "$svg" || fail "rsvg-convert cannot render the SVG"
difference=$(compare -metric RMSE "$work/svg.png" "$icons/256x256/apps/tavrel.png" null: 2>&1 |
  sed 's/.*(\(.*\))/\1/') || true
awk -v d="$difference" 'BEGIN {exit !(d + 0 < 0.01)}' ||
  fail "the SVG icon differs from the drawn one (RMSE $difference)"

# --- Manual pages -----------------------------------------------------------------------------
for command in tavrel tavrel-settings tavrel-entries; do
  page=$(man -M "$prefix/share/man" -w "$command" 2>/dev/null) ||
    fail "man does not find $command's page under share/man"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "$command's manual page has warnings: $warnings"
done

# --- The installed launcher, started through bin, reads lib/tavrel ---------------------------
grep -qa $'^use_system_colors=true\r$' "$programs/options.ini" ||
  fail "the install brought no options.ini with the system's look"
start_virtual_screen 480 640
# A rectangle and colours of the user's own, rows of 60 pixels, one row, titles on the left.
printf '%s\r\n' "[main_settings]" "use_system_colors=false" \
  "odd_item.r=250" "odd_item.g=220" "odd_item.b=160" \
  "even_item.r=160" "even_item.g=210" "even_item.b=250" \
  "active_item.r=200" "active_item.g=30" "active_item.b=150" \
  "font.r=0" "font.g=0" "font.b=0" "active_font.r=255" "active_font.g=255" "active_font.b=255" \
  "slider.r=0" "slider.g=0" "slider.b=0" "use_system_font=true" \
  "use_system_item_height=false" "user_item_height=60" \
  "use_system_menu_pos=false" "user_menu_pos_TL_X=30" "user_menu_pos_TL_Y=50" \
  "user_menu_pos_BR_X=330" "user_menu_pos_BR_Y=450" "pos_item_text=left" \
  "use_menu_inertia=false" >"$programs/options.ini"
printf '[Nothing]\r\nExecPath=/bin/true\r\n' >"$programs/settings.ini"
# A reinstall keeps the user's look.
cp "$programs/options.ini" "$work/options.ini"
DESTDIR=$stage "$cmake_program" --install "$build_folder" --prefix /usr/local \
  >"$work/install.log" 2>&1 || fail "cmake --install failed again: $(cat "$work/install.log")"
cmp -s "$programs/options.ini" "$work/options.ini" ||
  fail "a reinstall replaced the user's options.ini"

TAVREL_FIRST_FRAME_FILE="$work/first-frame" setsid "$prefix/bin/tavrel" \
  >"$work/launcher.log" 2>&1 &
launcher_pid=$!
background_pids+=("$launcher_pid")
# launcher_window_id (launcher_support.sh) takes the window without a title: a missing file
# would show a box first.
wait_until "the installed launcher's window is mapped" launcher_has_window
wait_until "the launcher has presented its first frame" test -s "$work/first-frame"
window=$(launcher_window_id)
eval "$(xdotool getwindowgeometry --shell "$window" | grep -E '^(X|Y|WIDTH|HEIGHT)=')"
[ "$X,$Y,$WIDTH,$HEIGHT" = "30,50,300,400" ] ||
  fail "the window lies at $X,$Y, $WIDTH x $HEIGHT, not at options.ini's 30,50, 300 x 400"
# Right in the one (highlighted) row, clear of its title: 3 pixels of frame, a slider of 10.
expect_pixel "the highlighted row of settings.ini" $((300 - 3 - 10 - 20)) $((3 + 30)) c81e96
note "the launcher in bin found its files in lib/tavrel"

# SDL, when asked for, comes from the installed module beside the programs.
kill "$launcher_pid" 2>/dev/null || true
wait "$launcher_pid" 2>/dev/null || true
rm -f "$work/first-frame"
SDL_VIDEODRIVER=x11 TAVREL_FIRST_FRAME_FILE="$work/first-frame" setsid "$prefix/bin/tavrel" \
  >"$work/launcher.log" 2>&1 &
launcher_pid=$!
background_pids+=("$launcher_pid")
wait_until "the launcher on SDL has presented its first frame" test -s "$work/first-frame"
grep -q "$programs/libtavrel-sdl.so" "/proc/$launcher_pid/maps" ||
  fail "the launcher did not load lib/tavrel/libtavrel-sdl.so: $(cat "$work/launcher.log")"
kill "$launcher_pid" 2>/dev/null || true
note "the launcher fell back on SDL from lib/tavrel"

# --- The installed tavrel-entries writes lib/tavrel/settings.ini ------------------------------
# Its only applications are the two just installed; it is found through bin, as a user runs it.
mkdir -p "$work/data-home"
if ! PATH=$prefix/bin:$PATH XDG_DATA_HOME=$work/data-home XDG_DATA_DIRS=$prefix/share \
  LC_ALL=C tavrel-entries >"$work/entries.log" 2>&1; then
  fail "tavrel-entries failed: $(cat "$work/entries.log")"
fi
[ ! -e "$prefix/bin/settings.ini" ] || fail "tavrel-entries wrote settings.ini into bin"
sections=$(grep -a '^\[' "$programs/settings.ini" | tr -d '\r' | paste -sd '|')
[ "$sections" = "[Tavrel]|[Tavrel Settings]" ] ||
  fail "lib/tavrel/settings.ini holds the rows '$sections', not the two installed applications"
echo "PASS ($scenario)"
