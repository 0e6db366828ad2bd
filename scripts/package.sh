#!/usr/bin/env bash
# Installs what is missing, builds and makes the Debian package build/korvan_<version>_amd64.deb.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
bash scripts/build.sh
cmake --build "${BUILD_DIR:-build}" --target package >/dev/null
ls -t "${BUILD_DIR:-build}"/korvan_*_amd64.deb | head -1
