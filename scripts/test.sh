#!/usr/bin/env bash
# Installs what is missing, builds every build (Windows 32-bit and 64-bit with their downloads,
# fuzzers, native) and runs every test: native GoogleTest under ASan/UBSan (the packed-file tests
# in both forms of the decoder), the fuzzers, the test programs of both Windows builds under Wine
# and each download unpacked and started. Ends with ctest's summary line.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
scenewright_install_packages

jobs=$(nproc)
for preset in windows-x86 windows-x64 fuzz native; do
    echo "== build $preset"
    cmake --preset "$preset" >/dev/null
    case "$preset" in
    windows-*) cmake --build --preset "$preset" -j "$jobs" --target all package ;;
    *) cmake --build --preset "$preset" -j "$jobs" ;;
    esac
done

echo "== test"
ctest --preset all --no-label-summary
