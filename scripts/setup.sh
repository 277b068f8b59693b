#!/usr/bin/env bash
# Installs every Debian 12 package that building, testing and running Trevano needs.
# Packages already present are left alone, so a second run costs only the check.
set -euo pipefail

packages=(
    build-essential cmake pkg-config clang libclang-rt-14-dev clang-format
    qt6-base-dev qt6-base-dev-tools libgl-dev
    libjpeg62-turbo-dev libturbojpeg0-dev libjpeg-turbo-progs
    libasound2-dev
    # The PNG and TIFF readers of the command line.
    libspng-dev libtiff-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-apps xdotool imagemagick python3-pil fonts-dejavu-core fonts-liberation2
    desktop-file-utils libglib2.0-bin
    dpkg-dev lintian appstream man-db
    python3-skimage time
    # HEIF/AVIF and WebP reading, and the tools that make the tests' inputs
    libheif-dev libheif-examples libwebp-dev webp
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    sudo=()
    if [[ $(id -u) -ne 0 ]]; then
        sudo=(sudo)
    fi
    echo "Installing: ${missing[*]}"
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
