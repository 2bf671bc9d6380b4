#!/usr/bin/env bash
# How CTest runs a Windows test program under Wine: scripts/wine-run.sh PROGRAM [ARGUMENTS]...
# Now and then Wine fails to start a program at all: it ends at once with a failure before the
# program has written a byte. A test program always writes before its first test, so only such
# a run is made again, twice at the most; what a run that started says, and its exit status, are
# passed on as they are, so a crash still fails.
set -u
out=$(mktemp)
err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
for _ in 1 2 3; do
    wine "$@" >"$out" 2>"$err"
    status=$?
    if [ "$status" -eq 0 ] || [ -s "$out" ] || [ -s "$err" ]; then
        break
    fi
done
cat "$out"
cat "$err" >&2
exit "$status"
