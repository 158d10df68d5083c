#!/bin/bash
# Fills the stored table of wheels (src/design/wheels/) by this program's own
# search: for each m, block orbits under a shift of m - F numbers (K of them,
# chosen by a tabu search), completed and shrunk by the design search and
# proved by its recount; a file is written only when the design is smaller
# than the stored one. Runs long: give it hours, e.g. `nice bash
# scripts/design-table.sh build/rel 4`. Arguments: the Release build folder
# (with -DKAZUBAN_BENCH=ON) and how many seeds to try for each case.
set -euo pipefail
build=${1:-build/rel}
seeds=${2:-1}
here=$(cd "$(dirname "$0")/.." && pwd)
cmake --build "$build" --target kazuban_wheel_table
# m F K: the shift fixes F numbers, K orbits of m - F tickets each.
cases=(
  "24 1 10" "29 0 14" "31 0 16" "25 0 10" "23 0 8" "22 3 9" "21 2 7"
  "28 1 13" "30 0 15" "30 1 15" "16 0 4" "15 1 3" "20 1 7"
)
for c in "${cases[@]}"; do
  read -r m f k <<<"$c"
  for seed in $(seq 1 "$seeds"); do
    "$build/bench/kazuban_wheel_table" "$m" "$f" "$k" 300000 "$seed" 1 "$here/src/design/wheels"
  done
done
