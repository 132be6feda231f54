"""Runs the real program, as its users do, for program-level tests.

A test gets a folder of its own holding a copy of the program file and a Pendulix.ini, starts
the scripted time server on ports 37 and 13, runs the program from a chosen current directory
with a time bound, and reads what came out: exit status, output, the log file, the time taken.

The programs run only inside scripts/sandbox, where the kernel refuses clock changes and only
loopback exists; require_sandbox() stops a test that was started anywhere else.

What the build knows comes through the environment (tests/program/CMakeLists.txt sets it):
  PENDULIX_PROGRAM      the program file: Pendulix.exe (run under Wine) or pendulix
  PENDULIX_WINE_RUN     cmake/wine-run.sh, for .exe files
  PENDULIX_TIMESERVER   tests/fixtures/timeserver.py
  PENDULIX_WININSPECT   wininspect.exe, when the Windows tree has it
  PENDULIX_ARTIFACTS    a folder for screenshots and the output of failed runs
Standard library only.
"""

import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
from dataclasses import dataclass
from pathlib import Path

INI_NAME = "Pendulix.ini"
LOG_NAME = "Pendulix.log"
TIME_PORT = 37  # RFC 868
DAYTIME_PORT = 13  # RFC 867
SERVER_NAME = "time.nist.gov"  # the program's server, mapped to 127.0.0.1 by the sandbox
SANDBOX = Path(__file__).resolve().parents[2] / "scripts" / "sandbox"


class HarnessError(Exception):
    """The test could not be set up: a missing file, a server that did not start."""


def in_sandbox():
    # Outside any user namespace, uid_map maps the whole range: "0 0 4294967295".
    with open("/proc/self/uid_map") as uid_map:
        return uid_map.read().split()[2] != "4294967295"


def require_sandbox():
    """Ends the test with a clear message unless it runs inside scripts/sandbox."""
    if not in_sandbox():
        sys.exit(
            "program tests start the real program, which may set the clock: run them "
            "inside the sandbox, e.g. scripts/sandbox --x11 --wine --hosts time.nist.gov "
            "ctest --preset linux -L program"
        )


def env_path(name, required=True):
    value = os.environ.get(name, "")
    if not value:
        if required:
            raise HarnessError(f"{name} is not set; run the test through ctest")
        return None
    path = Path(value)
    if not path.exists():
        if required:
            raise HarnessError(f"{name}={value}: no such file (not built?)")
        return None
    return path


def program_file():
    return env_path("PENDULIX_PROGRAM")


def is_windows_program(path):
    return Path(path).suffix.lower() == ".exe"


def ini_bytes(settings, section="config"):
    """Settings file text: Windows-1252, CR LF. `settings` maps keys to values, or section
    names to such maps; values are written as given (str() of numbers)."""
    if all(isinstance(v, dict) for v in settings.values()) and settings:
        sections = settings
    else:
        sections = {section: settings}
    lines = []
    for name, keys in sections.items():
        lines.append(f"[{name}]")
        lines.extend(f"{key}={value}" for key, value in keys.items())
    return ("\r\n".join(lines) + "\r\n").encode("cp1252")


@dataclass
class Result:
    status: int | None  # None when the run was stopped at its time bound
    stdout: bytes
    stderr: bytes
    elapsed: float  # seconds, wall clock
    log: bytes | None  # Pendulix.log after the run, None when there is none
    timed_out: bool

    def text(self, data):
        # A Windows program's output has CR LF line ends.
        return data.decode("cp1252", "replace").replace("\r\n", "\n")

    def describe(self):
        return (
            f"status {self.status} after {self.elapsed:.2f} s"
            f"{' (stopped at its time bound)' if self.timed_out else ''}\n"
            f"stdout: {self.text(self.stdout)!r}\nstderr: {self.text(self.stderr)[-2000:]!r}\n"
            f"log: {self.log!r}"
        )


