#!/usr/bin/env bash
# Measures the Google Earth commands under Wine on a 10,000-placemark KML file and a
# 10,000-placement file, generated once into build/measure: `sw-kml points` and `sw-kml export`
# (the whole command, from the start of the process to its end, against a run of sw-kml that
# does nothing but start, measured in the same run), and the import into the real program (the
# read until its question, and the adding of the placements after Yes).
#   scripts/measure-kml.sh [--runs N]
set -euo pipefail
cd "$(dirname "$0")/.."

runs=5
case "${1:-}" in
--runs) runs=${2:?--runs needs a number} ;;
"") ;;
*) echo "usage: scripts/measure-kml.sh [--runs N]" >&2; exit 2 ;;
esac

cmake --preset windows-x64 >/dev/null
cmake --build --preset windows-x64 -j2 --target Scenewright sw-kml kmltime >/dev/null
bin=$PWD/build/windows-x64
data=$PWD/build/measure
mkdir -p "$data"
# Placemarks as Google Earth saves them: a shared style, a name, a description, a point.
[ -f "$data/points.kml" ] || python3 - "$data" <<'PY'
import random, sys
random.seed(26)
kml = ['<?xml version="1.0" encoding="UTF-8"?>',
       '<kml xmlns="http://www.opengis.net/kml/2.2" xmlns:gx="http://www.google.com/kml/ext/2.2">',
       '<Document><name>points</name>',
       '<Style id="turned"><IconStyle><heading>30</heading></IconStyle></Style>']
csv = [';;++', ';; Generated for measuring', ';;']
for i in range(10000):
    lon, lat = random.uniform(-180, 180), random.uniform(-90, 90)
    kml.append(f'<Placemark><name>Point {i}</name><description>Placemark {i} &amp; more'
               f'</description><styleUrl>#turned</styleUrl><Point><coordinates>{lon!r},{lat!r},0'
               f'</coordinates></Point></Placemark>')
    csv.append(f"WINDSOCK,,N{random.randint(0, 89):03d}* {random.randint(0, 59):02d}' "
               f"{random.randint(0, 59):02d}.{random.randint(0, 9999):04d},W{random.randint(0, 179):03d}"
               f"* 18' 32.0000,AGL,0.00,0.00,{random.uniform(0, 359):.2f},Normal,\"\"")
kml.append('</Document></kml>')
open(sys.argv[1] + '/points.kml', 'w', newline='\n').write('\n'.join(kml) + '\n')
open(sys.argv[1] + '/places.csv', 'w', newline='').write('\r\n'.join(csv) + '\r\n')
PY

source scripts/wine-prefix.sh
scenewright_fresh_prefix measure-kml
winpath() { echo "Z:$1" | tr / '\\'; }

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs)," \
    "load $(cut -d' ' -f1-3 /proc/loadavg)"
python3 - "$wine" "$bin/tools/kml/sw-kml.exe" "$data" "$runs" <<'PY'
import statistics, subprocess, sys, time
wine, swkml, data, runs = sys.argv[1], sys.argv[2], sys.argv[3], int(sys.argv[4])
def measure(name, *args):
    times = []
    for run in range(runs + 1):  # the first is not counted: it warms the caches
        start = time.perf_counter()
        subprocess.run([wine, swkml, *args], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if run:
            times.append(time.perf_counter() - start)
    print(f'{name:34} min {min(times):.3f}  median {statistics.median(times):.3f}  '
          f'max {max(times):.3f} s  ({runs} runs)')
measure('sw-kml (start only)')
measure('sw-kml points (10,000)', 'points', data + '/points.kml')
measure('sw-kml export (10,000)', 'export', data + '/places.csv', data + '/places.kml')
PY
"$wine" "$bin/tools/kmltime/kmltime.exe" "$(winpath "$bin/src/app/Scenewright.exe")" \
    "$(winpath "$data/points.kml")" --runs "$runs" 2> >(grep -v 'label and serial' >&2) | tr -d '\r'
