#!/usr/bin/env python3
"""An unattended run against a time server that misbehaves on one port at a time.

Whatever the server does, the program ends by itself with status 0; it asks the clock only
for the server's time (on the Daytime date when that date is valid, else on the clock's date
nearest to the server's time); and it adds a log line only after a complete run, keeping the
old lines byte for byte. A failed run leaves the log exactly as it was.
"""
import datetime
import os
import re
import sys
import time
from concurrent.futures import ThreadPoolExecutor
from dataclasses import dataclass

import harness
from harness import DAYTIME_PORT, TIME_PORT, Network, ProgramDir, check

# Each query waits at most three times 5 s (lookup, connect, answer): 30 s for both queries at
# the very worst. Starting the sandbox and Wine adds about 3 s; the rest is margin for a
# loaded machine running the cases side by side.
END_BOUND = 40

SERVER_OFFSET = -7200  # the server's clock is two hours behind the machine's
SECONDS_1900_TO_1970 = 2208988800
VALUE_TOLERANCE = 60  # seconds; the log shows whole seconds of a value taken during the run

SETTINGS = {"SilentMode": 1, "AskDisconnect": 0, "LogFile": 1, "CorrigeDate": 1}
OLD_LOG = (
    "Exécution : 03/02/2025 08:15:02 - PC à l'heure.\r\n"
    "Exécution : 04/02/2025 08:15:07 - Erreur de connexion au serveur.\r\n"
).encode("cp1252")

NEW_VALUE = re.compile(
    r" - Nouvelle date : (\d\d/\d\d/\d{4}) - Nouvelle heure : (\d\d:\d\d:\d\d) ")
REFUSED_END = " - Correction refusée par le système.".encode("cp1252")


def server_now():
    return datetime.datetime.now(datetime.timezone.utc) + datetime.timedelta(
        seconds=SERVER_OFFSET)


def hexa(data):
    # The server's arguments are split at colons: hexadecimal carries any byte, colon included.
    return data.hex().upper()


def time_answer():
    count = int(time.time()) + SERVER_OFFSET + SECONDS_1900_TO_1970
    return count.to_bytes(4, "big")


def daytime_with_nuls():
    # The server's date, not the machine's: they differ in the first two hours of a UTC day.
    return b"\0\0 " + server_now().strftime("%y-%m-%d").encode() + b" 12:00:00\r\n"


def split_answer(answer):
    return f"split:{hexa(answer[:2])}:300:{hexa(answer[2:])}"


# Behaviours built right before each run, so that fixed answers carry the current time.
TIME_OK = lambda: f"now:{SERVER_OFFSET}"
DAYTIME_OK = lambda: f"daytime-now:{SERVER_OFFSET}"


@dataclass
class Case:
    name: str
    time_port: object  # callable giving the behaviour on 37, or None for nothing listening
    daytime_port: object  # the same for 13
    complete: bool  # the run ends with a log line


CASES = [
    Case("normal", TIME_OK, DAYTIME_OK, complete=True),
    Case("time split", lambda: split_answer(time_answer()), DAYTIME_OK, complete=True),
    Case("time extra byte", lambda: "send:" + hexa(time_answer() + b"\0"), DAYTIME_OK,
         complete=False),
    Case("time closes without data", lambda: "send:", DAYTIME_OK, complete=False),
    Case("time silent", lambda: "silent", DAYTIME_OK, complete=False),
    Case("time refused", None, DAYTIME_OK, complete=False),
    Case("time slow inside TimeOut", lambda: "slow:4000:" + hexa(time_answer()), DAYTIME_OK,
         complete=True),
    Case("time slow outside TimeOut", lambda: "slow:6500:" + hexa(time_answer()), DAYTIME_OK,
         complete=False),
    Case("time flood", lambda: "flood:100000", DAYTIME_OK, complete=False),
    Case("daytime silent", TIME_OK, lambda: "silent", complete=False),
    Case("daytime garbage", TIME_OK, lambda: "send:" + hexa(b"hello world\r\n"), complete=True),
    Case("daytime with NUL bytes", TIME_OK, lambda: "send:" + hexa(daytime_with_nuls()),
         complete=True),
    Case("daytime impossible date", TIME_OK, lambda: "send:" + hexa(b"26-13-45 12:00:00\r\n"),
         complete=True),
    Case("daytime flood", TIME_OK, lambda: "flood:100000", complete=False),
]


def run_case(case):
    env = dict(os.environ, LANG="fr_FR.UTF-8", LC_ALL="fr_FR.UTF-8", TZ="UTC")
    with ProgramDir(settings=SETTINGS, log=OLD_LOG) as program:
        listen = {}
        if case.time_port:
            listen[TIME_PORT] = case.time_port()
        if case.daytime_port:
            listen[DAYTIME_PORT] = case.daytime_port()
        earliest = server_now()
        result = program.run(timeout=END_BOUND, env=env, network=Network(listen))
        latest = server_now()
        check(not result.timed_out, f"did not end by itself within {END_BOUND} s", result)
        check(result.status == 0, "ended with a status other than 0", result)
        log = result.log
        if not case.complete:
            check(log == OLD_LOG, "the log changed after a failed run", result)
            return result
        check(log is not None and log.startswith(OLD_LOG), "the old log lines were not kept",
              result)
        new = log[len(OLD_LOG):]
        check(new.endswith(b"\r\n") and b"\r" not in new[:-2] and b"\n" not in new[:-2]
              and len(new) > 2, "not exactly one new line ending in CR LF", result)
        line = new[:-2]
        check(line.endswith(REFUSED_END), "the new line does not end with the refusal", result)
        found = NEW_VALUE.search(line.decode("cp1252"))
        check(found, "no new date and time in the line", result)
        asked = datetime.datetime.strptime(" ".join(found.groups()), "%d/%m/%Y %H:%M:%S")
        asked = asked.replace(tzinfo=datetime.timezone.utc)
        slack = datetime.timedelta(seconds=VALUE_TOLERANCE)
        check(earliest - slack <= asked <= latest + slack,
              f"asked the clock for {asked:%d/%m/%Y %H:%M:%S}, the server's UTC time was "
              f"{earliest:%d/%m/%Y %H:%M:%S} to {latest:%d/%m/%Y %H:%M:%S}", result)
        return result


def attempt(case):
    try:
        result = run_case(case)
        return f"ok    {case.name}: {result.elapsed:.1f} s", True
    except AssertionError as failure:
        return f"FAIL  {case.name}: {failure}", False


def main():
    harness.require_sandbox()
    wanted = sys.argv[1:]
    cases = [case for case in CASES if not wanted or case.name in wanted]
    # Each run has its own sandbox, network and wineserver, so cases may overlap.
    began = time.monotonic()
    with ThreadPoolExecutor(max_workers=3) as pool:
        outcomes = []
        for message, ok in pool.map(attempt, cases):
            print(message, flush=True)
            outcomes.append(ok)
    print(f"{len(cases)} cases in {time.monotonic() - began:.1f} s")
    return 0 if all(outcomes) else 1


if __name__ == "__main__":
    sys.exit(main())
