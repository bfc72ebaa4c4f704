#!/usr/bin/env bash
# wine-templates.sh FOLDER | --remove FOLDER
# Boots the prefixes that the Wine tests of one test run copy instead of booting one each (see
# scripts/wine-prefix.sh), or removes them again at the end of the run.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-prefix.sh"
if [ "${1:-}" = --remove ]; then
    rm -rf "${2:?wine-templates.sh --remove FOLDER}"
    exit 0
fi
folder=${1:?wine-templates.sh FOLDER}
# Booting opens no window, but Wine's display driver wants a display to talk to.
if [ -z "${DISPLAY:-}" ]; then
    exec 9<> <(:)
    Xvfb -displayfd 9 -screen 0 640x480x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    trap 'kill $xvfb 2>/dev/null' EXIT
    read -r -t 20 display <&9 || { echo "wine-templates: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$display
fi
scenewright_make_templates "$folder"
