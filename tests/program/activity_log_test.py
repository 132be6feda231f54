#!/usr/bin/env python3
"""Two unattended runs with LogFile=1 leave a log of two lines, in Windows-1252 with CR LF,
each in the format of the French locale; the sandbox's kernel refuses the clock, so each line
ends with the refusal."""
import os
import re
import sys

import harness
from harness import DAYTIME_PORT, TIME_PORT, Network, ProgramDir, check

END_BOUND = 30  # seconds for one whole run, sandbox and Wine start included

# The server's clock is two hours behind the machine's, so the machine's was ahead.
NETWORK = Network({TIME_PORT: "now:-7200", DAYTIME_PORT: "daytime-now:-7200"})
SETTINGS = {"SilentMode": 1, "AskDisconnect": 0, "LogFile": 1}

DATE = r"\d\d/\d\d/\d{4}"
TIME = r"\d\d:\d\d:\d\d"
LINE = re.compile(
    "^Exécution : " + DATE + "(?: " + TIME + ")? - Nouvelle heure : " + TIME +
    r" - Le PC avançait de 2 heures\. - Correction refusée par le système\.$")


def main():
    harness.require_sandbox()
    env = dict(os.environ, LANG="fr_FR.UTF-8", LC_ALL="fr_FR.UTF-8")
    with ProgramDir(settings=SETTINGS) as program:
        for run in (1, 2):
            result = program.run(timeout=END_BOUND, env=env, network=NETWORK)
            check(not result.timed_out and result.status == 0,
                  f"run {run} did not end by itself with status 0", result)
        log = result.log
        check(log is not None and log.endswith(b"\r\n"), "no log ending with CR LF", result)
        lines = log.split(b"\r\n")[:-1]
        check(len(lines) == 2, "the log has not two lines", result)
        check(b"\n" not in log.replace(b"\r\n", b""), "a bare line end in the log", result)
        for line in lines:
            check(line.startswith(b"Ex\xe9cution : "), "not Windows-1252", result)
            check(LINE.match(line.decode("cp1252")), f"line in a wrong format: {line!r}", result)
    print("ok    two runs, two lines")
    return 0


if __name__ == "__main__":
    sys.exit(main())
