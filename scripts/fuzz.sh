#!/bin/sh
# Builds the fuzz targets with clang and runs each for a bounded time (seconds, default 10).
set -eu
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_EACH="${1:-10}"
cmake -S "$ROOT" -B "$ROOT/build-fuzz" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF \
  -DVELMORA_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++ > /dev/null
cmake --build "$ROOT/build-fuzz" --target velmora_fuzzers
mkdir -p "$ROOT/build-fuzz/corpus"
failed=0
for target in "$ROOT"/build-fuzz/fuzz/fuzz_*; do
  [ -f "$target" ] && [ -x "$target" ] || continue
  name="$(basename "$target")"
  mkdir -p "$ROOT/build-fuzz/corpus/$name"
  if "$target" -max_total_time="$SECONDS_EACH" -rss_limit_mb=2048 -print_final_stats=0 \
      "$ROOT/build-fuzz/corpus/$name" > "$ROOT/build-fuzz/$name.log" 2>&1; then
    echo "fuzz $name: nessun problema in ${SECONDS_EACH}s"
  else
    echo "fuzz $name: PROBLEMA (vedi build-fuzz/$name.log)"
    tail -20 "$ROOT/build-fuzz/$name.log"
    failed=1
  fi
done
exit $failed
