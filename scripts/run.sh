#!/usr/bin/env bash
# Installs what is missing, builds the 64-bit Windows program and starts it: directly on Windows,
# under Wine elsewhere, with a generated demo simulator install registered in its own Wine prefix.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scenewright_install_packages

cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j "$(nproc)"
exe=build/windows-x64/src/app/Scenewright.exe

export WINEPREFIX=${WINEPREFIX:-$HOME/.scenewright-wine}
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
[ -d "$WINEPREFIX" ] || "$wine" wineboot -i >/dev/null 2>&1
if [ -z "${DISPLAY:-}" ]; then
    echo "No DISPLAY: starting a virtual one (Xvfb :77)"
    Xvfb :77 -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    export DISPLAY=:77
    sleep 1
fi
exec "$wine" "$exe" "$@"
