#!/usr/bin/env bash
# Checks two rules of the source tree:
#  - operating-system headers are included only under src/platform/;
#  - the folders' includes form layers: a folder includes its own layer or
#    lower ones, never a higher one, and there is no cycle between folders.
# Prints every breach and exits 1 when there is one.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
status=0

# 1. System headers.
pattern='^[[:space:]]*#[[:space:]]*include[[:space:]]*<(unistd\.h|fcntl\.h|sys/[^>]*|windows\.h|io\.h|spawn\.h|dirent\.h|iconv\.h)>'
if hits=$(grep -rnE "$pattern" src cli --include='*.cpp' --include='*.h' | grep -v '^src/platform/'); then
  echo "Operating-system headers outside src/platform/:"
  echo "$hits"
  status=1
fi

# 2. Layers, lowest first. A folder may include folders of its own layer or below.
layers=(
  "text"
  "grid platform history"
  "combos output analysis design ledger"
  "views config"
  "app"
  "ui cli"
)
declare -A rank
for i in "${!layers[@]}"; do
  for folder in ${layers[$i]}; do rank[$folder]=$i; done
done
declare -A edges
while IFS= read -r line; do
  file=${line%%:*}
  target=$(sed -nE 's/.*#[[:space:]]*include[[:space:]]*"([a-z_]+)\/.*/\1/p' <<<"$line")
  case $file in
    cli/*) from=cli ;;
    src/*) from=$(cut -d/ -f2 <<<"$file") ;;
  esac
  [ -n "$target" ] || continue
  [ "$from" = "$target" ] && continue
  if [ -z "${rank[$from]+x}" ] || [ -z "${rank[$target]+x}" ]; then
    echo "$file: folder '$from' or '$target' has no layer in scripts/check-structure.sh"
    status=1
    continue
  fi
  if [ "${rank[$target]}" -gt "${rank[$from]}" ]; then
    echo "$file: '$from' includes the higher folder '$target'"
    status=1
  fi
  edges["$from $target"]=1
done < <(grep -rnE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[a-z_]+/' src cli --include='*.cpp' --include='*.h')

# Folders of one layer may include each other, but never round in a circle.
for edge in "${!edges[@]}"; do
  read -r a b <<<"$edge"
  if [[ "$a" < "$b" ]] && [ -n "${edges["$b $a"]+x}" ]; then
    echo "Folders '$a' and '$b' include each other"
    status=1
  fi
done
# Longer circles within one layer: follow the edges from each folder.
for start in "${!rank[@]}"; do
  declare -A seen=()
  queue=("$start")
  while [ ${#queue[@]} -gt 0 ]; do
    node=${queue[0]}
    queue=("${queue[@]:1}")
    for edge in "${!edges[@]}"; do
      read -r a b <<<"$edge"
      [ "$a" = "$node" ] || continue
      if [ "$b" = "$start" ]; then
        echo "Folder '$start' reaches itself through its includes"
        status=1
        queue=()
        break
      fi
      if [ -z "${seen[$b]+x}" ]; then
        seen[$b]=1
        queue+=("$b")
      fi
    done
  done
  unset seen
done

[ $status -eq 0 ] && echo "Structure: OK"
exit $status
