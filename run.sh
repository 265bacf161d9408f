#!/usr/bin/env bash
# Builds the launcher and runs it on a demo folder (the program next to a settings.ini of the
# applications installed on this machine, written by TavrelEntries, and an options.ini). `./run.sh settings` builds the settings
# editor too and runs it on the same folder, where it edits the options.ini that the launcher
# reads at its next start. Without a display either runs under Xvfb and saves a screenshot
# instead.
set -euo pipefail
cd "$(dirname "$0")"
case ${1:-launcher} in
  launcher) program=TavrelPrj name="the launcher" screenshot=screenshot ;;
  settings) program=TavrelSettings name="the settings editor" screenshot=settings-screenshot ;;
  *)
    echo "Usage: $0 [settings]" >&2
    exit 2
    ;;
esac
./tools/install-dependencies.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --target TavrelPrj TavrelEntries "$program"
./tools/make-demo-folder.sh build/launcher/TavrelPrj build/entries/TavrelEntries build/demo
# The editor next to the launcher: both use the options.ini beside their own program file.
[ "$program" = TavrelSettings ] && cp build/settings/TavrelSettings build/demo/TavrelSettings

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  if [ "$program" = TavrelPrj ]; then
    echo "Starting the launcher: hold a row to start it, drag or flick to scroll, Escape to close."
  else
    echo "Starting the settings editor: tap a value to change it, F1 saves, F2 or Escape closes" \
      "without saving. Then ./run.sh shows the launcher with the new look."
  fi
  exec "build/demo/$program"
fi

echo "No display found: running $name on a virtual screen (Xvfb) for a few seconds."
screen=:$((90 + RANDOM % 9))
Xvfb "$screen" -screen 0 480x640x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
running=""
# The program goes first, so it is not left talking to a vanished screen.
trap '[ -n "$running" ] && kill $running 2>/dev/null && wait $running 2>/dev/null; kill $xvfb 2>/dev/null || true' EXIT
sleep 1
DISPLAY=$screen "build/demo/$program" &
running=$!
sleep 2
DISPLAY=$screen import -window root "build/demo/$screenshot.png" 2>/dev/null ||
  DISPLAY=$screen xwd -root -silent >"build/demo/$screenshot.xwd"
echo "${name^} ran; its picture is in build/demo/$screenshot.png."
