#!/bin/sh
# Installs what is missing, builds Velmora with its tests and runs every test, after a short
# bounded fuzzing of the readers that take bytes from outside.
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
sh "$ROOT/scripts/deps.sh" run build test
sh "$ROOT/scripts/fuzz.sh" "${VELMORA_FUZZ_SECONDS:-10}"
cmake -S "$ROOT" -B "$ROOT/build-test" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DBUILD_TESTING=ON
cmake --build "$ROOT/build-test" -j "$(nproc)"
cd "$ROOT/build-test"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)"
