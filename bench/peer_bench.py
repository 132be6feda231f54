#!/usr/bin/env python3
"""pendulix against a peer: Debian's rdate, a plain Time-protocol client, on the same loopback.

Runs inside scripts/sandbox (bench/run-peer-bench.sh starts it there): only loopback exists,
time.nist.gov names 127.0.0.1, the machine looks connected (--online), and the kernel refuses
every clock change. rdate runs with -p (print only) all the same.

  peer_bench.py --pendulix PATH [--exe Pendulix.exe] [--query-bench PATH] [--rounds N]

Measures, side by side in one run (the commands alternate, their order swapped every round, so
that a noisy machine treats both alike), with wait4()'s resource usage of each child:
  1. a whole silent run (SilentMode=1, AskDisconnect=0, LogFile=0) of pendulix against the
     fixture server on ports 37 and 13, and `rdate -p time.nist.gov`: wall time, user+sys CPU,
     peak RSS. pendulix runs with QT_QPA_PLATFORM=offscreen and no DISPLAY (what a hidden
     window needs: no display at all). For information, the same run on the private Xvfb
     (xcb, what a desktop session gets) and with QT_QPA_PLATFORM=minimal.
  2. the CPU share of the real program while its Time query waits out its 5-second limit on a
     server that accepts and stays silent (read from /proc/PID/stat between 1.5 s and 4.5 s
     after the start), and bench/QueryBench's figures (fake backend) when given.
  3. start-up: from exec to the window shown. With xcb on Xvfb, the MapNotify of its top-level
     window (seen by `xev -root`); offscreen, where nothing outside can see a window, the first
     connection to port 37, which the program makes right after showing and drawing its window
     (SilentMode=0, AutoSynchro=1).
  4. Pendulix.exe's silent run under Wine, against `wine hostname.exe` (Wine's own start).
  5. file sizes: Pendulix.exe as built and stripped, pendulix as built and stripped.
"""
import argparse
import os
import queue
import shutil
import signal
import socket
import statistics
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[1]
TIMESERVER = ROOT / "tests" / "fixtures" / "timeserver.py"
WINE_RUN = ROOT / "cmake" / "wine-run.sh"
SERVER = "time.nist.gov"
RDATE = shutil.which("rdate") or "/usr/sbin/rdate"
CLK_TCK = os.sysconf("SC_CLK_TCK")
SECONDS_1900_TO_1970 = 2208988800


def in_sandbox():
    with open("/proc/self/uid_map") as uid_map:
        return uid_map.read().split()[2] != "4294967295"


def ini(settings):
    text = "[config]\r\n" + "".join(f"{k}={v}\r\n" for k, v in settings.items())
    return text.encode("cp1252")


class Fixture:
    """tests/fixtures/timeserver.py in the background, with the given --listen arguments."""

    def __init__(self, *listen):
        self.listen = listen
        self.ready = tempfile.mktemp(prefix="pendulix-bench-ready.")

    def __enter__(self):
        args = [sys.executable, str(TIMESERVER), "--background", "--ready-file", self.ready,
                "--lifetime", "1800"]
        for port_behaviour in self.listen:
            args += ["--listen", port_behaviour]
        subprocess.run(args, check=True)
        return self

    def __exit__(self, *exc):
        subprocess.run([sys.executable, str(TIMESERVER), "--stop", self.ready], check=False)


def program_dir(program, settings):
    folder = Path(tempfile.mkdtemp(prefix="pendulix-bench."))
    shutil.copy2(program, folder / Path(program).name)
    (folder / "Pendulix.ini").write_bytes(ini(settings))
    return folder


def environment(**changes):
    env = dict(os.environ)
    for key, value in changes.items():
        if value is None:
            env.pop(key, None)
        else:
            env[key] = value
    return env


def peak_rss(args, cwd=None, env=None):
    """Peak RSS in KiB, through /usr/bin/time: a child forked by Python inherits Python's
    high-water mark (vfork, then exec), so wait4()'s ru_maxrss never reads below Python's
    own size; /usr/bin/time is a small C program."""
    report = tempfile.NamedTemporaryFile()
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", report.name] + args, cwd=cwd, env=env,
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True, timeout=60)
    return int(report.read().split()[-1])


