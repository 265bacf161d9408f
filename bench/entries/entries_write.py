#!/usr/bin/env python3
"""TavrelEntries from desktop entries to settings.ini: the whole command, wall time, for 2,650
and 20,000 generated entries shaped as installed ones are (forty translations of each text,
an action group, a third in subfolders, a tenth left out: NoDisplay, OnlyShowIn, TryExec),
warm file cache, median of the runs, beside the time it takes only to read the same files once.
Targets: 2,650 in 50 ms, 20,000 in 300 ms.

Usage: entries_write.py <path of TavrelEntries> [runs]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

PROGRAM = os.path.abspath(sys.argv[1]) if len(sys.argv) > 1 else "build/entries/TavrelEntries"
RUNS = int(sys.argv[2]) if len(sys.argv) > 2 else 11
TARGETS = {2650: 0.050, 20000: 0.300}
LANGUAGES = ["af", "ar", "be", "bg", "ca", "cs", "da", "de", "el", "en_GB", "eo", "es", "et",
             "eu", "fa", "fi", "fr", "gl", "he", "hr", "hu", "id", "it", "ja", "ko", "lt", "nb",
             "nl", "pl", "pt", "pt_BR", "ro", "ru", "sk", "sl", "sr", "sr@latin", "sv", "uk",
             "zh_CN"]


def entry(number):
    lines = ["[Desktop Entry]", "Type=Application", f"Name=Application {number}"]
    for language in LANGUAGES:
        lines.append(f"Name[{language}]=Anwendung {number} ({language})")
    lines.append("GenericName=Tool")
    for language in LANGUAGES:
        lines.append(f"GenericName[{language}]=Werkzeug ({language})")
    lines.append("Comment=Does one thing for the user and does it well")
    for language in LANGUAGES:
        lines.append(f"Comment[{language}]=Macht eine Sache für den Benutzer, und die gut")
    lines.append("Keywords=tool;thing;work;")
    for language in LANGUAGES:
        lines.append(f"Keywords[{language}]=Werkzeug;Sache;Arbeit;")
    lines += [f"Exec=sh -c \"echo %U\" 'app {number}' --name=%c %i", "Icon=utilities-terminal",
              "Terminal=false", "Categories=Utility;", "StartupNotify=true"]
    if number % 10 == 1:
        lines.append("NoDisplay=true")
    elif number % 10 == 2:
        lines.append("OnlyShowIn=KDE;")
    elif number % 10 == 3:
        lines.append("TryExec=not-installed-anywhere")
    lines += ["Actions=new;", "", "[Desktop Action new]", "Name=New window",
              f"Exec=sh --new {number}"]
    return "\n".join(lines) + "\n"


def make_tree(root, count):
    applications = os.path.join(root, "applications")
    for number in range(count):
        folder = os.path.join(applications, f"vendor{number % 7}") if number % 3 == 0 \
            else applications
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, f"org.example.App{number}.desktop"), "w") as file:
            file.write(entry(number))


def read_all(root):
    """The floor: every file read once, nothing else (one thread)."""
    start = time.perf_counter()
    for folder, _, names in os.walk(root):
        for name in names:
            with open(os.path.join(folder, name), "rb") as file:
                file.read()
    return time.perf_counter() - start


def main():
    for count, target in TARGETS.items():
        work = tempfile.mkdtemp(prefix="tavrel-entries-bench-")
        try:
            make_tree(os.path.join(work, "data"), count)
            environment = dict(os.environ, XDG_DATA_HOME=os.path.join(work, "data"),
                               XDG_DATA_DIRS=os.path.join(work, "none"), LC_ALL="C.UTF-8")
            times = []
            for run in range(RUNS + 1):
                out = os.path.join(work, f"out{run}")
                start = time.perf_counter()
                subprocess.run([PROGRAM, out], env=environment, check=True,
                               stdout=subprocess.DEVNULL)
                elapsed = time.perf_counter() - start
                if run > 0:  # the first run warms the file cache
                    times.append(elapsed)
            median = statistics.median(times)
            floor = statistics.median(read_all(os.path.join(work, "data")) for _ in range(RUNS))
            size = sum(os.path.getsize(os.path.join(folder, name))
                       for folder, _, names in os.walk(os.path.join(work, "data"))
                       for name in names) / 1e6
            print(f"{count:6d} entries ({size:5.1f} MB): median {median * 1000:6.1f} ms, "
                  f"target {target * 1000:.0f} ms, ratio {median / target:.2f}; "
                  f"reading the files alone {floor * 1000:.1f} ms")
        finally:
            shutil.rmtree(work)


if __name__ == "__main__":
    main()
