#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit Windows program and starts it under Wine in a
# prefix of its own, with the placement checker installed as the scenery compiler BGLC.EXE next
# to the program. The simulator is a generated FS2004 install (made once, in the prefix), or the
# real install folder given with --sim PATH.
#   scripts/run.sh [--sim PATH] [--fresh]
set -euo pipefail
cd "$(dirname "$0")/.."

sim=
fresh=0
while [ $# -gt 0 ]; do
    case "$1" in
    --sim) sim=${2:?--sim needs a folder}; shift 2 ;;
    --fresh) fresh=1; shift ;;
    *) echo "usage: scripts/run.sh [--sim PATH] [--fresh]" >&2; exit 2 ;;
    esac
done

source scripts/packages.sh
scenewright_install_packages

cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j "$(nproc)" --target Scenewright bglc-check simgen
bin=build/windows-x64

export WINEPREFIX=${WINEPREFIX:-$HOME/.scenewright-wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=${WINE64:-/usr/lib/wine/wine64}
[ -x "$wine" ] || wine=$(command -v wine64 || command -v wine)
[ "$fresh" = 1 ] && rm -rf "$WINEPREFIX"
if [ -z "${DISPLAY:-}" ]; then
    echo "No DISPLAY: starting a virtual one (Xvfb :77)"
    Xvfb :77 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    export DISPLAY=:77
    sleep 1
fi
[ -d "$WINEPREFIX" ] || "$wine" wineboot -i >/dev/null 2>&1

# The program and the compiler it runs, side by side in the prefix.
app="$WINEPREFIX/drive_c/Scenewright"
mkdir -p "$app"
cp "$bin/src/app/Scenewright.exe" "$app/"
cp "$(find "$bin/tools/checker" -maxdepth 1 -iname 'bglc-check.exe' | head -1)" "$app/BGLC.EXE"
simgen=$(find "$bin/tools/simgen" -maxdepth 1 -iname 'simgen.exe' | head -1)

if [ -n "$sim" ]; then
    [ -d "$sim" ] || { echo "run.sh: no folder $sim" >&2; exit 1; }
    simFolder=$(WINEDEBUG=-all "$wine" winepath -w "$(realpath "$sim")" 2>/dev/null | tr -d '\r')
else
    simFolder='C:\FS2004Demo'
    if [ ! -d "$WINEPREFIX/drive_c/FS2004Demo" ]; then
        "$wine" "$simgen" write "$simFolder" --version 6
    fi
fi
# FS2004's registry entry (index 6), where the program looks for the install.
"$wine" "$simgen" register "$simFolder" --version 6

cd "$app"
exec "$wine" Scenewright.exe