def measure(args, cwd=None, env=None, timeout=60):
    """One run: (wall seconds, user+sys CPU seconds, peak RSS KiB, status, output); the RSS
    is measured again by peak_rss(), without timing, after the timed run."""
    out = tempfile.TemporaryFile()
    start = time.perf_counter()
    proc = subprocess.Popen(args, cwd=cwd, env=env, stdin=subprocess.DEVNULL, stdout=out,
                            stderr=subprocess.STDOUT)
    timer = threading.Timer(timeout, proc.kill)
    timer.start()
    _, status, usage = os.wait4(proc.pid, 0)
    wall = time.perf_counter() - start
    timer.cancel()
    proc.returncode = os.waitstatus_to_exitcode(status)
    out.seek(0)
    rss = peak_rss(args, cwd, env) if proc.returncode == 0 else 0
    return wall, usage.ru_utime + usage.ru_stime, rss, proc.returncode, out.read()


class Series:
    def __init__(self, name):
        self.name = name
        self.wall, self.cpu, self.rss = [], [], []

    def add(self, wall, cpu, rss):
        self.wall.append(wall)
        self.cpu.append(cpu)
        self.rss.append(rss)

    @staticmethod
    def mmm(values, scale, fmt):
        return "/".join(fmt % (v * scale) for v in
                        (min(values), statistics.median(values), max(values)))

    def row(self):
        return (f"| {self.name} | {len(self.wall)} | {self.mmm(self.wall, 1000, '%.1f')} | "
                f"{self.mmm(self.cpu, 1000, '%.1f')} | {self.mmm(self.rss, 1 / 1024, '%.1f')} |")


def table(series):
    print("| command | runs | wall ms min/median/max | user+sys CPU ms min/median/max "
          "| peak RSS MiB min/median/max |")
    print("|---|---|---|---|---|")
    for s in series:
        print(s.row())


def alternate(commands, rounds):
    """commands: list of (Series, callable returning measure()'s tuple, check(tuple))."""
    for _, run, check in commands:  # warm-up: page cache, Wine's services, fontconfig's cache
        check(run())
    for r in range(rounds):
        order = commands if r % 2 == 0 else commands[::-1]
        for series, run, check in order:
            result = run()
            check(result)
            series.add(*result[:3])


def expect_ok(name, want=None):
    def check(result):
        wall, _, _, status, output = result
        if status != 0 or (want is not None and want not in output):
            sys.exit(f"{name}: status {status} after {wall:.2f} s, output {output[-800:]!r}")
    return check


def silent_runs(args, display):
    print(f"\n## 1. A whole silent run against the fixture ({args.rounds} rounds, alternated)\n")
    folder = program_dir(args.pendulix, {"SilentMode": 1, "AskDisconnect": 0, "LogFile": 0})
    program = [str(folder / "pendulix")]
    offscreen = environment(QT_QPA_PLATFORM="offscreen", DISPLAY=None)
    minimal = environment(QT_QPA_PLATFORM="minimal", DISPLAY=None)
    xcb = environment(QT_QPA_PLATFORM="xcb", DISPLAY=display)
    pend = Series("pendulix, silent run, offscreen")
    peer = Series("rdate -p time.nist.gov")
    commands = [
        (pend, lambda: measure(program, folder, offscreen), expect_ok("pendulix offscreen")),
        (peer, lambda: measure([RDATE, "-p", SERVER]), expect_ok("rdate")),
    ]
    extra = [Series("pendulix, silent run, minimal")]
    commands.append((extra[0], lambda: measure(program, folder, minimal),
                     expect_ok("pendulix minimal")))
    if display:
        extra.append(Series("pendulix, silent run, xcb on Xvfb"))
        commands.append((extra[-1], lambda: measure(program, folder, xcb),
                         expect_ok("pendulix xcb")))
    alternate(commands, args.rounds)
    table([pend, peer] + extra)
    ratio = statistics.median(pend.wall) / statistics.median(peer.wall)
    print(f"\nwall, median pendulix offscreen / median rdate -p: {ratio:.1f}x (goal: 10x)")
    for s in extra:
        print(f"wall, median {s.name} / median rdate -p: "
              f"{statistics.median(s.wall) / statistics.median(peer.wall):.1f}x")
    print(f"CPU, median pendulix offscreen / median rdate -p: "
          f"{statistics.median(pend.cpu) / max(statistics.median(peer.cpu), 1e-6):.0f}x")
    shutil.rmtree(folder)


