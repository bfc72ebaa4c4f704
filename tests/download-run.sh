#!/usr/bin/env bash
# download-run.sh ZIP DRIVER.exe
# Unpacks a download (a Windows build's package target makes it) into a folder of a fresh prefix,
# as a user unpacks it into a folder of their own, and runs the download's test program DRIVER
# there, with the folder named in SCENEWRIGHT_UNPACKED: a 32-bit download in a 32-bit prefix.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-prefix.sh"
zip=$1
driver=$2
build=$(dirname "$zip")
if [ ! -f "$zip" ]; then
    echo "download-run.sh: no $zip: make it with cmake --build $build --target package" >&2
    exit 1
fi

# A zip older than a program it holds would test what was built before.
for name in $(cmake -E tar tf "$zip" | grep -i '\.exe$'); do
    newer=$(find "$build/src/app" "$build/tools" -maxdepth 2 -name "$name" -newer "$zip" | head -1)
    if [ -n "$newer" ]; then
        echo "download-run.sh: $newer is newer than $zip: make it again with" \
            "cmake --build $build --target package" >&2
        exit 1
    fi
done

# shellcheck disable=SC2046 # no option or exactly one
scenewright_fresh_prefix download $(scenewright_arch_of "$driver")
folder="$WINEPREFIX/drive_c/Flight Tools/Scenewright"
mkdir -p "$folder"
(cd "$folder" && cmake -E tar xf "$zip") || exit 1

export SCENEWRIGHT_UNPACKED='C:\Flight Tools\Scenewright'
cd "$folder" || exit 1
"$wineserver" -w
"$wine" "$driver"
status=$?
"$wineserver" -w
exit $status
