#!/bin/sh
# Runs a Windows program of a build under Wine: wine_exec.sh BUILD_FOLDER PROGRAM [ARGS...]
# The output goes through a file: Wine's own background processes, started on first use, would
# otherwise inherit the caller's pipe and keep it open after the program has ended.
set -e
QM_BUILD=$1
shift
. "$(dirname "$0")/wine_env.sh"
qm_ensure_display
qm_ensure_prefix
output=$(mktemp)
set +e
wine "$@" >"$output" 2>&1 </dev/null
status=$?
cat "$output"
rm -f "$output"
exit $status
