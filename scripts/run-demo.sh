#!/usr/bin/env bash
# Builds Kazuban and starts the window on a fresh copy of the demo data.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh"
cmake -S "$root" -B "$root/build/release" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DKAZUBAN_TESTS=OFF -DKAZUBAN_BENCH=OFF
cmake --build "$root/build/release" --target kazuban kazuban-cli
work=$(mktemp -d "${TMPDIR:-/tmp}/kazuban-demo.XXXXXX")
cp -a "$root/demo/." "$work/"
echo "Demo folder: $work"
cd "$work"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
  echo "No display found: starting the window under xvfb-run (nothing will be visible)."
  exec xvfb-run -a "$root/build/release/src/ui/kazuban" "$@"
fi
exec "$root/build/release/src/ui/kazuban" "$@"
