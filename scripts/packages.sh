#!/usr/bin/env bash
# Installs, with apt-get, the Debian 12 packages that building and testing Scenewright need and
# that are not there yet. Sourced by run.sh and test.sh; needs root when something is missing.
# wine32:i386 runs the 32-bit build's programs: it needs Debian's i386 architecture, added first.
scenewright_packages=(
    cmake ninja-build g++ clang libclang-rt-14-dev
    g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64
    binutils-mingw-w64-i686 mingw-w64-tools
    googletest libgtest-dev libbenchmark-dev zlib1g-dev libz-mingw-w64-dev
    wine wine64 wine32:i386 fonts-wine xvfb xauth x11-apps imagemagick python3 python3-pil
)

scenewright_install_packages() {
    local missing=()
    for package in "${scenewright_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    export DEBIAN_FRONTEND=noninteractive
    # The scripts name Wine's loaders themselves (scripts/wine-prefix.sh), so the wine command's
    # choice of the 32-bit one, once wine32 is there, changes nothing for them.
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    $sudo apt-get update -q &&
        $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
}
