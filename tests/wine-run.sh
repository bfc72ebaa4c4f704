#!/usr/bin/env bash
# wine-run.sh PROGRAM.exe [ARGS...]
# Runs a Windows program under Wine in a fresh, temporary prefix, the way every Wine test runs
# (see scripts/wine-prefix.sh): a 32-bit program in a 32-bit prefix, a 64-bit one in a 64-bit
# prefix. Waits for the prefix's wineserver before the prefix is removed.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-prefix.sh"
program=$1
shift
# shellcheck disable=SC2046 # no option or exactly one
scenewright_fresh_prefix wine $(scenewright_arch_of "$program")
"$wineserver" -w

cd "$(dirname "$program")"
"$wine" "$program" "$@"
status=$?
"$wineserver" -w
exit $status
