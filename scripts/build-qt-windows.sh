#!/usr/bin/env bash
# Builds Qt for 64-bit Windows (mingw-w64, posix threads) from Debian's own
# source packages, with QCustomPlot on top, for the Windows build of the
# window (scripts/test-windows.sh, scripts/package-windows.sh).
#
# Debian ships no Qt for Windows, but the qt6-base sources of the installed
# host tools (qt6-base-dev: moc, rcc, uic run on Linux) build for mingw-w64.
# The sources come from Debian's source archive through an apt configuration
# of this script's own (a sources file and lists folder in its work folder);
# the system's apt configuration is left as it is.
#
# Installs into ${KAZUBAN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kazuban}/
# qt-windows-<Qt version>-<hash of this script>; a second run does nothing.
# Remove that folder to build again.
#   scripts/build-qt-windows.sh           build when needed, print the folder
#   scripts/build-qt-windows.sh --prefix  only print the folder
set -euo pipefail
script=$(readlink -f "$0")
root=$(cd "$(dirname "$script")/.." && pwd)

host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null || true)
if [ -z "$host_version" ]; then
  echo "error: qt6-base-dev is not installed (scripts/deps.sh installs it)" >&2
  exit 1
fi
src_version=${host_version%+b[0-9]*}           # a binary-only rebuild keeps its source's version
qt_version=${src_version%%[+-]*}               # 6.4.2+dfsg-10 -> 6.4.2
qcp_version=2.1.0
hash=$(sha256sum "$script" | cut -c1-12)
cache=${KAZUBAN_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/kazuban}
prefix="$cache/qt-windows-$qt_version-$hash"
stamp="$prefix/.kazuban-complete"
if [ "${1:-}" = "--prefix" ]; then
  echo "$prefix"
  exit 0
fi
if [ -f "$stamp" ]; then
  echo "$prefix"
  exit 0
fi

bash "$root/scripts/deps.sh" --windows >&2
jobs=${KAZUBAN_QT_JOBS:-2}
work="$cache/work-qt-windows-$qt_version-$hash"
qt_stamp="$prefix/.kazuban-qt-built"   # Qt is there, QCustomPlot not yet
[ -f "$qt_stamp" ] || rm -rf "$prefix"
rm -rf "$work"
mkdir -p "$work" "$prefix/share/kazuban"
started=$(date +%s)

