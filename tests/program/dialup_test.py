#!/usr/bin/env python3
"""The dial-up calls Pendulix.exe makes, as Wine's WinInet sees them (its InternetAutodial and
InternetAutodialHangup succeed without dialling; InternetGetConnectedState tells the truth:
connected only with a default route). Wine's relay trace shows every call with its arguments.
"""
import os
import re
import sys
from dataclasses import dataclass

import harness
from harness import DAYTIME_PORT, TIME_PORT, Network, ProgramDir, check

END_BOUND = 60  # seconds, a relay-traced run included
SKIPPED = 77  # ctest's SKIP_RETURN_CODE for program tests

ANSWERING = {TIME_PORT: "now", DAYTIME_PORT: "daytime-now"}
CALL = re.compile(rb"Call wininet\.(InternetAutodial|InternetAutodialHangup)\(([0-9a-f,]*)\)")


@dataclass
class Case:
    name: str
    settings: dict
    network: Network
    dials: list  # the flags of each InternetAutodial call
    hangups: int


UNATTENDED = {"SilentMode": 1, "AskDisconnect": 0}
CASES = [
    Case("offline dials unattended", {**UNATTENDED, "AutoConnect": 1},
         Network(ANSWERING, online=False), dials=[2], hangups=0),
    Case("offline dials with the user", UNATTENDED, Network(ANSWERING, online=False),
         dials=[0], hangups=0),
    Case("connected never dials", {**UNATTENDED, "AutoConnect": 1}, Network(ANSWERING),
         dials=[], hangups=0),
    Case("hangs up without asking", {**UNATTENDED, "AutoDisconnect": 1}, Network(ANSWERING),
         dials=[], hangups=1),
    Case("no hang-up after a failed query", {**UNATTENDED, "AutoDisconnect": 1},
         Network({}, online=False), dials=[0], hangups=0),
]


def run_case(case):
    env = dict(os.environ, WINEDEBUG="+relay")
    with ProgramDir(settings=case.settings) as program:
        result = program.run(timeout=END_BOUND, env=env, network=case.network)
        short = harness.Result(result.status, result.stdout, b"", result.elapsed, result.log,
                               result.timed_out)
        check(not result.timed_out and result.status == 0, "did not end by itself", short)
        calls = CALL.findall(result.stderr)
        dials = [int(args.split(b",")[0], 16) for name, args in calls
                 if name == b"InternetAutodial"]
        hangups = [args for name, args in calls if name == b"InternetAutodialHangup"]
        check(dials == case.dials, f"InternetAutodial flags {dials}, not {case.dials}", short)
        for name, args in calls:
            if name == b"InternetAutodial":
                check(int(args.split(b",")[1], 16) != 0, "dialled without the window", short)
        check(len(hangups) == case.hangups and all(int(a, 16) == 0 for a in hangups),
              f"{len(hangups)} hang-up(s), not {case.hangups}", short)
        return result


def main():
    harness.require_sandbox()
    if not harness.is_windows_program(harness.program_file()):
        print("skipped: WinInet is the Windows program's")
        return SKIPPED
    return harness.run_cases(CASES, run_case)


if __name__ == "__main__":
    sys.exit(main())
