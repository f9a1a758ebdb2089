#!/bin/sh
# Installs what is missing, builds Velmora with its tests and runs every test.
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
sh "$ROOT/scripts/deps.sh"
cmake -S "$ROOT" -B "$ROOT/build-test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON
cmake --build "$ROOT/build-test" -j "$(nproc)"
cd "$ROOT/build-test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