def proc_cpu(pid):
    """CPU seconds of all the process's threads so far: the scheduler's nanosecond count
    (schedstat), else utime+stime in clock ticks."""
    try:
        total = 0
        for task in os.listdir(f"/proc/{pid}/task"):
            with open(f"/proc/{pid}/task/{task}/schedstat") as schedstat:
                total += int(schedstat.read().split()[0])
        return total / 1e9
    except (OSError, ValueError):
        with open(f"/proc/{pid}/stat") as stat:
            fields = stat.read().rsplit(")", 1)[1].split()
        return (int(fields[11]) + int(fields[12])) / CLK_TCK


def wait_share(args):
    print("\n## 2. CPU while a query waits out its time limit\n")
    folder = program_dir(args.pendulix, {"SilentMode": 1, "AskDisconnect": 0, "LogFile": 0})
    env = environment(QT_QPA_PLATFORM="offscreen", DISPLAY=None)
    print("| pendulix, Time query on a silent server (limit 5000 ms) | CPU before the window "
          "(start-up) | window | CPU in the window | share |")
    print("|---|---|---|---|---|")
    shares = []
    with Fixture("37:silent", "13:silent"):
        for _ in range(3):
            proc = subprocess.Popen([str(folder / "pendulix")], cwd=folder, env=env,
                                    stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                    stderr=subprocess.DEVNULL)
            start = time.perf_counter()
            time.sleep(1.5)
            cpu0, t0 = proc_cpu(proc.pid), time.perf_counter()
            time.sleep(3.0)
            cpu1, t1 = proc_cpu(proc.pid), time.perf_counter()
            alive = proc.poll() is None
            proc.kill()
            proc.wait()
            if not alive:
                sys.exit("pendulix ended during the wait: was the query waiting?")
            share = (cpu1 - cpu0) / (t1 - t0)
            shares.append(share)
            print(f"| run | {cpu0 * 1000:.1f} ms | {t0 - start:.1f}–{t1 - start:.1f} s | {(cpu1 - cpu0) * 1000:.2f} ms "
                  f"| {share * 100:.3f} % |")
    print(f"\nshare min/median/max: {min(shares) * 100:.3f} / "
          f"{statistics.median(shares) * 100:.3f} / {max(shares) * 100:.3f} % (goal: under 2 %)")
    shutil.rmtree(folder)
    if args.query_bench:
        print("\nbench/QueryBench (fake backend, getrusage against the steady clock):\n")
        with Fixture("45801:send:EA0593F0", "45802:silent"):
            sys.stdout.flush()
            subprocess.run([args.query_bench, "45801", "45802", "45803"], check=True)


class FirstContact:
    """Listens on port 37 and records when each connection arrives; answers the time."""

    def __init__(self):
        self.server = socket.create_server(("127.0.0.1", 37), reuse_port=False)
        self.arrivals = queue.Queue()
        threading.Thread(target=self.loop, daemon=True).start()

    def loop(self):
        while True:
            try:
                conn, _ = self.server.accept()
            except OSError:  # closed
                return
            self.arrivals.put(time.perf_counter())
            count = (int(time.time()) - 120 + SECONDS_1900_TO_1970) % (1 << 32)
            try:
                conn.sendall(count.to_bytes(4, "big"))
            finally:
                conn.close()

    def close(self):
        self.server.shutdown(socket.SHUT_RDWR)  # wakes the accept() in the thread
        self.server.close()

    def drain(self):
        while not self.arrivals.empty():
            self.arrivals.get_nowait()


