#!/usr/bin/env python3
"""The real Pendulix.exe under Wine: its window, the settings file it reads, a screenshot.

Copies Pendulix.exe into a folder of its own with a Pendulix.ini, starts it from another
current directory that holds a different Pendulix.ini, and looks at its window from outside
with wininspect.exe. Runs inside scripts/sandbox --x11 --wine (it re-starts itself there when
called from outside), so the program can never change the real clock.
"""
import argparse
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time

HERE = pathlib.Path(__file__).resolve().parent
SANDBOX = HERE.parent.parent / "scripts" / "sandbox"
BUTTON_TEXT = "Mets mon PC à l'heure !"


def in_user_namespace():
    with open("/proc/self/uid_map") as uid_map:
        return uid_map.read().split()[2] != "4294967295"


def write_ini(path, lines):
    # Settings files are Windows-1252 with CR LF, as the program's users write them.
    path.write_bytes(("\r\n".join(lines) + "\r\n").encode("cp1252"))


class Wine:
    def __init__(self, wine_run, inspector, exe):
        self.wine_run = wine_run
        self.inspector = inspector
        self.exe = exe  # the program as built; each run works on a copy

    def start(self, exe, cwd):
        return subprocess.Popen(["sh", self.wine_run, str(exe)], cwd=cwd,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE)

    def inspect(self, *args):
        done = subprocess.run(["sh", self.wine_run, self.inspector, *args],
                              capture_output=True, timeout=60)
        properties = {}
        for line in done.stdout.decode("utf-8", "replace").splitlines():
            key, sep, value = line.rstrip("\r").partition("=")
            if sep:
                properties[key] = value
        return done.returncode, properties


class Checks:
    def __init__(self):
        self.failures = []

    def equal(self, what, got, expected):
        if got != expected:
            self.failures.append(f"{what}: got {got!r}, expected {expected!r}")

    def true(self, what, condition):
        if not condition:
            self.failures.append(what)


def scaled(pixels, dpi):
    return (pixels * dpi + 48) // 96


def check_window(checks, w):
    dpi = int(w["dpi"])
    checks.equal("title", w["title"], "Pendulix")
    checks.equal("visible", w["visible"], "1")
    checks.equal("client width", int(w["client_width"]), scaled(379, dpi))
    checks.equal("client height", int(w["client_height"]), scaled(85, dpi))
    checks.equal("maximise box", w["maximizebox"], "0")
    checks.equal("resizable frame", w["thickframe"], "0")
    checks.equal("minimise box", w["minimizebox"], "1")
    checks.equal("system menu", w["sysmenu"], "1")
    centre_x = (int(w["frame_left"]) + int(w["frame_right"])) / 2
    centre_y = (int(w["frame_top"]) + int(w["frame_bottom"])) / 2
    area_x = (int(w["workarea_left"]) + int(w["workarea_right"])) / 2
    area_y = (int(w["workarea_top"]) + int(w["workarea_bottom"])) / 2
    checks.true(f"centred: window centre ({centre_x}, {centre_y}), screen ({area_x}, {area_y})",
                abs(centre_x - area_x) <= 1 and abs(centre_y - area_y) <= 1)
    checks.equal("buttons", w.get("buttons"), "1")
    checks.equal("button text", w.get("button0_text"), BUTTON_TEXT)
    checks.equal("button enabled", w.get("button0_enabled"), "1")
    checks.equal("button place",
                 [int(w.get(f"button0_{k}", -1)) for k in ("left", "top", "width", "height")],
                 [scaled(v, dpi) for v in (16, 16, 345, 49)])
    checks.equal("list box shown", w.get("listbox_visible"), "0")


def check_resources(wine, checks):
    status, carried = wine.inspect("resources", str(wine.exe))
    checks.equal("reading the program's resources", status, 0)
    for key in ("icon", "manifest", "manifest_common_controls_6", "manifest_dpi_aware",
                "manifest_as_invoker"):
        checks.equal(f"resources: {key}", carried.get(key), "1")
    checks.equal("product name", carried.get("product_name"), "Pendulix")
    checks.equal("product version", carried.get("product_version"), "1.0.0")
    checks.true("a description in French", "à l'heure" in carried.get("file_description", ""))


