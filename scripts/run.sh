#!/bin/sh
# Installs what is missing, builds Velmora, lays out its program folder in dist/Velmora and starts it.
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
sh "$ROOT/scripts/deps.sh"
cmake -S "$ROOT" -B "$ROOT/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$ROOT/build-release"
cmake --install "$ROOT/build-release" --prefix "$ROOT/dist/Velmora"
exec "$ROOT/dist/Velmora/Velmora"
