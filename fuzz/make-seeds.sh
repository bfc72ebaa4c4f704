#!/usr/bin/env bash
# make-seeds.sh SIMGEN
# Writes the seeds of the index-file and library-directory fuzzers from small generated installs
# of each index format and of CFS1. SIMGEN is the generator of a native build, for example
# build/native/tools/simgen/simgen. The index fuzzer's first byte picks the format the list
# expects (0: 9, 1: 22, 2: 27); the index files go in as their own format, and one of each format
# also as another, as an add-on area of another layout would be met.
set -euo pipefail
simgen=$(realpath "$1")
here=$(cd "$(dirname "$0")" && pwd)
index=$here/corpus/scenery_index_fuzz
library=$here/corpus/library_directory_fuzz
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$index" "$library"

for version in 1 5 6 2; do
    "$simgen" write "$work/v$version" --version "$version" --files 3 --objects 3 --per-area 2 \
        --body 32 --effects 0 --packed-every 0 >/dev/null
done

seed_index() {  # FORMAT-BYTE FILE SEED-NAME
    { printf "\\x0$1"; cat "$2"; } >"$index/$3.dat"
}
for area in Area0 Area1; do
    seed_index 0 "$work/v1/Scenery/$area/Scenery/FILELIST.DAT" "format9-$area"
    seed_index 1 "$work/v5/Scenery/$area/SCENERY.DAT" "format22-$area"
    seed_index 2 "$work/v6/Scenery/$area/SCENERY.DAT" "format27-$area"
done
seed_index 1 "$work/v1/Scenery/Area0/Scenery/FILELIST.DAT" "format9-read-as-22"
seed_index 2 "$work/v5/Scenery/Area0/SCENERY.DAT" "format22-read-as-27"
seed_index 0 "$work/v6/Scenery/Area0/SCENERY.DAT" "format27-read-as-9"

cp "$work/v5/Scenery/Area0/scenery/lib0.bgl" "$library/library.bgl"
cp "$work/v5/Scenery/Area0/scenery/hidden0.bgl" "$library/small.bgl"
cp "$work/v5/Scenery/Area0/scenery/damaged0.bgl" "$library/packed-flag.bgl"
cp "$work/v5/Scenery/Area0/scenery/terrain.bgl" "$library/no-directory.bgl"
cp "$work/v2/Scenery/LIBRARY.BGL" "$library/cfs1-library.bgl"
ls -l "$index" "$library"
