#!/bin/sh
# Installs what is missing, builds Velmora, lays out its program folder in dist/Velmora, adds it
# to the desktop's menu for the current user and starts it.
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
DIST="$ROOT/dist/Velmora"
sh "$ROOT/scripts/deps.sh" run build
cmake -S "$ROOT" -B "$ROOT/build-release" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF
cmake --build "$ROOT/build-release"
cmake --install "$ROOT/build-release" --prefix "$DIST"
sh "$ROOT/scripts/install-desktop.sh" "$DIST"
exec "$DIST/Velmora"
