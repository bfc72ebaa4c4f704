#!/usr/bin/env bash
# wine-run.sh PROGRAM.exe [ARGS...]
# Runs a Windows program under Wine in a fresh, temporary prefix, the way every Wine test runs
# (see scripts/wine-prefix.sh), and waits for the prefix's wineserver before it is removed.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-prefix.sh"
scenewright_fresh_prefix wine
"$wineserver" -w

program=$1
shift
cd "$(dirname "$program")"
"$wine" "$program" "$@"
status=$?
"$wineserver" -w
exit $status
