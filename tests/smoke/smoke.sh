#!/usr/bin/env bash
# End to end on a real X server: the binary starts, answers --version and --help, refuses nonsense.
set -u
bin="$1"
fail=0
check() { if ! "$@"; then echo "FAILED: $*"; fail=1; fi; }

out=$("$bin" --version 2>&1); rc=$?
check [ "$rc" -eq 0 ]
check grep -q '1\.6\.2' <<<"$out"

out=$("$bin" --help 2>&1); rc=$?
check [ "$rc" -eq 0 ]
check grep -q 'Run in fullscreen view mode' <<<"$out"
check grep -q 'Open directory' <<<"$out"

"$bin" --no-such-option >/dev/null 2>&1; rc=$?
check [ "$rc" -ne 0 ]

[ "$fail" -eq 0 ] && echo "smoke: all checks passed"
exit "$fail"
