#!/usr/bin/env bash
# Configures (once) and builds the project in build/ (Release, Ninja).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/build.ninja ]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build build -j "$(nproc)"