def start_up(args, display):
    print(f"\n## 3. Start-up to the window shown ({args.rounds} rounds)\n")
    folder = program_dir(args.pendulix, {"SilentMode": 0, "AutoSynchro": 1, "AskDisconnect": 0,
                                         "LogFile": 0})
    program = [str(folder / "pendulix")]
    contact = FirstContact()
    maps = queue.Queue()
    xev = None
    if display:
        xev = subprocess.Popen(["stdbuf", "-oL", "xev", "-root", "-event", "substructure"],
                               env=environment(DISPLAY=display), stdout=subprocess.PIPE,
                               stderr=subprocess.DEVNULL, text=True)

        def read_xev():
            for line in xev.stdout:
                if line.startswith("MapNotify"):
                    maps.put(time.perf_counter())
        threading.Thread(target=read_xev, daemon=True).start()
        time.sleep(0.5)
    platforms = [("offscreen", environment(QT_QPA_PLATFORM="offscreen", DISPLAY=None))]
    if display:
        platforms.append(("xcb on Xvfb", environment(QT_QPA_PLATFORM="xcb", DISPLAY=display)))
    shown = {name: [] for name, _ in platforms}
    contacted = {name: [] for name, _ in platforms}
    for r in range(args.rounds + 1):  # the first round warms up
        for name, env in (platforms if r % 2 == 0 else platforms[::-1]):
            contact.drain()
            while not maps.empty():
                maps.get_nowait()
            start = time.perf_counter()
            proc = subprocess.Popen(program, cwd=folder, env=env, stdin=subprocess.DEVNULL,
                                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            try:
                arrived = contact.arrivals.get(timeout=20)
                mapped = maps.get(timeout=5) if name != "offscreen" else None
            except queue.Empty:
                sys.exit(f"start-up ({name}): no window or no connection within 20 s")
            finally:
                proc.kill()
                proc.wait()
            if r == 0:
                continue
            contacted[name].append(arrived - start)
            if mapped is not None:
                shown[name].append(mapped - start)
    print("| pendulix (SilentMode=0, AutoSynchro=1) | window mapped, ms min/median/max "
          "| first connection to port 37, ms min/median/max |")
    print("|---|---|---|")
    for name, _ in platforms:
        mapped = Series.mmm(shown[name], 1000, "%.1f") if shown[name] else "(not visible)"
        print(f"| {name} | {mapped} | {Series.mmm(contacted[name], 1000, '%.1f')} |")
    if xev:
        xev.kill()
    contact.close()
    shutil.rmtree(folder)


def wine_runs(args):
    print(f"\n## 4. Pendulix.exe's silent run under Wine ({args.wine_rounds} rounds, for "
          "information)\n")
    folder = program_dir(args.exe, {"SilentMode": 1, "AskDisconnect": 0, "LogFile": 0})
    exe = Series("Pendulix.exe, silent run (wine-run.sh)")
    baseline = Series("hostname.exe (Wine's start alone)")
    peer = Series("rdate -p time.nist.gov")
    commands = [
        (exe, lambda: measure([str(WINE_RUN), str(folder / "Pendulix.exe")], folder),
         expect_ok("Pendulix.exe")),
        (baseline, lambda: measure([str(WINE_RUN), "hostname.exe"], folder),
         expect_ok("hostname.exe")),
        (peer, lambda: measure([RDATE, "-p", SERVER]), expect_ok("rdate")),
    ]
    alternate(commands, args.wine_rounds)
    table([exe, baseline, peer])
    print("\n(CPU and RSS: the process tree that wine-run.sh waits for; the wineserver, started "
          "before, is not counted)")
    shutil.rmtree(folder)


def sizes(args):
    print("\n## 5. File sizes\n")
    print("| file | as built | stripped |")
    print("|---|---|---|")
    for path, strip in ((args.exe, "x86_64-w64-mingw32-strip"), (args.pendulix, "strip")):
        if not path:
            continue
        stripped = tempfile.mktemp()
        subprocess.run([strip, "-o", stripped, path], check=True)
        built, small = os.path.getsize(path), os.path.getsize(stripped)
        os.unlink(stripped)
        print(f"| {Path(path).name} | {built:,} bytes ({built / 2**20:.2f} MiB) "
              f"| {small:,} bytes ({small / 2**20:.2f} MiB) |")


def main():
    p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    p.add_argument("--pendulix", required=True)
    p.add_argument("--exe", help="Pendulix.exe; needs the sandbox's --wine")
    p.add_argument("--query-bench")
    p.add_argument("--rounds", type=int, default=20)
    p.add_argument("--wine-rounds", type=int, default=5)
    args = p.parse_args()
    if not in_sandbox():
        sys.exit("peer_bench.py runs the real programs: start it through bench/run-peer-bench.sh")
    display = os.environ.get("DISPLAY")
    print(f"# pendulix against rdate -p, {time.strftime('%Y-%m-%d %H:%M')}, "
          f"{os.cpu_count()} CPUs, {RDATE}")
    with Fixture("37:now:-120", "13:daytime-now:-120"):
        silent_runs(args, display)
    wait_share(args)
    start_up(args, display)
    if args.exe:
        with Fixture("37:now:-120", "13:daytime-now:-120"):
            wine_runs(args)
    sizes(args)


if __name__ == "__main__":
    main()
