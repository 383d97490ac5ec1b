#!/usr/bin/env bash
# Installs the Debian packages Chromint needs to build, run and test.
# This is the only place that lists them. Installs only what is missing.
set -euo pipefail

PACKAGES=(
    g++
    cmake
    ninja-build
    qt6-base-dev
    qt6-svg-dev
    qt6-image-formats-plugins
    libx11-dev
    libxss-dev
    libxtst-dev
    libxkbcommon-dev
    libpng-dev
    libjpeg62-turbo-dev
    libgif-dev
    zlib1g-dev
    libgtest-dev
    libbenchmark-dev
    libgraphicsmagick++1-dev
    xvfb
    xdotool
    xclip
    x11-utils
    x11-xserver-utils
    xauth
    qt6-wayland
    # the headless Wayland session of the tests
    dbus
    jq
    python3-minimal
    sway
    swaybg
    xwayland
    grim
    slurp
    wtype
    xdg-desktop-portal
    xdg-desktop-portal-wlr
    xdg-desktop-portal-gtk
    pipewire
    wl-clipboard
    libwayland-dev
    libwayland-bin
    # the Debian package (scripts/package.sh) and its checks (scripts/check-package.sh)
    dpkg-dev
    fakeroot
    file
    lintian
    desktop-file-utils
    appstream
    shared-mime-info
    man-db
    # the fuzz targets (scripts/fuzz.sh): clang with libFuzzer and the sanitizer runtimes
    clang
    libclang-rt-14-dev
)

missing=()
for pkg in "${PACKAGES[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    if [[ "$status" != "installed" ]]; then
        missing+=("$pkg")
    fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
    echo "deps: all ${#PACKAGES[@]} packages already installed"
    exit 0
fi

SUDO=()
if [[ $(id -u) -ne 0 ]]; then
    if ! command -v sudo >/dev/null 2>&1; then
        echo "deps: missing packages (${missing[*]}) and not root; sudo is not available" >&2
        exit 1
    fi
    SUDO=(sudo)
fi

echo "deps: installing ${#missing[@]} missing package(s): ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update
"${SUDO[@]}" env DEBIAN_FRONTEND=noninteractive \
    apt-get install -y --no-install-recommends "${missing[@]}"
echo "deps: done"
