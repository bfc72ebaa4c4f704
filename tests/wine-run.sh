#!/usr/bin/env bash
# wine-run.sh PROGRAM.exe [ARGS...]
# Runs a Windows program under Wine in a fresh, temporary prefix, the way every Wine test runs:
# no debug chatter, no Mono/Gecko prompts, no window-manager waits, its own X display when none
# is set, and the prefix's wineserver waited for and the prefix removed at the end.
# Set SCENEWRIGHT_KEEP_PREFIX=1 to keep the prefix for a look afterwards.
set -uo pipefail

wine=${WINE64:-/usr/lib/wine/wine64}
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)

prefix=$(mktemp -d "${TMPDIR:-/tmp}/scenewright-wine.XXXXXX")
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64

xvfb_pid=
cleanup() {
    WINEPREFIX=$prefix "$wineserver" -k >/dev/null 2>&1
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
    [ "${SCENEWRIGHT_KEEP_PREFIX:-0}" = 1 ] || rm -rf "$prefix"
}
trap cleanup EXIT

if [ -z "${DISPLAY:-}" ]; then
    # Xvfb picks a free display number itself and tells it on the given descriptor.
    exec 9<> <(:)
    Xvfb -displayfd 9 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    read -r -t 20 display <&9 || { echo "wine-run: Xvfb did not start" >&2; exit 1; }
    export DISPLAY=:$display
fi

# Prefix set-up, then no window manager waits: with Managed=N Wine draws captions itself and
# does not wait about 2 s each time a window is hidden.
"$wine" wineboot -i >/dev/null 2>&1
"$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
"$wineserver" -w

program=$1
shift
cd "$(dirname "$program")"
"$wine" "$program" "$@"
status=$?
"$wineserver" -w
exit $status
