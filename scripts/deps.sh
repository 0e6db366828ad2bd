#!/usr/bin/env bash
# Installs the Debian 12 packages Korvan needs to build, test and run (as root; skipped when all
# are present). With --optional also LibreOffice, which a few tests use to read the files Korvan
# writes as a spreadsheet program does; without it those tests are skipped and say so.
set -euo pipefail
packages=(build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6opengl6-dev libgl-dev
  libhidapi-dev libxlsxwriter-dev libcli11-dev libcsv-dev libzip-dev libexpat1-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth fonts-wqy-microhei fonts-arphic-uming qt6-translations-l10n
  python3-openpyxl
  clang libclang-rt-14-dev clang-format
  dpkg-dev fakeroot help2man lintian desktop-file-utils appstream)
[ "${1:-}" = --optional ] && packages+=(libreoffice-calc-nogui)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  SUDO=""
  [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq "${missing[@]}" >/dev/null
fi