class ProgramDir:
    """A temporary folder with a copy of the program file; removed on exit."""

    def __init__(self, program=None, settings=None, log=None):
        self.program_source = Path(program) if program else program_file()
        self.settings = settings
        self.initial_log = log
        self.path = None

    def __enter__(self):
        self.path = Path(tempfile.mkdtemp(prefix="pendulix-program."))
        self.program = self.path / self.program_source.name
        shutil.copy2(self.program_source, self.program)
        if self.settings is not None:
            self.write_settings(self.settings)
        if self.initial_log is not None:
            self.log_path.write_bytes(self.initial_log)
        return self

    def __exit__(self, *exc):
        shutil.rmtree(self.path, ignore_errors=True)

    @property
    def ini_path(self):
        return self.path / INI_NAME

    @property
    def log_path(self):
        return self.path / LOG_NAME

    def write_settings(self, settings, section="config"):
        self.ini_path.write_bytes(ini_bytes(settings, section))

    def read_log(self):
        try:
            return self.log_path.read_bytes()
        except FileNotFoundError:
            return None

    def command(self, network=None):
        """The command that runs the program. With a Network, it runs in a sandbox of its own
        (scripts/sandbox --isolate) together with its time server."""
        program = [str(self.program)]
        if is_windows_program(self.program):
            program = ["sh", str(env_path("PENDULIX_WINE_RUN")), str(self.program)]
        if network is None:
            return program
        return network.sandbox_command(windows=is_windows_program(self.program)) + program

    def start(self, cwd=None, env=None, network=None):
        """Starts the program without waiting; returns the Popen (own process group). The Linux
        program draws offscreen unless the test asks for a platform: these runs need no screen,
        and a display shared by runs side by side is one more thing that can fail."""
        if not is_windows_program(self.program):
            env = dict(os.environ if env is None else env)
            env.setdefault("QT_QPA_PLATFORM", "offscreen")
        return subprocess.Popen(
            self.command(network),
            cwd=cwd or self.path,
            env=env,
            stdin=subprocess.DEVNULL,
            stdout=subprocess.PIPE,
            stderr=subprocess.PIPE,
            start_new_session=True,
        )

    def run(self, timeout, cwd=None, env=None, network=None):
        """Runs the program to its end, at most `timeout` seconds, and collects a Result.
        With a Network, the time includes starting its sandbox and wineserver: about 2 s."""
        began = time.monotonic()
        process = self.start(cwd, env, network)
        timed_out = False
        try:
            stdout, stderr = process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            timed_out = True
            stop_group(process)
            stdout, stderr = process.communicate()
        elapsed = time.monotonic() - began
        return Result(
            status=None if timed_out else process.returncode,
            stdout=stdout,
            stderr=stderr,
            elapsed=elapsed,
            log=self.read_log(),
            timed_out=timed_out,
        )


def stop_group(process):
    try:
        os.killpg(process.pid, signal.SIGKILL)
    except ProcessLookupError:
        pass


@dataclass
class Network:
    """What the program sees of the network when it runs in a sandbox of its own: its time
    server's ports and behaviours, whether a default route makes the machine look connected,
    and the host names that lead to 127.0.0.1. Nothing else runs in that network, so runs
    never compete for ports 37 and 13."""

    listen: dict  # port -> behaviour of tests/fixtures/timeserver.py; {} for nothing listening
    online: bool = True
    hosts: tuple = (SERVER_NAME,)

    def sandbox_command(self, windows):
        command = [str(SANDBOX), "--isolate", "--display"]
        if self.online:
            command.append("--online")
        if self.hosts:
            command += ["--hosts", ",".join(self.hosts)]
        if windows:
            command.append("--wine")
        command += ["--", sys.executable, str(Path(__file__).resolve())]
        for port, behaviour in self.listen.items():
            command += ["--serve", f"{port}:{behaviour}"]
        return command + ["--"]


def default_listen():
    return {TIME_PORT: "now", DAYTIME_PORT: "daytime-now"}


