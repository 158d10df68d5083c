#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default
# 300) on a copy of its seed corpus. Findings land in build/fuzz/findings/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-300}
command -v clang++ >/dev/null || { echo "clang++ is needed (apt-get install clang libclang-rt-14-dev)"; exit 1; }
build="$root/build/fuzz"
CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKAZUBAN_FUZZ=ON -DKAZUBAN_WITH_QT=OFF -DKAZUBAN_TESTS=OFF -DKAZUBAN_BENCH=OFF
cmake --build "$build"
mkdir -p "$build/findings"
for target in "$root"/fuzz/fuzz_*.cpp; do
  name=$(basename "$target" .cpp)
  short=${name#fuzz_}
  work="$build/corpus/$short"
  mkdir -p "$work"
  cp -n "$root/fuzz/corpus/$short"/* "$work/" 2>/dev/null || true
  echo "== $name for ${seconds}s"
  (cd "$build/findings" && "$build/fuzz/$name" -max_total_time="$seconds" -max_len=1100000 \
     -rss_limit_mb=4096 -timeout=20 -print_final_stats=1 "$work" 2>&1 | tail -n 15) || echo "$name: finding (see $build/findings)"
done
