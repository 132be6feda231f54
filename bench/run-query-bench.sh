#!/usr/bin/env bash
# Runs query_bench against the fixture server, inside the sandbox (loopback only).
#   bench/run-query-bench.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
exec "$here/../scripts/sandbox" bash -c '
  set -e
  pid=$(mktemp -u)
  python3 "$0/../tests/fixtures/timeserver.py" --background --ready-file "$pid" --lifetime 120 \
    --listen 45801:send:EA0593F0 --listen 45802:silent
  trap "python3 \"$0/../tests/fixtures/timeserver.py\" --stop \"$pid\"" EXIT
  "$1/bin/query_bench" 45801 45802 45803
' "$here" "$build"
