#!/usr/bin/env bash
# Installs what is missing, builds every build (Windows 32-bit compile only, Windows 64-bit,
# fuzzers, native) and runs every test: native GoogleTest under ASan/UBSan, the fuzzers, and the
# Windows test programs under Wine. Ends with ctest's summary line.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scenewright_install_packages

jobs=$(nproc)
for preset in windows-x86 windows-x64 fuzz native; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

echo "== test"
ctest --preset all --no-label-summary
