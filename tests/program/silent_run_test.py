#!/usr/bin/env python3
"""An unattended start: SilentMode=1 and AskDisconnect=0, nobody at the screen.

With a time server that answers, the program sets the clock (refused by the sandbox's kernel,
which it does not notice), writes its log line when asked to, and ends by itself with status 0.
Offline, it asks the system to dial: Wine's dial-up stub says yes, so Pendulix.exe goes on with
its run, while the Linux stand-in cannot dial, so pendulix ends without one. When the server
refuses, the run fails quietly, and a hidden program with nothing to show ends by itself
rather than stay behind unreachable; the log stays untouched.
"""
import sys
from dataclasses import dataclass

import harness
from harness import DAYTIME_PORT, TIME_PORT, Network, ProgramDir, check

# A whole run on the loopback takes about 3 s under Wine; the bound leaves room for a slow
# machine while still catching a run that waits on something it should not.
END_BOUND = 30

UNATTENDED = {"SilentMode": 1, "AskDisconnect": 0}
DIALS = harness.is_windows_program(harness.program_file())
ANSWERING = {TIME_PORT: "now", DAYTIME_PORT: "daytime-now"}


@dataclass
class Case:
    name: str
    settings: dict
    network: Network
    log_lines: int | None  # lines in Pendulix.log afterwards; None: no log file
    status: int | None = 0  # None: any exit status will do


CASES = [
    Case("answering server", UNATTENDED, Network(ANSWERING), log_lines=None),
    Case("answering server, logged", {**UNATTENDED, "LogFile": 1}, Network(ANSWERING),
         log_lines=1),
    Case("answering server, date too", {**UNATTENDED, "LogFile": 1, "CorrigeDate": 1},
         Network(ANSWERING), log_lines=1),
    Case("offline", {**UNATTENDED, "LogFile": 1}, Network(ANSWERING, online=False),
         log_lines=1 if DIALS else None),
    # How it ends after a failed query is the program's own choice: no status is required.
    Case("server refuses", {**UNATTENDED, "LogFile": 1}, Network({}), log_lines=None,
         status=None),
]


def run_case(case):
    with ProgramDir(settings=case.settings) as program:
        ini_before = program.ini_path.read_bytes()
        result = program.run(timeout=END_BOUND, network=case.network)
        check(not result.timed_out, f"did not end within {END_BOUND} s", result)
        if case.status is not None:
            check(result.status == case.status, f"ended with a status other than {case.status}",
                  result)
        if case.log_lines is None:
            check(result.log is None, "wrote a log file", result)
        else:
            check(result.log is not None, "wrote no log file", result)
            lines = result.log.split(b"\r\n")
            check(lines[-1] == b"", "log does not end with CR LF", result)
            check(len(lines) - 1 == case.log_lines, f"log has not {case.log_lines} line(s)",
                  result)
            check(all(lines[:-1]) and b"\n" not in result.log.replace(b"\r\n", b""),
                  "log has empty lines or bare line ends", result)
        check(program.ini_path.read_bytes() == ini_before, "changed Pendulix.ini", result)
        return result


def main():
    harness.require_sandbox()
    wanted = sys.argv[1:]
    return harness.run_cases(CASES, run_case, wanted)


if __name__ == "__main__":
    sys.exit(main())
