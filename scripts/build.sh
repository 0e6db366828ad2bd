#!/usr/bin/env bash
# Configures and builds Korvan. BUILD_DIR (default build) and extra CMake options as arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
BUILD_DIR=${BUILD_DIR:-build}
cmake -S . -B "$BUILD_DIR" -G Ninja "$@" >/dev/null
cmake --build "$BUILD_DIR" -j"$(nproc)"
