#!/usr/bin/env bash
# Where a silent run of pendulix spends its time: callgrind's instruction counts (repeatable,
# unlike wall time) by function, inclusive, and strace's timeline of the files opened.
#   bench/profile-silent-run.sh LINUX_BUILD [OUT_DIR]
# Runs inside scripts/sandbox with the fixture server on ports 37 and 13; the full reports stay
# in OUT_DIR (default: a new folder under /tmp). Figures and how to read them: bench/README.md.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
pendulix=$(cd "${1:?usage: $0 LINUX_BUILD [OUT_DIR]}" && pwd)/bin/pendulix
out=${2:-$(mktemp -d "${TMPDIR:-/tmp}/pendulix-profile.XXXXXX")}
mkdir -p "$out"
out=$(cd "$out" && pwd)
for tool in valgrind callgrind_annotate strace; do
    command -v $tool >/dev/null || { echo "profile-silent-run.sh: $tool missing" >&2; exit 1; }
done
"$here/../scripts/sandbox" --online --hosts time.nist.gov bash -c '
  set -e
  root=$1 pendulix=$2 out=$3
  dir=$(mktemp -d)
  cp "$pendulix" "$dir/"
  printf "[config]\r\nSilentMode=1\r\nAskDisconnect=0\r\nLogFile=0\r\n" >"$dir/Pendulix.ini"
  python3 "$root/tests/fixtures/timeserver.py" --listen 37:now:-120 --listen 13:daytime-now:-120 \
    --ready-file "$dir/ready" --background --lifetime 300
  trap "python3 \"$root/tests/fixtures/timeserver.py\" --stop \"$dir/ready\"; rm -rf \"$dir\"" EXIT
  cd "$dir"
  export QT_QPA_PLATFORM=offscreen
  unset DISPLAY
  ./pendulix   # warm the caches
  strace -f -tt -e trace=openat,connect,exit_group -o "$out/strace.txt" ./pendulix
  strace -f -c -o "$out/strace-summary.txt" ./pendulix
  valgrind --tool=callgrind --callgrind-out-file="$out/callgrind.out" ./pendulix 2>"$out/valgrind.txt"
' _ "$here/.." "$pendulix" "$out"
callgrind_annotate --inclusive=yes "$out/callgrind.out" >"$out/callgrind-inclusive.txt"
echo "Instructions, inclusive (the big items of a silent run):"
sed '/Auto-annotated source/q' "$out/callgrind-inclusive.txt" | grep -E "PROGRAM TOTALS|_dl_start |dl_main|TApplication::Initialize|QApplication::QApplication|QIcon::addFile|png_read_image|TForm::CreateHandle|QFontDatabase::hasFamily|FcInitLoadConfigAndFonts|XML_ParseBuffer \[|createPlatformIntegration|QFactoryLoader::instance|TForm1::Button1Click|TSyncRun::Execute" \
    | grep -v "=>" | sed -E 's/ \[[^]]*\]$//; s/  (\?\?\?|[^ ]*\.(c|cpp|h|S)):/  /' | awk '!seen[$3]++' | cut -c1-150
echo
echo "Timeline under strace (ms from exec; strace slows every call):"
awk '$3 !~ /ENOENT/ {print}' "$out/strace.txt" | awk '
  { split($2, t, ":"); s = t[1] * 3600 + t[2] * 60 + t[3]; if (!t0) t0 = s }
  /libQt6Widgets|libgpg-error|plugins\/platforms"|plugins\/imageformats"|fonts.conf"|\/usr\/share\/fonts"|Pendulix.ini|htons\(37\)|exit_group/ {
    if (!seen[$3 $4]++) printf "  %6.1f  %s %s\n", (s - t0) * 1000, $3, $4 }' | cut -c1-120
echo
echo "Shared objects opened: $(grep -c '\.so[.0-9]*", O_RDONLY|O_CLOEXEC) = [0-9]' "$out/strace.txt")"
echo "fontconfig files opened: $(grep -c 'fontconfig\|/etc/fonts' "$out/strace.txt")"
echo "Reports: $out"
