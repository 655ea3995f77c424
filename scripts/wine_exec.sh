#!/bin/sh
# Runs a Windows program of a build under Wine: wine_exec.sh BUILD_FOLDER PROGRAM [ARGS...]
set -e
QM_BUILD=$1
shift
. "$(dirname "$0")/wine_env.sh"
qm_ensure_display
qm_ensure_prefix
exec wine "$@"
