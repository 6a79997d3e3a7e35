#!/usr/bin/env bash
# Builds Veltrano on Debian 12 and either starts it or runs every test. Installs the Debian
# packages it needs first (through sudo when not root).
#   ./dev.sh run    build and start the viewer
#   ./dev.sh test   build and run every test, then the non-GUI tests again under ASan+UBSan
set -euo pipefail
cd "$(dirname "$0")"

build_packages=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
                libjpeg62-turbo-dev libxcb1-dev libgtest-dev libgmock-dev libbenchmark-dev
                fonts-liberation fonts-dejavu-core xdg-utils)
test_packages=(xvfb xauth xdotool x11-utils dpkg-dev file desktop-file-utils appstream)

install_missing() {
    local missing=()
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
            || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -q
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
}

jobs=$(nproc)

case "${1:-}" in
run)
    install_missing "${build_packages[@]}"
    cmake -S . -B build -G Ninja
    cmake --build build -j"$jobs" --target veltrano
    exec build/quillmar/veltrano
    ;;
test)
    install_missing "${build_packages[@]}" "${test_packages[@]}"
    cmake -S . -B build -G Ninja -DVELTRANO_WERROR=ON
    cmake --build build -j"$jobs"
    ctest --test-dir build --output-on-failure -j"$jobs"
    # The parts without a display once more, with AddressSanitizer and UBSan.
    cmake -S . -B build-sanitize -G Ninja -DVELTRANO_WERROR=ON -DVELTRANO_GUI=OFF \
          -DVELTRANO_SANITIZE=address,undefined -DCMAKE_BUILD_TYPE=Debug
    cmake --build build-sanitize -j"$jobs"
    ctest --test-dir build-sanitize --output-on-failure -j"$jobs"
    ;;
*)
    echo "usage: $0 run|test" >&2
    exit 2
    ;;
esac
