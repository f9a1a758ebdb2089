#!/bin/sh
# Builds the benchmarks (Release) and runs them: core operations, then the screens offscreen,
# then the screens' memory. Each prints its figures beside their targets; nothing fails on a
# slow machine.
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
sh "$ROOT/scripts/deps.sh"
BUILD="$ROOT/build-bench"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELMORA_BENCH=ON > /dev/null
cmake --build "$BUILD" -j2 --target velmora_bench_summary
echo "== Summary across bills =="
"$BUILD/bench/velmora_bench_summary"
cmake --build "$BUILD" -j2 --target velmora_bench_core velmora_bench_screens velmora_bench_memory
echo "== Core operations =="
"$BUILD/bench/velmora_bench_core"
echo "== Screens (offscreen) =="
QT_QPA_PLATFORM=offscreen "$BUILD/bench/velmora_bench_screens"
echo "== Memory of the screens holding the large archives (offscreen) =="
QT_QPA_PLATFORM=offscreen "$BUILD/bench/velmora_bench_memory"
