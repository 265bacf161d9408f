#!/usr/bin/env python3
"""First frame on real Wayland compositors: from exec to the first commit of a surface with a
buffer attached, read from the protocol log (WAYLAND_DEBUG=client) as it is written. Runs the
launcher, the settings editor, fuzzel --dmenu and tofi, interleaved, on phoc (its X11 backend
nested in Xvfb, 720x1440 at scale 2) and on weston (nested the same way, 480x640, no
layer-shell: the peers need it and are left out there). Prints medians and ratios.

Usage: first_frame.py <build folder> [runs]   (phoc's X11 backend needs root)
"""
import os
import re
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 20
BUILD = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else "build"
ENTRIES = 20
TIMEOUT = 10.0
ATTACH = re.compile(r"-> (wl_surface@\d+)\.attach\(wl_buffer@")


def wait_for(predicate, what, timeout=30.0):
    deadline = time.monotonic() + timeout
    while not predicate():
        if time.monotonic() > deadline:
            raise SystemExit(f"timed out waiting for {what}")
        time.sleep(0.02)


class Screen:
    """Xvfb with a nested compositor on it; the compositor's socket in a runtime folder."""

    def __init__(self, work, name, width, height):
        self.work = work
        self.processes = []
        read_end, write_end = os.pipe()
        self.processes.append(subprocess.Popen(
            ["Xvfb", "-displayfd", str(write_end), "-screen", "0", f"{width}x{height}x24",
             "-nolisten", "tcp"], pass_fds=[write_end], stderr=subprocess.DEVNULL))
        os.close(write_end)
        with os.fdopen(read_end) as numbers:
            self.display = ":" + numbers.readline().strip()
        self.runtime = os.path.join(work, f"runtime-{name}")
        os.mkdir(self.runtime, 0o700)

    def environment(self):
        environment = dict(os.environ, XDG_RUNTIME_DIR=self.runtime, DISPLAY=self.display)
        environment.pop("WAYLAND_DISPLAY", None)
        return environment

    def start(self, command, environment, socket):
        self.processes.append(subprocess.Popen(command, env=environment, cwd=self.work,
                                               stdout=subprocess.DEVNULL,
                                               stderr=subprocess.DEVNULL))
        path = os.path.join(self.runtime, socket)
        wait_for(lambda: os.path.exists(path), f"{command[0]} to listen")
        self.socket = socket
        time.sleep(1.0)  # its first output frame and the seat settle before the first client

    def close(self):
        for process in reversed(self.processes):
            process.terminate()
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()


def phoc(work):
    screen = Screen(work, "phoc", 720, 1440)
    config = os.path.join(work, "phoc.ini")
    with open(config, "w") as file:
        file.write("[core]\nxwayland=false\n[output:X11-1]\nmode=720x1440\nscale=2\n")
    environment = dict(screen.environment(), WLR_BACKENDS="x11", WLR_RENDERER="pixman",
                       GSETTINGS_BACKEND="memory")
    screen.start(["phoc", "-C", config], environment, "wayland-0")
    return screen


def weston(work):
    screen = Screen(work, "weston", 480, 640)
    config = os.path.join(work, "weston.ini")
    with open(config, "w") as file:
        file.write("[core]\nidle-time=0\n[shell]\npanel-position=none\nanimation=none\n"
                   "startup-animation=none\n")
    screen.start(["weston", f"--config={config}", "--backend=x11-backend.so", "--use-pixman",
                  "--socket=bench", "--width=480", "--height=640"], screen.environment(), "bench")
    return screen


def first_frame(screen, command, cwd, stdin_text=None):
    """Milliseconds from exec to the first commit after a buffer was attached."""
    environment = dict(screen.environment(), WAYLAND_DISPLAY=screen.socket,
                       WAYLAND_DEBUG="client")
    environment.pop("DISPLAY")
    start = time.monotonic()
    process = subprocess.Popen(command, cwd=cwd, env=environment, text=True, bufsize=1,
                               stdin=subprocess.PIPE if stdin_text is not None else
                               subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    if stdin_text is not None:
        process.stdin.write(stdin_text)
        process.stdin.close()
    attached = set()
    elapsed = None
    for line in process.stderr:
        match = ATTACH.search(line)
        if match:
            attached.add(match.group(1))
            continue
        if any(f"-> {surface}.commit()" in line for surface in attached):
            elapsed = (time.monotonic() - start) * 1000.0
            break
        if time.monotonic() - start > TIMEOUT:
            break
    process.send_signal(signal.SIGTERM)
    process.stdin = None  # closed already, when it was written
    try:
        process.communicate(timeout=5)
    except subprocess.TimeoutExpired:
        process.kill()
        process.communicate()
    return elapsed


def main():
    work = tempfile.mkdtemp(prefix="tavrel-wayland-bench-")
    folder = os.path.join(work, "folder")
    os.mkdir(folder)
    for program in ("launcher/TavrelPrj", "settings/TavrelSettings"):
        shutil.copy(os.path.join(BUILD, program), folder)
    with open(os.path.join(folder, "settings.ini"), "w", newline="") as file:
        for n in range(1, ENTRIES + 1):
            file.write(f"[Entry {n}]\r\nExecPath=/bin/true\r\n")
    with open(os.path.join(folder, "options.ini"), "w", newline="") as file:
        file.write("[main_settings]\r\nuse_system_colors=true\r\nuse_system_font=true\r\n"
                   "use_system_item_height=true\r\nuse_system_menu_pos=true\r\n")
    entries = "".join(f"Entry {n}\n" for n in range(1, ENTRIES + 1))
    programs = {
        "TavrelPrj": (["./TavrelPrj"], None),
        "TavrelSettings": (["./TavrelSettings"], None),
        "fuzzel --dmenu": (["fuzzel", "--dmenu"], entries),
        "tofi": (["tofi"], entries),
    }
    for name, make, peers in (("phoc 720x1440 scale 2", phoc, True),
                              ("weston 480x640", weston, False)):
        screen = make(work)
        try:
            chosen = {key: value for key, value in programs.items()
                      if peers or key.startswith("Tavrel")}
            times = {key: [] for key in chosen}
            for _ in range(RUNS):
                for key, (command, stdin_text) in chosen.items():
                    elapsed = first_frame(screen, command, folder, stdin_text)
                    if elapsed is not None:
                        times[key].append(elapsed)
            print(f"== {name}: first frame, median of {RUNS} interleaved runs")
            medians = {key: statistics.median(value) for key, value in times.items() if value}
            for key, value in times.items():
                if key in medians:
                    print(f"  {key:16} {medians[key]:7.1f} ms  (min {min(value):.1f}, "
                          f"max {max(value):.1f}, {len(value)} frames)")
                else:
                    print(f"  {key:16}     no frame")
            launcher = medians.get("TavrelPrj")
            if launcher:
                if "fuzzel --dmenu" in medians:
                    print(f"  TavrelPrj / fuzzel --dmenu = {launcher / medians['fuzzel --dmenu']:.2f}")
                if "tofi" in medians:
                    print(f"  TavrelPrj / tofi           = {launcher / medians['tofi']:.2f}")
                if "TavrelSettings" in medians:
                    print(f"  TavrelSettings / TavrelPrj = {medians['TavrelSettings'] / launcher:.2f}")
        finally:
            screen.close()
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
