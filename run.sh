#!/usr/bin/env bash
# Builds the launcher and runs it on a demo folder (the program next to a settings.ini of
# programs found on this machine and an options.ini). Without a display it runs under Xvfb and
# saves a screenshot instead.
set -euo pipefail
cd "$(dirname "$0")"
./tools/install-dependencies.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target TavrelPrj
./tools/make-demo-folder.sh build/launcher/TavrelPrj build/demo

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  echo "Starting the launcher: hold a row to start it, drag or flick to scroll, Escape to close."
  exec build/demo/TavrelPrj
fi

echo "No display found: running the launcher on a virtual screen (Xvfb) for a few seconds."
screen=:$((90 + RANDOM % 9))
Xvfb "$screen" -screen 0 480x640x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
launcher=""
# The launcher goes first, so it is not left talking to a vanished screen.
trap '[ -n "$launcher" ] && kill $launcher 2>/dev/null && wait $launcher 2>/dev/null; kill $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$screen build/demo/TavrelPrj &
launcher=$!
sleep 2
DISPLAY=$screen import -window root build/demo/screenshot.png 2>/dev/null ||
  DISPLAY=$screen xwd -root -silent >build/demo/screenshot.xwd
echo "The launcher ran; its picture is in build/demo/screenshot.png."
