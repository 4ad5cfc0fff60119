#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing TARVO2
# need, when any of them is missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libbenchmark-dev libinih-dev
  fonts-dejavu-core
  # printed page: Arial's metric twin and a heavy face for Arial Black
  fonts-liberation2 fonts-lato
  # tests: the desktop tier (a real X server and window manager), output checks
  xvfb openbox xdotool x11-utils
  # tests: what a screen reader hears (a session bus, the AT-SPI bus and registry)
  dbus dbus-x11 at-spi2-core python3-pyatspi
  cmark python3 python3-html5lib poppler-utils
  desktop-file-utils appstream curl
  # make package: dpkg-shlibdeps works out the Debian package's library dependencies
  dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
