#!/usr/bin/env bash
# Checks that every C++ file of the project is formatted as .clang-format
# says (clang-format-14, from Debian). Lists the files that are not and exits 1.
#
#   scripts/check-format.sh          check
#   scripts/check-format.sh --fix    reformat those files in place
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
tool=${CLANG_FORMAT:-clang-format-14}
if ! command -v "$tool" >/dev/null 2>&1; then
  echo "error: $tool is missing (apt-get install clang-format-14)" >&2
  exit 1
fi
mapfile -t files < <(git ls-files '*.cpp' '*.h')
if [ "${1:-}" = "--fix" ]; then
  "$tool" -i "${files[@]}"
  echo "Formatted ${#files[@]} files."
  exit 0
fi
bad=()
for f in "${files[@]}"; do
  if ! "$tool" --dry-run -Werror "$f" >/dev/null 2>&1; then bad+=("$f"); fi
done
if [ ${#bad[@]} -gt 0 ]; then
  echo "Not formatted as .clang-format says (scripts/check-format.sh --fix formats them):"
  printf '  %s\n' "${bad[@]}"
  exit 1
fi
echo "Format: OK (${#files[@]} files)"
