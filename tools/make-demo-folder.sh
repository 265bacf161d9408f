#!/usr/bin/env bash
# Makes a demo installation in a folder: the launcher program next to a settings.ini with a row
# for each application installed here (written by TavrelEntries, beside it) after a few
# hand-written rows for a folder, a document and a web page, and an options.ini unless the
# folder has one.
# Usage: tools/make-demo-folder.sh <path of TavrelPrj> <path of TavrelEntries> <folder>
set -euo pipefail
program=$1
entries_program=$2
folder=$3
mkdir -p "$folder"
cp "$program" "$folder/TavrelPrj"
cp "$entries_program" "$folder/TavrelEntries"

# The hand-written rows, with the CR LF line ends the launcher's INI reader needs; TavrelEntries
# --merge keeps them as they are and adds the applications after them.
rows=("Home folder|$HOME" "Documentation|/usr/share/doc" "Debian web site|https://www.debian.org"
  "Launcher help|$(cd "$(dirname "$0")/.." && pwd)/README.md")
[ -f /etc/os-release ] && rows+=("About this system|/etc/os-release")
for row in "${rows[@]}"; do
  printf '[%s]\r\nExecPath=%s\r\n' "${row%%|*}" "${row#*|}"
done >"$folder/settings.ini"
"$folder/TavrelEntries" --merge "$folder"

# Written once: the settings editor may have changed it since. The colours and the row height
# are ready for when the editor turns the system's off.
[ -e "$folder/options.ini" ] || printf '%s\r\n' \
  "[main_settings]" \
  "use_system_colors=true" \
  "odd_item.r=255" "odd_item.g=248" "odd_item.b=230" \
  "even_item.r=230" "even_item.g=240" "even_item.b=255" \
  "active_item.r=40" "active_item.g=110" "active_item.b=200" \
  "font.r=30" "font.g=30" "font.b=30" \
  "active_font.r=255" "active_font.g=255" "active_font.b=255" \
  "slider.r=90" "slider.g=90" "slider.b=90" \
  "use_system_font=false" \
  "item_font.name=DejaVu Sans" \
  "item_font.bold=true" \
  "item_font.italic=false" \
  "item_font.size=-20" \
  "use_system_item_height=true" \
  "user_item_height=96" \
  "use_system_menu_pos=true" \
  "pos_item_text=left" \
  "use_menu_inertia=true" >"$folder/options.ini"
echo "Demo folder: $folder"
