#!/usr/bin/env python3
"""The Linux program, whole, in scripts/sandbox: settings file in, log file and exit out.

usage: pendulix_qt_test.py PENDULIX [SCREENSHOT_DIR]

Each case runs in a sandbox of its own (a fresh network, time.nist.gov mapped to 127.0.0.1)
with the fixture time server on ports 37 and 13, its clock a few minutes ahead. pendulix runs
from a folder of its own, next to its Pendulix.ini. The kernel refuses every clock change there,
so a run reports the refusal. With SCREENSHOT_DIR, the window and the result box are also
photographed under Xvfb (needs ImageMagick's import and xdotool).
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
SANDBOX = os.path.join(ROOT, "scripts", "sandbox")
TIMESERVER = os.path.join(ROOT, "tests", "fixtures", "timeserver.py")
PENDULIX = None
SHOTS = None
AHEAD = 300  # seconds the server's clock is ahead of the machine's


def sandboxed(options, command, timeout):
    """Runs `command` in a new sandbox (nested when this script already runs in one)."""
    env = dict(os.environ)
    env.pop("PENDULIX_SANDBOX", None)
    return subprocess.run([SANDBOX, *options, "--hosts", "time.nist.gov", "sh", "-c", command],
                          env=env, capture_output=True, text=True, timeout=timeout)


def with_server(body):
    """A shell script: the fixture server on 37 and 13, then `body`, then the server stops."""
    return (f"python3 {TIMESERVER} --listen 37:now:{AHEAD} --listen 13:daytime-now:{AHEAD} "
            f"--ready-file \"$PWD/ready\" --background --lifetime 60 || exit 99; {body}; "
            f"status=$?; python3 {TIMESERVER} --stop \"$PWD/ready\"; exit $status")


class Program(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="pendulix-qt-")
        shutil.copy(PENDULIX, os.path.join(self.dir, "pendulix"))

    def tearDown(self):
        shutil.rmtree(self.dir, ignore_errors=True)

    def settings(self, **keys):
        text = "[config]\r\n" + "".join(f"{k}={v}\r\n" for k, v in keys.items())
        with open(os.path.join(self.dir, "Pendulix.ini"), "wb") as f:
            f.write(text.encode("cp1252"))

    def log_lines(self):
        path = os.path.join(self.dir, "Pendulix.log")
        if not os.path.exists(path):
            return []
        with open(path, "rb") as f:
            data = f.read()
        self.assertTrue(data.endswith(b"\r\n"), data)
        return data.decode("cp1252").split("\r\n")[:-1]

    def run_program(self, options, body=None, timeout=30):
        body = body or "QT_QPA_PLATFORM=offscreen ./pendulix"
        started = time.monotonic()
        done = sandboxed(options, f"cd {self.dir} && " + with_server(body), timeout)
        return done, time.monotonic() - started

    def test_silent_run_is_refused_logged_and_ends_by_itself(self):
        self.settings(SilentMode=1, AskDisconnect=0, LogFile=1)
        done, _ = self.run_program(["--online"])
        self.assertEqual(done.returncode, 0, done.stderr)
        lines = self.log_lines()
        self.assertEqual(len(lines), 1, lines)
        self.assertTrue(lines[0].endswith(" - Correction refusée par le système."), lines[0])
        # The server was five minutes ahead: the clock was behind.
        self.assertIn("retardait", lines[0])

    def test_second_run_appends_to_the_log(self):
        self.settings(SilentMode=1, AskDisconnect=0, LogFile=1)
        for _ in range(2):
            done, _ = self.run_program(["--online"])
            self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(len(self.log_lines()), 2)

    def test_offline_ends_at_once_without_a_log_line(self):
        self.settings(SilentMode=1, AskDisconnect=0, LogFile=1)
        done, elapsed = self.run_program([])
        self.assertEqual(done.returncode, 0, done.stderr)
        self.assertEqual(self.log_lines(), [])
        self.assertLess(elapsed, 10)

    def test_screenshots_of_the_window_and_the_result(self):
        shots = os.environ.get("PENDULIX_SHOTS")
        if not shots:
            self.skipTest("no screenshot folder given")
        os.makedirs(shots, exist_ok=True)
        window = os.path.join(shots, "pendulix-qt-window.png")
        result = os.path.join(shots, "pendulix-qt-result.png")
        # The window as it starts; then a click on its button, and the result box.
        self.settings(AskDisconnect=0, LogFile=1)
        body = ("./pendulix & pid=$!; "
                "for i in $(seq 100); do "
                "xdotool search --onlyvisible --name '^Pendulix$' >/dev/null && break; "
                "sleep 0.1; done; sleep 0.5; "
                f"import -window root {window}; "
                # The window is centred on the screen, its button in its middle.
                "xdotool mousemove 640 512 click 1; "
                "for i in $(seq 100); do "
                "xdotool search --onlyvisible --name '^(Information|Erreur)$' >/dev/null && break; "
                "sleep 0.1; done; sleep 0.5; "
                f"import -window root {result}; "
                "xdotool key Return; "
                "for i in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done; "
                "kill $pid 2>/dev/null; wait $pid")
        done, _ = self.run_program(["--online", "--x11"], body, timeout=60)
        self.assertEqual(done.returncode, 0, done.stdout + done.stderr)
        for shot in (window, result):
            self.assertGreater(os.path.getsize(shot), 1000, shot)
        self.assertEqual(len(self.log_lines()), 1)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    PENDULIX = os.path.abspath(sys.argv.pop(1))
    if len(sys.argv) > 1 and not sys.argv[1].startswith("-"):
        os.environ["PENDULIX_SHOTS"] = os.path.abspath(sys.argv.pop(1))
    unittest.main()
