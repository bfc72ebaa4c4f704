#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit Windows program and starts it under Wine in a
# prefix of its own, with the placement checker installed as the scenery compiler BGLC.EXE next
# to the program. The simulator is a generated FS2004 install (made once, in the prefix), or the
# real install folder given with --sim PATH. With --screenshot FILE it saves the README's picture
# instead (a library object picked, a position typed) and closes the program again. --dpi N sets
# the display scaling of the prefix (96 is 100 %, 192 is 200 %) before the program starts.
#   scripts/run.sh [--sim PATH] [--fresh] [--dpi N] [--screenshot FILE]
set -euo pipefail
cd "$(dirname "$0")/.."

sim=
fresh=0
shot=
dpi=
while [ $# -gt 0 ]; do
    case "$1" in
    --sim) sim=${2:?--sim needs a folder}; shift 2 ;;
    --fresh) fresh=1; shift ;;
    --screenshot) shot=$(realpath -m "${2:?--screenshot needs a file}"); shift 2 ;;
    --dpi) dpi=${2:?--dpi needs pixels per inch}; shift 2 ;;
    *) echo "usage: scripts/run.sh [--sim PATH] [--fresh] [--dpi N] [--screenshot FILE]" >&2; exit 2 ;;
    esac
done

source scripts/packages.sh
scenewright_install_packages

cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j "$(nproc)" --target Scenewright bglc-check simgen screenshot
bin=build/windows-x64

source scripts/wine-prefix.sh
if [ -n "$shot" ]; then
    # The picture comes out the same every time: a prefix and a virtual display of its own, and
    # Wine drawing the window frames itself, as there is no window manager.
    scenewright_fresh_prefix shot --own-display
else
    export WINEPREFIX=${WINEPREFIX:-$HOME/.scenewright-wine}
    [ "$fresh" = 1 ] && rm -rf "$WINEPREFIX"
fi
if [ -z "${DISPLAY:-}" ]; then
    echo "No DISPLAY: starting a virtual one (Xvfb :77)"
    Xvfb :77 -screen 0 2560x1600x24 -nolisten tcp >/dev/null 2>&1 &
    export DISPLAY=:77
    sleep 1
fi
[ -d "$WINEPREFIX" ] || "$wine" wineboot -i >/dev/null 2>&1
# Wine reads the scaling when a program starts.
if [ -n "$dpi" ]; then
    "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi

# The program and the compiler it runs, side by side in the prefix.
app="$WINEPREFIX/drive_c/Scenewright"
mkdir -p "$app"
cp "$bin/src/app/Scenewright.exe" "$app/"
cp "$(find "$bin/tools/checker" -maxdepth 1 -iname 'bglc-check.exe' | head -1)" "$app/BGLC.EXE"
simgen=$(find "$bin/tools/simgen" -maxdepth 1 -iname 'simgen.exe' | head -1)
screenshot=$(realpath "$bin/tools/screenshot/screenshot.exe")

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
if [ -n "$shot" ]; then
    "$wine" Scenewright.exe &
    program=$!
    "$wine" "$screenshot" Scenewright "$("$wine" winepath -w "$shot" 2>/dev/null | tr -d '\r')" 60 \
        --pick 1016=Library --pick 1017=hangar_733 --text 1000='C:\Scenery\Seattle.csv' \
        --text 1004="N047* 26' 59.0000\"" --text 1005="W122* 18' 32.0000\"" --close
    wait "$program"  # not the prefix's own X display, which runs until the script ends
    # The tool's PNG holds its pixels unpacked; the same pixels, packed, for the repository.
    convert "$shot" -define png:compression-level=9 "$shot"
    exit
fi
exec "$wine" Scenewright.exe
