#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing TARVO2
# need, when any of them is missing. Uses sudo when not run as root.
set -euo pipefail

packages=(
  cmake make g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  # the level-up planner's chart
  qt6-charts-dev libqt6opengl6-dev  # Qt Charts' CMake files need Qt OpenGL's, which Debian 12 does not pull in
  libbenchmark-dev libinih-dev
  # the update checker's transfers
  libcurl4-openssl-dev
  # printing: whether a print queue takes the job (CUPS)
  libcups2-dev
  fonts-dejavu-core
  # printed page: Arial's metric twin and a heavy face for Arial Black
  fonts-liberation2 fonts-lato
  # tests: the desktop tier (a real X server and window manager), output checks
  xvfb openbox xdotool x11-utils
  # tests: what a screen reader hears (a session bus, the AT-SPI bus and registry)
  dbus dbus-x11 at-spi2-core python3-pyatspi
  cmark python3 python3-html5lib poppler-utils
  desktop-file-utils appstream curl
  # tests: the HTML pages rendered in a real browser
  chromium
  # tests: OpenMW's esmtool (in /usr/games) reads the content files the tests write
  openmw-cs
  # tests: the Debian package checked as a Debian maintainer would
  lintian
  # tests: the system calls of a save (what reaches the disk before the rename)
  strace
  # tests: a private print server with paused, refusing and working queues
  cups-daemon cups-client
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
  if ! command -v sudo >/dev/null; then
    echo "Installing them needs root: run this as root, or install sudo first" >&2
    echo "(as root: apt-get install sudo, then add yourself to the group sudo)." >&2
    exit 1
  fi
  SUDO="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
