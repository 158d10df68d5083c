#!/usr/bin/env bash
# Builds the Windows package of the window: dist/Kazuban-<version>-setup.exe
# (NSIS, packaging/kazuban.nsi) and dist/Kazuban-<version>-windows.zip, the
# same files for players without administrator rights.
#
# Qt for Windows comes from scripts/build-qt-windows.sh (built once, kept in
# a cache folder); the program is cross-built against it in build/windows-qt.
# There is no windeployqt: the DLLs are copied here, and the list is checked
# against the imports of the programs and plugins, followed through every
# DLL, so that no DLL is missing or extra.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh" --windows
qt=$(bash "$root/scripts/build-qt-windows.sh" | tail -n 1)
build="$root/build/windows-qt"
version=$(sed -n 's/^project(Kazuban VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")

if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$qt/share/kazuban/toolchain.cmake" \
    -DCMAKE_PREFIX_PATH="$qt" -DCMAKE_BUILD_TYPE=Release -DKAZUBAN_WITH_QT=ON -DKAZUBAN_BENCH=OFF \
    -DKAZUBAN_WERROR=ON
fi
cmake --build "$build" -j "$(nproc)" --target kazuban kazuban-start kazuban-cli

# The mingw runtime: gcc's (libstdc++, libgcc) and winpthreads.
cxx=x86_64-w64-mingw32-g++-posix
gcc_dir=$(dirname "$($cxx -print-file-name=libstdc++-6.dll)")
pthread_dir=$(readlink -f "$(dirname "$($cxx -print-file-name=libwinpthread-1.dll)")")
wine_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows

# What the package holds besides the programs. The DLLs are those the
# import check below must find, no more, no fewer.
dlls=(Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Qt6PrintSupport.dll Qt6Network.dll libQCustomPlotQt6.dll
      libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
plugins=(platforms/qwindows.dll styles/qwindowsvistastyle.dll tls/qschannelbackend.dll)

work="$build/package"
stage="$work/Kazuban"
rm -rf "$work"
mkdir -p "$stage/demo" "$stage/translations" "$stage/licenses"
cp "$build/src/ui/kazuban.exe" "$build/src/ui/kazuban-start.exe" "$build/cli/kazuban-cli.exe" "$stage/"
for d in "${dlls[@]}"; do
  for dir in "$qt/bin" "$gcc_dir" "$pthread_dir"; do
    if [ -f "$dir/$d" ]; then cp "$dir/$d" "$stage/"; continue 2; fi
  done
  echo "error: $d not found" >&2
  exit 1
done
for p in "${plugins[@]}"; do
  mkdir -p "$stage/plugins/$(dirname "$p")"
  cp "$qt/plugins/$p" "$stage/plugins/$p"
done
x86_64-w64-mingw32-strip "$stage"/*.exe "$stage"/*.dll "$stage"/plugins/*/*.dll
cp "$qt"/translations/*.qm "$stage/translations/"
# Qt finds its plugins and translations beside the program.
printf '[Paths]\r\nPrefix=.\r\nPlugins=plugins\r\nTranslations=translations\r\n' >"$stage/qt.conf"
cp "$root/demo/atarimgrp.txt" "$root/demo/Kazuban.ini" "$root/demo/sample_combos.txt" "$stage/demo/"
sed 's/$/\r/' "$root/LICENSE" >"$stage/LICENSE.txt"
cp "$qt/share/licenses/Qt-LGPL-3.0.txt" "$qt/share/licenses/QCustomPlot-GPL-3.0.txt" "$stage/licenses/"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$stage/licenses/mingw-gcc-runtime.txt"
cp /usr/share/doc/mingw-w64-x86-64-dev/copyright "$stage/licenses/mingw-w64-runtime.txt"
cat >"$stage/licenses/README.txt" <<NOTE
Kazuban $version is free software under the GNU General Public License,
version 3 or later (LICENSE.txt).

It ships with these libraries, each under its own licence:
- Qt $(basename "$qt" | cut -d- -f3) (Qt6Core, Qt6Gui, Qt6Widgets, Qt6PrintSupport, Qt6Network and
  the plugins), built from Debian's qt6-base sources: GNU Lesser General
  Public License version 3 (Qt-LGPL-3.0.txt). Its sources are those of
  Debian's qt6-base package; scripts/build-qt-windows.sh in Kazuban's sources
  rebuilds it.
- QCustomPlot 2.1.0 (libQCustomPlotQt6.dll): GNU General Public License
  version 3 (QCustomPlot-GPL-3.0.txt).
- The mingw-w64 runtime: libstdc++-6.dll and libgcc_s_seh-1.dll under the
  GNU General Public License version 3 with the GCC Runtime Library
  Exception (mingw-gcc-runtime.txt); libwinpthread-1.dll under the MIT
  licence of mingw-w64 (mingw-w64-runtime.txt).
NOTE
sed -i 's/$/\r/' "$stage/licenses/README.txt"

# The import check: every DLL a program, plugin or shipped DLL imports is
# shipped or is part of Windows (Wine has a DLL of that name, or it is one
# of Windows' API sets), and every
# shipped DLL is imported by something.
declare -A imported=() system=()
for f in "$wine_dlls"/*.dll "$wine_dlls"/*.drv; do
  n=$(basename "$f")
  system[${n,,}]=1
done
queue=("$stage"/*.exe "$stage"/plugins/*/*.dll)
failed=0
while [ ${#queue[@]} -gt 0 ]; do
  file=${queue[0]}
  queue=("${queue[@]:1}")
  while read -r name; do
    [ -n "$name" ] || continue
    [ -z "${imported[$name]:-}" ] || continue
    imported[$name]=1
    if [ -f "$stage/$name" ]; then
      queue+=("$stage/$name")
    elif [[ ${name,,} == api-ms-win-* ]]; then
      :   # an API set, which Windows' loader maps to its own DLLs
    elif [ -z "${system[${name,,}]:-}" ]; then
      echo "MISSING: $name (imported by $(basename "$file"))" >&2
      failed=1
    fi
  done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^[[:space:]]*DLL Name: //p')
done
for f in "$stage"/*.dll; do
  if [ -z "${imported[$(basename "$f")]:-}" ]; then
    echo "EXTRA: $(basename "$f") is imported by nothing" >&2
    failed=1
  fi
done
[ $failed -eq 0 ] || { echo "error: the package's DLLs do not match the imports" >&2; exit 1; }

# The uninstaller removes exactly the installed files.
(cd "$stage" && find . -type f | sed 's|^\./||; s|/|\\|g' | sort | sed 's|^|  Delete "$INSTDIR\\|; s|$|"|'
 cd "$stage" && find . -mindepth 1 -type d | sed 's|^\./||; s|/|\\|g' | sort -r | sed 's|^|  RMDir "$INSTDIR\\|; s|$|"|'
) >"$work/files.nsh"

mkdir -p "$root/dist"
setup="$root/dist/Kazuban-$version-setup.exe"
zip="$root/dist/Kazuban-$version-windows.zip"
rm -f "$setup" "$zip"
size_kb=$(du -sk "$stage" | cut -f1)
makensis -V2 -DVERSION="$version" -DSTAGE="$stage" -DOUTFILE="$setup" -DSIZE_KB="$size_kb" \
  "$root/packaging/kazuban.nsi"
(cd "$work" && zip -qr9 "$zip" Kazuban)
echo "Windows package: $(du -h "$setup" | cut -f1) $setup, $(du -h "$zip" | cut -f1) $zip"
