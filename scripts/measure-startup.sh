#!/usr/bin/env bash
# Measures the real program under Wine against a small and a full-size generated FS2004 install
# in one run: the time until the main window is shown with its lists filled, on a first start (no
# catalogue kept from an earlier run) and on a repeated one, the time of choosing the kind Library
# (and back to Effect), the time until the find window shows its filled list and until it shows
# the new rows after a keystroke, and the peak memory; with --phases also where a scan of
# the full-size install spends its time. The installs are generated once into build/measure.
# --program measures another build of the program (an older one, for a before-and-after).
#   scripts/measure-startup.sh [--runs N] [--phases] [--program Scenewright.exe]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
phases=0
program=
usage() {
    echo "usage: scripts/measure-startup.sh [--runs N] [--phases] [--program EXE]   (N: 1 to 1000)" >&2
    exit 2
}
while [ $# -gt 0 ]; do
    case "$1" in
    --runs)
        # A whole number of runs, or the measure would run none (or the timer refuse it) and
        # still print its headings.
        [[ ${2:-} =~ ^[0-9]{1,4}$ ]] && [ "$((10#$2))" -ge 1 ] && [ "$((10#$2))" -le 1000 ] || usage
        runs=$((10#$2)); shift 2 ;;
    --phases) phases=1; shift ;;
    --program) [ -n "${2:-}" ] || usage; program=$(realpath "$2"); shift 2 ;;
    *) usage ;;
    esac
done

cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j2 --target Scenewright simgen startuptime >/dev/null
bin=$PWD/build/windows-x64
simgen=$(find "$bin/tools/simgen" -maxdepth 1 -iname 'simgen.exe' | head -1)
timer=$bin/tools/startuptime/startuptime.exe
program=${program:-$bin/src/app/Scenewright.exe}

source scripts/wine-prefix.sh
scenewright_fresh_prefix measure
# Measured as shipped, without the debugging sections: Wine copies every section of the image into
# the process's own memory, so they would count as its private bytes.
stripped=$scenewright_prefix/Scenewright.exe
x86_64-w64-mingw32-strip --strip-debug -o "$stripped" "$program"

winpath() { echo "Z:$1" | tr / '\\'; }
data=$PWD/build/measure
mkdir -p "$data"
[ -f "$data/small/Scenery.cfg" ] || "$wine" "$simgen" write "$(winpath "$data/small")" --version 6
# Full size: about a thousand areas of one library file each (992 of them numbered within the
# 1000 areas the program reads), broken files in every hundredth area, 29,000 objects.
[ -f "$data/full/Scenery.cfg" ] ||
    "$wine" "$simgen" write "$(winpath "$data/full")" --version 6 --full --per-area 1 --broken-every 100
"$wineserver" -w

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
    "load $(cut -d' ' -f1-3 /proc/loadavg)"
for install in small full; do
    echo "== $install install: $(find "$data/$install" -name '*.bgl' | wc -l) library files," \
        "$(du -sm "$data/$install" | cut -f1) MB"
    "$wine" "$simgen" register "$(winpath "$data/$install")" --version 6 >/dev/null
    "$wine" "$timer" run "$(winpath "$stripped")" --runs "$runs" --changes 0 --first | tr -d '\r' |
        grep 'first start'
    "$wine" "$timer" run "$(winpath "$stripped")" --runs "$runs" | tr -d '\r'
done
if [ "$phases" = 1 ]; then
    echo "== phases of a scan of the full install"
    "$wine" "$timer" phases "$(winpath "$data/full")" --version 6 | tr -d '\r'
fi
