# Sourced by the scripts that run Windows programs under Wine. Finds Wine's 64-bit loader and
# server, and makes a fresh, temporary prefix the way every Wine test runs: no debug chatter, no
# Mono/Gecko prompts, no window-manager waits, its own X display when none is set (or always,
# with --own-display), and the prefix's wineserver stopped and the prefix removed on exit.
# Set SCENEWRIGHT_KEEP_PREFIX=1 to keep the prefix for a look afterwards.
wine=${WINE64:-/usr/lib/wine/wine64}
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# scenewright_fresh_prefix NAME [--own-display]
scenewright_fresh_prefix() {
    scenewright_prefix=$(mktemp -d "${TMPDIR:-/tmp}/scenewright-$1.XXXXXX")
    export WINEPREFIX=$scenewright_prefix WINEARCH=win64
    scenewright_xvfb=
    trap scenewright_remove_prefix EXIT
    if [ -z "${DISPLAY:-}" ] || [ "${2:-}" = --own-display ]; then
        # Xvfb picks a free display number itself and tells it on the given descriptor. The screen
        # is one that people use at 200 % scaling, where the program's windows are twice as large.
        exec 9<> <(:)
        Xvfb -displayfd 9 -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
        scenewright_xvfb=$!
        local display
        read -r -t 20 display <&9 || { echo "$1: Xvfb did not start" >&2; exit 1; }
        export DISPLAY=:$display
    fi
    # With Managed=N Wine draws captions itself and does not wait about 2 s each time a window
    # is hidden.
    "$wine" wineboot -i >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
}

scenewright_remove_prefix() {
    "$wineserver" -k >/dev/null 2>&1
    [ -n "$scenewright_xvfb" ] && kill "$scenewright_xvfb" 2>/dev/null
    [ "${SCENEWRIGHT_KEEP_PREFIX:-0}" = 1 ] || rm -rf "$scenewright_prefix"
}