def screenshot(checks, path):
    path.parent.mkdir(parents=True, exist_ok=True)
    # A blank screen has one colour; the window, its frame, text and button bring many. On a
    # loaded machine the desktop may still be drawing: look again for a few seconds.
    for _ in range(10):
        subprocess.run(["import", "-window", "root", str(path)], check=True, timeout=60)
        colours = subprocess.run(["identify", "-format", "%k", str(path)], capture_output=True,
                                 text=True, check=True).stdout.strip()
        if int(colours) >= 16:
            break
        time.sleep(0.5)
    checks.true(f"screenshot {path} looks blank ({colours} colours)", int(colours) >= 16)


def wait_for_exit(process, seconds):
    try:
        return process.wait(timeout=seconds)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
        return None


def shown_window_run(wine, root, shots, checks):
    """Settings beside the program show the window; those in the current directory would not."""
    program_dir = root / "Mes programmes" / "Pendulix"
    elsewhere = root / "ailleurs"
    program_dir.mkdir(parents=True)
    elsewhere.mkdir()
    exe = program_dir / "Pendulix.exe"
    shutil.copy(wine.exe, exe)
    write_ini(program_dir / "Pendulix.ini", ["[config]", "SilentMode=0", "AutoSynchro=0"])
    write_ini(elsewhere / "Pendulix.ini", ["[config]", "SilentMode=1", "AskDisconnect=0"])

    process = wine.start(exe, elsewhere)
    status, window = wine.inspect("show", "Pendulix", "20000")
    checks.equal("window shown (settings beside the program read)", status, 0)
    if status == 0:
        check_window(checks, window)
        screenshot(checks, shots / "pendulix-window.png")
        wine.inspect("close", "Pendulix")
    code = wait_for_exit(process, 20)
    checks.equal("exit status after closing the window", code, 0)


def silent_run(wine, root, checks):
    """Silent mode set beside the program: the window is made but never shown."""
    program_dir = root / "silencieux"
    elsewhere = root / "ailleurs-2"
    program_dir.mkdir()
    elsewhere.mkdir()
    exe = program_dir / "Pendulix.exe"
    shutil.copy(wine.exe, exe)
    write_ini(program_dir / "Pendulix.ini", ["[config]", "SilentMode=1", "AskDisconnect=0"])
    write_ini(elsewhere / "Pendulix.ini", ["[config]", "SilentMode=0"])

    process = wine.start(exe, elsewhere)
    seen_hidden = False
    deadline = time.monotonic() + 8
    while time.monotonic() < deadline and process.poll() is None:
        status, window = wine.inspect("info", "Pendulix")
        if status == 0:
            seen_hidden = seen_hidden or window.get("visible") == "0"
            checks.equal("silent mode window visible", window.get("visible"), "0")
    if process.poll() is None:
        wine.inspect("close", "Pendulix")
    code = wait_for_exit(process, 20)
    checks.true("silent mode: the program started (hidden window seen or a clean exit)",
                seen_hidden or code == 0)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--exe", required=True)
    parser.add_argument("--inspector", required=True)
    parser.add_argument("--wine", required=True, help="cmake/wine-run.sh")
    parser.add_argument("--screenshots", required=True)
    args = parser.parse_args()

    if not in_user_namespace():
        os.execv(str(SANDBOX), [str(SANDBOX), "--x11", "--wine", sys.executable,
                                *sys.argv])
    if not os.environ.get("DISPLAY"):
        print("win32_window_test: needs a display: run it under scripts/sandbox --x11 --wine",
              file=sys.stderr)
        return 1

    # The program runs from other directories: every path given must hold from anywhere.
    wine = Wine(os.path.abspath(args.wine), os.path.abspath(args.inspector),
                pathlib.Path(args.exe).resolve())
    checks = Checks()
    with tempfile.TemporaryDirectory(prefix="pendulix-window-") as tmp:
        root = pathlib.Path(tmp)
        check_resources(wine, checks)
        shown_window_run(wine, root, pathlib.Path(args.screenshots).resolve(), checks)
        silent_run(wine, root, checks)

    for failure in checks.failures:
        print("FAIL:", failure)
    if not checks.failures:
        print("win32_window_test: all checks passed")
    return 1 if checks.failures else 0


if __name__ == "__main__":
    sys.exit(main())