class TimeServer:
    """The scripted time server (tests/fixtures/timeserver.py) on 127.0.0.1.

    `listen` maps ports to behaviours in the server's own words, e.g.
    {37: "now", 13: "daytime-now"} or {37: "send:EA0593F0", 13: "silent"}."""

    def __init__(self, listen=None, lifetime=300):
        self.listen = listen if listen is not None else default_listen()
        self.lifetime = lifetime
        self.process = None

    def __enter__(self):
        server = env_path("PENDULIX_TIMESERVER")
        self.dir = tempfile.mkdtemp(prefix="pendulix-timeserver.")
        ready = Path(self.dir) / "ready"
        args = [sys.executable, str(server), "--ready-file", str(ready)]
        args += ["--lifetime", str(self.lifetime)]
        for port, behaviour in self.listen.items():
            args += ["--listen", f"{port}:{behaviour}"]
        self.process = subprocess.Popen(
            args, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE
        )
        deadline = time.monotonic() + 10
        while not ready.exists():
            if self.process.poll() is not None:
                err = self.process.stderr.read().decode(errors="replace")
                raise HarnessError(f"time server did not start: {err.strip()}")
            if time.monotonic() > deadline:
                self.__exit__()
                raise HarnessError("time server not ready after 10 s")
            time.sleep(0.02)
        return self

    def __exit__(self, *exc):
        if self.process and self.process.poll() is None:
            self.process.terminate()
            try:
                self.process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
        if self.process:
            self.process.stderr.close()
        shutil.rmtree(self.dir, ignore_errors=True)


def artifacts_dir():
    path = Path(os.environ.get("PENDULIX_ARTIFACTS") or tempfile.gettempdir())
    path.mkdir(parents=True, exist_ok=True)
    return path


def screenshot(name, window="root"):
    """Saves a PNG of the display (or of one X window id) in the artifacts folder."""
    if not os.environ.get("DISPLAY"):
        raise HarnessError("no DISPLAY for a screenshot; run inside scripts/sandbox --x11")
    path = artifacts_dir() / f"{name}.png"
    subprocess.run(["import", "-window", str(window), str(path)], check=True, timeout=30,
                   stdout=subprocess.DEVNULL, stderr=subprocess.PIPE)
    return path


def wininspect():
    """wininspect.exe from the Windows tree, or None when it is not there."""
    return env_path("PENDULIX_WININSPECT", required=False)


def check(condition, message, result=None):
    """Fails the test with `message` (and the run's details) unless `condition` holds."""
    if not condition:
        details = f"\n{result.describe()}" if result is not None else ""
        raise AssertionError(f"{message}{details}")


def run_cases(cases, run_case, wanted=()):
    """Runs each named case (only those in `wanted`, when given) through `run_case`, which
    raises AssertionError on failure and returns its Result; prints one line a case. Returns
    the exit status: 1 when any case failed."""
    failures = 0
    for case in cases:
        if wanted and case.name not in wanted:
            continue
        try:
            result = run_case(case)
            print(f"ok    {case.name}: {result.elapsed:.1f} s")
        except AssertionError as failure:
            failures += 1
            print(f"FAIL  {case.name}: {failure}")
        sys.stdout.flush()
    return 1 if failures else 0


def serve_and_run(argv):
    """Inside a Network's sandbox: start the time server, run the program, pass on its status."""
    listen = {}
    while argv and argv[0] == "--serve":
        port, _, behaviour = argv[1].partition(":")
        listen[int(port)] = behaviour
        argv = argv[2:]
    if argv[:1] == ["--"]:
        argv = argv[1:]
    if not argv:
        sys.exit("usage: harness.py [--serve PORT:BEHAVIOUR]... -- PROGRAM...")
    require_sandbox()
    with TimeServer(listen):
        sys.stdout.flush()
        return subprocess.call(argv)


if __name__ == "__main__":
    sys.exit(serve_and_run(sys.argv[1:]))
