#!/usr/bin/env bash
# Installs the Debian 12 packages Tarvelin2 needs to build, run and test; does nothing when all are there.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libqt6test6 qt6-qpa-plugins qt6-translations-l10n libxcursor1
    qt6-svg-dev libqt6svg6
    libjpeg62-turbo-dev libfontconfig-dev libxcb1-dev libxcb-randr0-dev fonts-ipafont-gothic
    libgtest-dev libbenchmark-dev
    xvfb xauth xdotool openbox x11-utils imagemagick
    desktop-file-utils appstream shared-mime-info dpkg-dev
    unrtf
    clang-format git
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
