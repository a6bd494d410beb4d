#!/usr/bin/env bash
# Installs every Debian package the build, the tests and the run need, and nothing else.
# Packages already present are left alone, so a second run costs a few dpkg queries.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ clang libclang-rt-14-dev pkg-config clang-format
  libgtest-dev libgmock-dev libbenchmark-dev
  qt6-base-dev libgl-dev
  # catalogue text: Unicode composition, and the MARC-8 converter loaded when a record needs it
  libicu-dev libyaz-dev
  # MARCXML catalogues
  libxml2-dev
  # the spooler's answer to a print job, which Qt does not pass on
  libcups2-dev
  # desktop program: fonts, default viewer, a display for machines without one, and a window
  # manager inside it, so that the manual's picture of the main window has its title bar
  fonts-liberation fonts-wine xdg-utils xvfb xauth imagemagick xdotool openbox
  # independent readers of the MARC files the program writes, PDF checks, whole-command timing
  yaz libmarc-record-perl poppler-utils hyperfine
  # checks of the installed tree and the Debian package
  desktop-file-utils man-db lintian appstream
  # a real print queue for the printing tests, and ipptool to read a job's settings back
  cups printer-driver-cups-pdf cups-ipp-utils
  python3
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -q
  $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
