# Sourced by the scripts that run Windows programs under Wine. Finds Wine's loaders and server,
# and makes a fresh, temporary prefix the way every Wine test runs: no debug chatter, no
# Mono/Gecko prompts, no window-manager waits, its own X display when none is set (or always,
# with --own-display), and the prefix's wineserver stopped and the prefix removed on exit.
# Set SCENEWRIGHT_KEEP_PREFIX=1 to keep the prefix for a look afterwards.
# Booting a prefix takes Wine some 20 s. When SCENEWRIGHT_PREFIX_TEMPLATES names a folder that
# scenewright_make_templates filled, a new prefix is a copy of the freshly booted one there for
# its bitness instead, as the test command does for its many test programs.
# 64-bit programs run in a 64-bit prefix with the 64-bit loader; 32-bit ones (--win32) in a
# 32-bit prefix with the 32-bit loader (Debian's wine32:i386), as on the 32-bit Windows they are
# built for: one registry view, no WoW64 redirection.
wine=${WINE64:-/usr/lib/wine/wine64}
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
wineserver=${WINESERVER:-/usr/lib/wine/wineserver}
[ -x "$wineserver" ] || wineserver=$(command -v wineserver)
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="

# scenewright_fresh_prefix NAME [--own-display] [--win32]
scenewright_fresh_prefix() {
    local name=$1 own_display=0 arch=win64
    shift
    for option in "$@"; do
        case "$option" in
        --own-display) own_display=1 ;;
        --win32) arch=win32 ;;
        esac
    done
    if [ "$arch" = win32 ]; then
        wine=${WINE32:-/usr/lib/wine/wine}
        if [ ! -x "$wine" ]; then
            echo "$name: 32-bit programs need Wine's 32-bit loader $wine (Debian's wine32:i386;" \
                "scripts/packages.sh installs it)" >&2
            exit 1
        fi
    fi
    scenewright_prefix=$(mktemp -d "${TMPDIR:-/tmp}/scenewright-$name.XXXXXX")
    export WINEPREFIX=$scenewright_prefix WINEARCH=$arch
    scenewright_xvfb=
    trap scenewright_remove_prefix EXIT
    if [ -z "${DISPLAY:-}" ] || [ "$own_display" = 1 ]; then
        # Xvfb picks a free display number itself and tells it on the given descriptor. The screen
        # is one that people use at 200 % scaling, where the program's windows are twice as large.
        exec 9<> <(:)
        Xvfb -displayfd 9 -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
        scenewright_xvfb=$!
        local display
        read -r -t 20 display <&9 || { echo "$name: Xvfb did not start" >&2; exit 1; }
        export DISPLAY=:$display
    fi
    local template=${SCENEWRIGHT_PREFIX_TEMPLATES:-}/$arch
    if [ -n "${SCENEWRIGHT_PREFIX_TEMPLATES:-}" ] && [ -f "$template/.booted" ]; then
        cp -a "$template/." "$scenewright_prefix/" && rm -f "$scenewright_prefix/.booted" && return
    fi
    scenewright_boot_prefix
}

# Boots the prefix WINEPREFIX names with $wine. With Managed=N Wine draws captions itself and
# does not wait about 2 s each time a window is hidden.
scenewright_boot_prefix() {
    "$wine" wineboot -i >/dev/null 2>&1
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
    "$wineserver" -w
}

# scenewright_make_templates FOLDER: a freshly booted prefix of each bitness there (the 32-bit one
# when the 32-bit loader is installed), both booted at once, each marked .booted when done.
scenewright_make_templates() {
    local folder=$1 arch loader pids=()
    rm -rf "$folder"
    for arch in win64 win32; do
        loader=$wine
        if [ "$arch" = win32 ]; then
            loader=${WINE32:-/usr/lib/wine/wine}
            [ -x "$loader" ] || continue
        fi
        mkdir -p "$folder/$arch"
        (
            export WINEPREFIX=$folder/$arch WINEARCH=$arch
            wine=$loader
            scenewright_boot_prefix && touch "$WINEPREFIX/.booted"
        ) &
        pids+=($!)
    done
    local status=0
    for pid in "${pids[@]}"; do
        wait "$pid" || status=1
    done
    return $status
}

# The prefix option a Windows program needs: --win32 for a 32-bit (i386) one, nothing otherwise.
scenewright_arch_of() {
    local pe machine
    pe=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
    [ -n "$pe" ] || return 0
    machine=$(od -An -tx2 -j$((pe + 4)) -N2 "$1" 2>/dev/null | tr -d ' ')
    [ "$machine" = 014c ] && echo --win32
    return 0
}

scenewright_remove_prefix() {
    "$wineserver" -k >/dev/null 2>&1
    [ -n "$scenewright_xvfb" ] && kill "$scenewright_xvfb" 2>/dev/null
    [ "${SCENEWRIGHT_KEEP_PREFIX:-0}" = 1 ] || rm -rf "$scenewright_prefix"
}
