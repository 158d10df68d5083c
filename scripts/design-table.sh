#!/bin/bash
# Fills the stored table of wheels (src/design/wheels/) by this program's own
# search: for each m, block orbits of at most B tickets under a group (C
# cycles of N numbers shifted together, multiplied by the powers of A, the
# others fixed), chosen by a tabu search, completed and shrunk by the design
# search and proved by its recount; a file is written only when the design is
# smaller than the stored one. Runs long: give it hours, e.g. `nice bash
# scripts/design-table.sh build/rel 4`. Arguments: the Release build folder
# (with -DKAZUBAN_BENCH=ON) and how many seeds to try for each case.
set -euo pipefail
build=${1:-build/rel}
seeds=${2:-1}
here=$(cd "$(dirname "$0")/.." && pwd)
cmake --build "$build" --target kazuban_wheel_table
# m N C A B MOVES: a negative MOVES weighs the sets of three that stay open.
cases=(
  "23 11 2 1 187 100000" "21 5 4 1 151 -1000000" "22 11 2 1 172 -1000000"
  "29 7 4 2 413 300000" "30 15 2 2 459 -300000" "24 7 3 2 231 300000"
  "31 31 1 2 501 300000" "15 5 3 1 55 -300000" "16 4 4 1 65 300000"
  "20 19 1 1 133 300000" "25 5 5 1 256 300000" "28 27 1 1 359 300000"
)
for c in "${cases[@]}"; do
  read -r m n cy a b moves <<<"$c"
  for seed in $(seq 1 "$seeds"); do
    "$build/bench/kazuban_wheel_table" "$m" "$n" "$cy" "$a" "$b" "$moves" "$seed" 1 "$here/src/design/wheels"
  done
done
