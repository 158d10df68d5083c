#!/usr/bin/env bash
# Installs the Debian packages the build, the window and the tests need
# (xdg-utils: xdg-open is the browser, editor and spreadsheet used when none
# is set; qt6-translations-l10n: Qt's own dialogs in Japanese; poppler-utils:
# pdftotext reads back the PDF that the print preview test writes;
# clang-format-14: scripts/check-format.sh; shared-mime-info: the file
# dialog test tells a file's type by its content to show the dialog does not;
# libqcustomplot-dev: the charts (QCustomPlot, CMake package QCustomPlotQt6);
# Qt6Gui's CMake files look for OpenGL, whose libgl-dev qt6-base-dev
# itself depends on; libboost-math-dev: the distributions of
# the randomness tests, headers only, taken by the Windows build too;
# qt6-base-dev brings Qt Network, whose TLS backend the fetch of the latest
# results uses).
# Sourced by the other scripts; does nothing when everything is there.
# With --windows also what the Windows check and package need
# (scripts/test-windows.sh, scripts/build-qt-windows.sh,
# scripts/package-windows.sh): the mingw-w64 cross compiler, Wine, GoogleTest's
# sources, dpkg-dev (dpkg-source unpacks Debian's Qt and QCustomPlot sources),
# NSIS (makensis, the installer), zip, the IPA fonts Wine draws Japanese in,
# locales (the Japanese locale the GUI tests run in under Wine) and openssl
# (the TLS server of the fetch test).
set -euo pipefail
KAZUBAN_PACKAGES=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev libqcustomplot-dev libcli11-dev libboost-math-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic xvfb xauth
  xdg-utils qt6-translations-l10n poppler-utils shared-mime-info
  clang-format-14
)
if [ "${1:-}" = "--windows" ]; then
  KAZUBAN_PACKAGES+=(g++-mingw-w64-x86-64-posix wine64 googletest dpkg-dev nsis zip unzip x11-utils locales openssl)
fi
missing=()
for p in "${KAZUBAN_PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing missing packages: ${missing[*]}"
  if [ "$(id -u)" -eq 0 ]; then
    SUDO=()
  elif command -v sudo >/dev/null 2>&1; then
    SUDO=(sudo)
  else
    echo "error: these Debian packages are missing and neither root nor sudo is available:" >&2
    echo "  ${missing[*]}" >&2
    echo "Install them as root (apt-get install ...) and run this command again." >&2
    exit 1
  fi
  "${SUDO[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${SUDO[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
