#!/usr/bin/env bash
# Proves the core, the CLI and the core tests build without Qt.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/noqt" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKAZUBAN_WITH_QT=OFF -DKAZUBAN_BENCH=OFF -DKAZUBAN_WERROR=ON
cmake --build "$root/build/noqt" -j "$(nproc)"
echo "Qt-free build: OK"
