#!/usr/bin/env bash
# Takes the pictures of the five tabs and of the settings dialog on the demo
# data (offscreen: no display needed) and writes them to docs/images/.
# KAZUBAN_BUILD_DIR reuses an existing build folder configured with the window.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build="${KAZUBAN_BUILD_DIR:-$root/build/screenshots}"
if [ ! -f "$build/CMakeCache.txt" ]; then
  bash "$root/scripts/deps.sh"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAZUBAN_WITH_QT=ON -DKAZUBAN_BENCH=OFF
fi
cmake --build "$build" --target gui_tests
mkdir -p "$root/docs/images"
QT_QPA_PLATFORM=offscreen KAZUBAN_SCREENSHOT_DIR="$root/docs/images" \
  "$build/tests/gui_tests" --gtest_filter='Screenshots.*'
echo "Pictures written to $root/docs/images"
