#!/usr/bin/env bash
# pendulix (and Pendulix.exe) against Debian's rdate, side by side, inside one sandbox.
#   bench/run-peer-bench.sh LINUX_BUILD [WINDOWS_BUILD] [-- peer_bench.py options]
# LINUX_BUILD holds bin/pendulix (and bin/query_bench, when built); WINDOWS_BUILD holds
# bin/Pendulix.exe. Figures and how to read them: bench/README.md.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
usage="usage: $0 LINUX_BUILD [WINDOWS_BUILD] [-- --rounds N --wine-rounds M]"
linux=$(cd "${1:?$usage}" && pwd)
shift
args=(--pendulix "$linux/bin/pendulix")
[ -x "$linux/bin/query_bench" ] && args+=(--query-bench "$linux/bin/query_bench")
sandbox=(--x11 --online --hosts time.nist.gov)
if [ $# -gt 0 ] && [ "$1" != -- ]; then
    args+=(--exe "$(cd "$1" && pwd)/bin/Pendulix.exe")
    sandbox+=(--wine)
    shift
fi
[ "${1:-}" = -- ] && shift
command -v rdate >/dev/null || [ -x /usr/sbin/rdate ] || {
    echo "run-peer-bench.sh: rdate missing; run scripts/setup" >&2
    exit 1
}
exec "$here/../scripts/sandbox" "${sandbox[@]}" python3 "$here/peer_bench.py" "${args[@]}" "$@"
