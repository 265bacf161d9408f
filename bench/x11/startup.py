#!/usr/bin/env python3
"""Start-up to a visible window on X11 (Xvfb, 480x640, no window manager): from exec to the
first picture in the first window the program maps (the first damage report after which the
window shows more than one colour; see first_picture_watch.cpp), for the launcher on the native
backend, the launcher on SDL, the settings editor, rofi -dmenu and a bare xcb window of
the launcher's size, interleaved, 20 entries. Prints medians and ratios.

Usage: startup.py <build folder> [runs]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

BUILD = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else "build"
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 20
WATCH = os.path.join(BUILD, "bench", "x11_first_picture_watch")
ENTRIES = 20


def start_xvfb():
    read, write = os.pipe()
    # -noreset, as in a desktop session: otherwise the server resets (and runs xkbcomp) each
    # time a run's last client leaves, while the next program starts.
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-screen", "0", "480x640x24",
                               "-nolisten", "tcp", "-noreset"], pass_fds=(write,),
                              stderr=subprocess.DEVNULL)
    os.close(write)
    number = b""
    while not number.endswith(b"\n"):
        number += os.read(read, 16)
    os.close(read)
    return server, ":" + number.decode().strip()


def main():
    work = tempfile.mkdtemp(prefix="tavrel-x11-startup-")
    server, display = start_xvfb()
    try:
        folder = os.path.join(work, "folder")
        os.makedirs(folder)
        for name, target in (("TavrelPrj", "launcher/TavrelPrj"),
                             ("TavrelSettings", "settings/TavrelSettings")):
            shutil.copy(os.path.join(BUILD, target), os.path.join(folder, name))
        with open(os.path.join(folder, "settings.ini"), "wb") as file:
            for n in range(ENTRIES):
                file.write(f"[Entry {n + 1}]\r\nExecPath=/bin/true\r\n".encode())
        with open(os.path.join(folder, "options.ini"), "wb") as file:
            file.write(b"[main_settings]\r\nuse_system_colors=true\r\nuse_system_font=true\r\n"
                       b"use_system_item_height=true\r\nuse_system_menu_pos=true\r\n")
        with open(os.path.join(work, "rofi-input"), "w") as file:
            file.write("".join(f"Entry {n + 1}\n" for n in range(ENTRIES)))
        programs = {
            "TavrelPrj": ([os.path.join(folder, "TavrelPrj")], {}),
            "TavrelPrj on SDL": ([os.path.join(folder, "TavrelPrj")], {"SDL_VIDEODRIVER": "x11"}),
            "TavrelSettings": ([os.path.join(folder, "TavrelSettings")], {}),
            "bare xcb window": ([os.path.join(BUILD, "bench", "x11_bare_window")], {}),
        }
        rofi = shutil.which("rofi")
        if rofi:
            programs["rofi -dmenu"] = ([rofi, "-dmenu", "-input", os.path.join(work, "rofi-input")],
                                       {})
        times = {name: [] for name in programs}
        for run in range(RUNS + 1):
            for name, (command, extra) in programs.items():
                environment = dict(os.environ, DISPLAY=display, **extra)
                environment.pop("WAYLAND_DISPLAY", None)
                result = subprocess.run([WATCH] + command, env=environment, capture_output=True,
                                        text=True, timeout=30)
                if result.returncode != 0:
                    print(f"{name}: no picture ({result.stderr.strip()})", file=sys.stderr)
                    continue
                if run > 0:  # the first round warms the caches
                    times[name].append(float(result.stdout))
                time.sleep(0.05)
        medians = {name: statistics.median(values) for name, values in times.items() if values}
        for name, median in medians.items():
            line = f"{name:18s} {median:7.1f} ms"
            if "rofi -dmenu" in medians:
                line += f"   {median / medians['rofi -dmenu']:5.2f} x rofi"
            line += f"   {median / medians['bare xcb window']:5.2f} x bare window"
            print(line)
        if "TavrelSettings" in medians:
            print(f"editor / launcher: {medians['TavrelSettings'] / medians['TavrelPrj']:.2f}")
    finally:
        server.terminate()
        server.wait()
        shutil.rmtree(work)


if __name__ == "__main__":
    main()
