#!/usr/bin/env bash
# Makes a demo installation in a folder: the launcher program next to a settings.ini that lists
# programs, folders, a document and a web page found on this machine, and an options.ini unless
# the folder has one.
# Usage: tools/make-demo-folder.sh <path of TavrelPrj> <folder>
set -euo pipefail
program=$1
folder=$2
mkdir -p "$folder"
cp "$program" "$folder/TavrelPrj"

entries=()
add() { entries+=("$1|$2|${3:-}"); }
# Programs people use, when installed; each with its usual title.
for candidate in \
  "Terminal|x-terminal-emulator" "Terminal|gnome-terminal" "Terminal|xterm" \
  "Files|nautilus" "Files|thunar" "Web browser|firefox" "Web browser|chromium" \
  "Text editor|gedit" "Text editor|mousepad" "Vim|vim" "Calculator|gnome-calculator" \
  "Image editor|gimp" "Office|libreoffice" "Python|python3" "Git|git" "Shell|bash" \
  "Top|top" "Perl|perl" "CMake|cmake" "GNU Debugger|gdb" "Valgrind|valgrind"; do
  title=${candidate%%|*}
  name=${candidate#*|}
  path=$(command -v "$name" 2>/dev/null || true)
  [ -n "$path" ] || continue
  # One entry per title: the first program found wins.
  if printf '%s\n' "${entries[@]:-}" | grep -q "^$title|"; then continue; fi
  add "$title" "$path"
done
add "Home folder" "$HOME"
add "Documentation" "/usr/share/doc"
[ -f /etc/os-release ] && add "About this system" "/etc/os-release"
add "Debian web site" "https://www.debian.org"
add "Launcher help" "$(cd "$(dirname "$0")/.." && pwd)/README.md"

# CR LF line ends: the launcher's INI reader counts nothing else as a line end.
{
  for entry in "${entries[@]}"; do
    IFS='|' read -r title path arguments <<<"$entry"
    printf '[%s]\r\nExecPath=%s\r\n' "$title" "$path"
    [ -n "$arguments" ] && printf 'Args=%s\r\n' "$arguments"
  done
} >"$folder/settings.ini"

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
echo "Demo folder: $folder (${#entries[@]} entries)"