# --- The sources, through an apt of our own --------------------------------
# The mirror and suite of the system's Debian entry (deb.debian.org, the
# release's code name when none is found).
suite=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
mirror=""
for f in /etc/apt/sources.list.d/*.sources; do
  [ -f "$f" ] || continue
  mirror=$(awk '/^URIs:/ && $2 ~ /\/debian\/?$/ {print $2; exit}' "$f")
  [ -n "$mirror" ] && break
done
if [ -z "$mirror" ] && [ -f /etc/apt/sources.list ]; then
  mirror=$(awk '$1 == "deb" && $2 ~ /\/debian\/?$/ {print $2; exit}' /etc/apt/sources.list)
fi
mirror=${KAZUBAN_DEBIAN_MIRROR:-${mirror:-http://deb.debian.org/debian}}
apt_dir="$work/apt"
mkdir -p "$apt_dir/sources.list.d" "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
{
  echo "deb-src $mirror $suite main"
  echo "deb-src $mirror $suite-updates main"
} >"$apt_dir/sources.list"
apt_opts=(
  -o "Dir::Etc::SourceList=$apt_dir/sources.list"
  -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
  -o "Dir::State::Lists=$apt_dir/lists"
  -o "Dir::Cache=$apt_dir/cache"
  -o "Dir::State::status=/var/lib/dpkg/status"
  -o "APT::Sandbox::User=$(id -un)"
  -o "Debug::NoLocking=1"
)
echo "== Fetching qt6-base $src_version and qcustomplot $qcp_version from $mirror $suite" >&2
apt-get "${apt_opts[@]}" -qq update >&2
qcp_src=$(apt-cache "${apt_opts[@]}" showsrc qcustomplot | awk '/^Version:/ {print $2}' |
          grep "^$qcp_version" | head -n 1)
if [ -z "$qcp_src" ]; then
  echo "error: qcustomplot $qcp_version is not in $mirror $suite" >&2
  exit 1
fi
mkdir -p "$work/src"
(cd "$work/src" && apt-get "${apt_opts[@]}" -qq source --download-only \
   "qt6-base=$src_version" "qcustomplot=$qcp_src" >&2)
(cd "$work/src" && dpkg-source --no-check -x qt6-base_*.dsc qtbase >/dev/null &&
   dpkg-source --no-check -x qcustomplot_*.dsc qcustomplot >/dev/null)

# --- Qt ------------------------------------------------------------------------
# The toolchain, kept with the install for the builds against it
# (scripts/test-windows.sh): mingw-w64 with posix threads, the runtime DLLs
# shared (they ship beside Qt's DLLs; a static runtime in each DLL would give
# each its own heap and exception tables); packages are found in mingw's
# folder and in this install, Qt's tools on the build machine.
toolchain="$prefix/share/kazuban/toolchain.cmake"
cat >"$toolchain" <<TOOLCHAIN
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH "$prefix" /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(QT_HOST_PATH /usr CACHE PATH "Qt's tools of the build machine")
set(QT_HOST_PATH_CMAKE_DIR /usr/lib/x86_64-linux-gnu/cmake CACHE PATH "Their CMake packages")
set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
TOOLCHAIN

# Only what the program uses: Core, Gui, Widgets, PrintSupport, Network and
# Test (the GUI tests), the qwindows and qoffscreen platforms, the Windows
# style, TLS through Schannel. The bundled third-party libraries are used,
# since mingw has none of its own here.
#  - tabletevent off: Debian's source drops the wintab headers;
#  - Direct2D and DirectWrite stay on: PrintSupport links against the
#    DirectWrite font engine;
#  - no OpenGL at all: the platform plugin does not build with dynamic OpenGL.
if [ ! -f "$qt_stamp" ]; then
echo "== Configuring Qt $qt_version for x86_64-w64-mingw32" >&2
nice -n 10 cmake -S "$work/src/qtbase" -B "$work/build-qt" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
  -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON \
  -DCMAKE_INSTALL_PREFIX="$prefix" \
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
  -DFEATURE_tabletevent=OFF -DFEATURE_direct2d=ON -DFEATURE_directwrite=ON \
  -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_opengl_dynamic=OFF -DFEATURE_vulkan=OFF \
  -DFEATURE_sql=OFF -DFEATURE_dbus=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF \
  -DFEATURE_imageformatplugin=OFF -DFEATURE_tuiotouch=OFF -DFEATURE_networklistmanager=OFF \
  -DFEATURE_schannel=ON -DFEATURE_openssl=OFF -DFEATURE_icu=OFF -DFEATURE_glib=OFF \
  -DFEATURE_system_zlib=OFF -DFEATURE_system_png=OFF -DFEATURE_system_jpeg=OFF \
  -DFEATURE_system_freetype=OFF -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_pcre2=OFF \
  -DFEATURE_system_doubleconversion=OFF -DFEATURE_system_libb2=OFF \
  >"$work/configure-qt.log" 2>&1 || { tail -n 40 "$work/configure-qt.log" >&2; exit 1; }
echo "== Building Qt (-j$jobs)" >&2
nice -n 10 cmake --build "$work/build-qt" -j "$jobs" >"$work/build-qt.log" 2>&1 ||
  { grep -B2 -A20 'FAILED:' "$work/build-qt.log" | head -n 60 >&2; exit 1; }
cmake --install "$work/build-qt" >"$work/install-qt.log" 2>&1 || { tail -n 20 "$work/install-qt.log" >&2; exit 1; }
echo "Qt build: $(($(date +%s) - started)) s" >"$qt_stamp"
rm -rf "$work/build-qt"
fi

# --- QCustomPlot -----------------------------------------------------------------
# Debian's CMake project, the same QCustomPlotQt6 package as on Linux.
echo "== Building QCustomPlot $qcp_src" >&2
nice -n 10 cmake -S "$work/src/qcustomplot" -B "$work/build-qcp" -G Ninja \
  -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_PREFIX_PATH="$prefix" -DCMAKE_INSTALL_PREFIX="$prefix" -DUSE_QT_VERSION=6 \
  >"$work/configure-qcp.log" 2>&1 || { tail -n 40 "$work/configure-qcp.log" >&2; exit 1; }
nice -n 10 cmake --build "$work/build-qcp" -j "$jobs" >"$work/build-qcp.log" 2>&1 ||
  { tail -n 40 "$work/build-qcp.log" >&2; exit 1; }
cmake --install "$work/build-qcp" >/dev/null
# Qt's own dialogs in Japanese: the .qm files of qt6-translations-l10n are
# the same on every platform.
mkdir -p "$prefix/translations"
cp /usr/share/qt6/translations/qtbase_ja.qm "$prefix/translations/"
mkdir -p "$prefix/share/licenses"
cp "$work/src/qcustomplot/GPL.txt" "$prefix/share/licenses/QCustomPlot-GPL-3.0.txt"
cp "$work/src/qtbase/LICENSES/LGPL-3.0-only.txt" "$prefix/share/licenses/Qt-LGPL-3.0.txt"

ended=$(date +%s)
printf 'Qt %s (Debian %s) and QCustomPlot %s for x86_64-w64-mingw32\n%s\nQCustomPlot and the rest: %d s\n' \
  "$qt_version" "$src_version" "$qcp_src" "$(cat "$qt_stamp")" "$((ended - started))" >"$stamp"
cat "$stamp" >&2
rm -rf "$work"
echo "$prefix"
