#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the demo need, if any is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  libfreetype-dev libfontconfig-dev libpng-dev librsvg2-dev libsdl2-dev libx11-dev libwayland-dev
  libgtest-dev libbenchmark-dev
  # The native X11 backend: xcb with shared memory, XKB keymaps through xkbcommon, XInput 2,
  # RandR monitors, the cursor theme.
  libxcb1-dev libxcb-shm0-dev libxcb-xkb-dev libxcb-xinput-dev libxcb-cursor-dev libxcb-randr0-dev
  libxkbcommon-x11-dev
  fonts-dejavu-core hicolor-icon-theme adwaita-icon-theme gtk-update-icon-cache
  xvfb xserver-xephyr xdotool x11-xserver-utils imagemagick x11-utils x11-apps
  # Another program's clipboard, for the paste scenario.
  xclip
  # A window manager for the X11 backend's end-to-end scenario.
  openbox
  # The INI fuzzer that test.sh runs: clang with libFuzzer's runtime.
  clang libclang-rt-14-dev
  # xdg-open, which opens the demo's folders, documents and web pages.
  xdg-utils
  # A Wayland compositor for the end-to-end tests, and the window decorations a desktop's SDL
  # draws there (the launcher must show without them).
  weston libdecor-0-plugin-1-cairo
  # The native Wayland backend: protocol files, the code generator, keymaps and cursors.
  wayland-protocols libwayland-bin libxkbcommon-dev xkb-data
  # The phone compositor and another Wayland client's clipboard, for its end-to-end scenarios.
  phoc wl-clipboard
  # Peers the start-up benchmarks measure beside ours, and the X11 one's damage watcher.
  fuzzel tofi rofi libxcb-damage0-dev
  # A desktop's own launcher (gio launch): what the entries test compares our arguments with.
  libglib2.0-bin
  # The install test: it validates the desktop entries, renders the SVG icon and formats the
  # manual pages.
  desktop-file-utils librsvg2-bin man-db
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
run_as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }
export DEBIAN_FRONTEND=noninteractive
# A fresh machine may have no package lists yet; fetch them only when installing fails.
if ! run_as_root apt-get install -y --no-install-recommends "${missing[@]}"; then
  run_as_root apt-get update
  run_as_root apt-get install -y --no-install-recommends "${missing[@]}"
fi
