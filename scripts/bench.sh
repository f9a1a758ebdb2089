#!/bin/sh
# Builds the benchmarks (Release) and runs them: core operations against their limits and
# SQLite, then the screens offscreen, then the screens' memory. Figures only; nothing is checked in CI.
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
sh "$ROOT/scripts/deps.sh"
PACKAGES="libbenchmark-dev libsqlite3-dev time"
missing=""
for p in $PACKAGES; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing="$missing $p"
done
if [ -n "$missing" ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installazione dei pacchetti mancanti:$missing"
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  # shellcheck disable=SC2086
  $SUDO env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends $missing
fi
BUILD="$ROOT/build-bench"
cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DVELMORA_BENCH=ON > /dev/null
cmake --build "$BUILD" -j2 --target velmora_bench_summary
echo "== Summary across bills =="
"$BUILD/bench/velmora_bench_summary"
cmake --build "$BUILD" -j2 --target velmora_bench_core velmora_bench_screens velmora_bench_memory
echo "== Core operations =="
/usr/bin/time -f "velmora_bench_core: peak memory %M kB, %e s" "$BUILD/bench/velmora_bench_core" --benchmark_color=false "$@"
echo "== Screens (offscreen) =="
QT_QPA_PLATFORM=offscreen /usr/bin/time -f "velmora_bench_screens: peak memory %M kB, %e s" \
  "$BUILD/bench/velmora_bench_screens"
echo "== Memory of the screens holding the largest archives (offscreen) =="
QT_QPA_PLATFORM=offscreen "$BUILD/bench/velmora_bench_memory"
