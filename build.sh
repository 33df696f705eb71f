#!/usr/bin/env bash
# Builds Quorvane and either starts it or runs every test.
#   ./build.sh run    install what is missing, build, start the program
#   ./build.sh test   install what is missing, build, run all tests (non-zero on failure)
set -euo pipefail
cd "$(dirname "$0")"

packages=(cmake ninja-build g++ qt6-base-dev qt6-l10n-tools qt6-translations-l10n libqt6svg6
          fonts-ipafont-gothic fonts-noto-cjk libgl-dev libxxhash-dev libfuse3-dev)
# The tests also write onto FAT32, exFAT and NTFS images mounted through FUSE, try the
# shell completions in zsh (bash is there already), and send notifications over a
# session bus of their own.
test_packages=(fuse3 fusefat exfat-fuse ntfs-3g dosfstools exfatprogs zsh dbus-daemon)

install_missing_packages() {
    local missing=()
    for package in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    cmake --preset dev >/dev/null
    cmake --build --preset dev "$@"
}

case "${1:-}" in
run)
    install_missing_packages
    build --target quorvane
    exec build/dev/app/quorvane
    ;;
test)
    packages+=("${test_packages[@]}")
    install_missing_packages
    build
    ctest --preset dev -j 2
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
