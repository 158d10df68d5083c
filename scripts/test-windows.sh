#!/usr/bin/env bash
# The Windows check: cross-builds the core, kazuban-cli.exe and the core tests
# for 64-bit Windows with mingw-w64 (statically linked, Qt-free) into
# build/windows/, runs the core tests (the CLI tests among them) under Wine,
# and checks that kazuban-cli.exe under Wine prints byte for byte what the
# Linux build prints for check, totals, predraw, stats, the analyses odds,
# backtest, analysis and randomness, import and payout on the demo data, and
# two ticket designs (the search must draw the same numbers on both systems).
#
# With --window (as .ci/run calls it) also the window:
# scripts/package-windows.sh builds Qt for Windows once
# (scripts/build-qt-windows.sh, kept in a cache folder), kazuban.exe against
# it in build/windows-qt/ and the installer; the GUI tests run under Wine on
# the offscreen platform (at 100 % and 200 %) in a Japanese locale (code page
# 932, as on the players' systems), and scripts/test-windows-installer.sh
# installs, starts and uninstalls the program under Wine.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
bash "$root/scripts/deps.sh" --windows
build="$root/build/windows"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DKAZUBAN_WITH_QT=OFF -DKAZUBAN_BENCH=OFF -DKAZUBAN_WERROR=ON
cmake --build "$build" -j "$(nproc)" --target kazuban-cli core_tests

# The Linux CLI to compare with (the Qt-free build's, when there is one).
linux="$root/build/noqt"
if [ ! -f "$linux/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$linux" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAZUBAN_WITH_QT=OFF -DKAZUBAN_BENCH=OFF \
    -DKAZUBAN_WERROR=ON
fi
cmake --build "$linux" --target kazuban-cli

# A Wine prefix of its own, so the check does not depend on the user's ~/.wine;
# no Mono or Gecko installer is offered for it.
export WINEPREFIX="$build/wine"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
if [ ! -d "$WINEPREFIX/drive_c" ]; then
  "$wine" wineboot --init >/dev/null 2>&1 || true
fi

echo "== core tests under Wine"
(cd "$build" && "$wine" tests/core_tests.exe --gtest_brief=1)

echo "== kazuban-cli under Wine against Linux"
work=$(mktemp -d "${TMPDIR:-/tmp}/kazuban-windows.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/linux" "$work/windows"
cp "$root"/demo/* "$work/linux/"
cp "$root"/demo/* "$work/windows/"
# The last five draws as the bank publishes them (made-up dates and prizes),
# so that import and payout are compared too.
for n in 1396 1397 1398 1399 1400; do
  line=$(sed -n "$((n + 1))p" "$root/demo/atarimgrp.txt" | tr -d '\r ')
  IFS=, read -r a b c d e bonus <<<"${line#*=}"
  printf 'A52\r\n第%d回ミニロト,数字選択式全国自治宝くじ,令和8年8月%d日,東京\r\n' "$n" "$((n - 1395))"
  printf '本数字,%02d,%02d,%02d,%02d,%02d,ボーナス数字,%02d\r\n' "$a" "$b" "$c" "$d" "$e" "$bonus"
  printf '１等,該当なし,該当なし\r\n２等,3口,"1,%03d,500円"\r\n３等,150口,12500円\r\n４等,"4,000口",1000円\r\n' "$((n % 1000))"
done | iconv -f UTF-8 -t CP932 >"$work/bank.csv"
cp "$work/bank.csv" "$work/linux/"
cp "$work/bank.csv" "$work/windows/"
failed=0
run() {   # run FOLDER PROGRAM... : the command's standard output, -o file and errors in FOLDER
  local folder=$1 name=$2
  shift 2
  (cd "$folder" && "$@" $command >"$name.out" 2>"$name.err" && "$@" $command -o "$name.file" 2>>"$name.err") ||
    echo "exit status $? from $*" >>"$folder/$name.err"
}
for command in "check sample_combos.txt" "totals sample_combos.txt" "totals sample_combos.txt --sort 7" \
               "predraw" "predraw --sort 8s" "stats" "odds sample_combos.txt" \
               "backtest sample_combos.txt --from 700" "analysis" "analysis --last 100" \
               "randomness" "randomness --last 100" \
               "import bank.csv" "payout sample_combos.txt" "payout sample_combos.txt --from 1397" \
               "design --tickets 10" "design --guarantee --numbers 2,3,5,7,11,13,17,19"; do
  name=$(tr ' ' '_' <<<"$command")
  run "$work/linux" "$name" "$linux/cli/kazuban-cli"
  run "$work/windows" "$name" "$wine" "$build/cli/kazuban-cli.exe"
  for kind in out file err; do
    if ! cmp -s "$work/linux/$name.$kind" "$work/windows/$name.$kind"; then
      echo "DIFFERENT: kazuban-cli $command ($kind)"
      diff "$work/linux/$name.$kind" "$work/windows/$name.$kind" | head -n 12 || true
      failed=1
    fi
  done
  if [ ! -s "$work/linux/$name.out" ]; then
    echo "EMPTY: kazuban-cli $command"
    failed=1
  fi
done
[ $failed -eq 0 ] || exit 1
echo "Windows check of the core and CLI: OK"
if [ "${1:-}" != "--window" ]; then
  exit 0
fi

echo "== the window for Windows"
bash "$root/scripts/package-windows.sh"
qt=$(bash "$root/scripts/build-qt-windows.sh" --prefix)
qtbuild="$root/build/windows-qt"
cmake --build "$qtbuild" -j "$(nproc)" --target gui_tests screenshots
cxx=x86_64-w64-mingw32-g++-posix
gcc_dir=$(dirname "$($cxx -print-file-name=libstdc++-6.dll)")
pthread_dir=$(readlink -f "$(dirname "$($cxx -print-file-name=libwinpthread-1.dll)")")
# Qt's DLLs (its plugins are found from them) and the mingw runtime.
export WINEPREFIX="$qtbuild/wine"
export WINEPATH="Z:$qt/bin;Z:$gcc_dir;Z:$pthread_dir"
# Wine hands no QT_ variable of Linux to a Windows program, only WINEQT_ ones
# (as QT_ ones). The offscreen platform of Windows draws with the fonts of
# one folder (QT_QPA_FONTDIR), none of the system's: the IPA fonts.
mkdir -p "$qtbuild/wine-fonts"
cp /usr/share/fonts/opentype/ipafont-gothic/ipag*.ttf "$qtbuild/wine-fonts/"
export WINEQT_QPA_FONTDIR="Z:$qtbuild/wine-fonts"
# A Japanese locale of our own (no system locale is generated or changed):
# Wine then takes code page 932 for the program's narrow strings.
if [ ! -f "$qtbuild/locale/ja_JP.UTF-8/LC_CTYPE" ]; then
  mkdir -p "$qtbuild/locale"
  localedef --no-archive -i ja_JP -f UTF-8 "$qtbuild/locale/ja_JP.UTF-8" 2>/dev/null ||
    [ -f "$qtbuild/locale/ja_JP.UTF-8/LC_CTYPE" ]
fi
if [ ! -f "$WINEPREFIX/.kazuban-fonts" ]; then
  "$wine" wineboot --init >/dev/null 2>&1 || true
  # Wine has none of Windows' Japanese fonts: the IPA fonts stand in for the
  # UI fonts and for the program's MS Gothic (a UTF-16 .reg file, so that
  # the Japanese name arrives whole).
  {
    printf '\xff\xfe'
    {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[HKEY_CURRENT_USER\\Software\\Wine\\Fonts\\Replacements]\r\n'
    for font in Tahoma "Segoe UI" "MS UI Gothic" "Yu Gothic UI" Meiryo "MS PGothic" "ＭＳ Ｐゴシック"; do
      printf '"%s"="IPAPGothic"\r\n' "$font"
    done
    for font in "MS Gothic" "ＭＳ ゴシック"; do
      printf '"%s"="IPAGothic"\r\n' "$font"
    done
    } | iconv -f UTF-8 -t UTF-16LE
  } >"$work/fonts.reg"
  "$wine" regedit /S "$(/usr/lib/wine/wine64 winepath -w "$work/fonts.reg" 2>/dev/null)"
  /usr/lib/wine/wineserver -w
  touch "$WINEPREFIX/.kazuban-fonts"
fi
# A TLS server on 127.0.0.1 for the fetch through Schannel: openssl s_server
# answers with the files that the test writes into its folder (whole HTTP
# replies), under a certificate made here for 127.0.0.1.
tls="$qtbuild/tls"
rm -rf "$tls"
mkdir -p "$tls/served"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$tls/key.pem" -out "$tls/cert.pem" -days 2 \
  -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 2>/dev/null
tls_pid=""
for _ in 1 2 3 4 5; do
  port=$((20000 + RANDOM % 30000))
  (cd "$tls/served" && exec openssl s_server -accept "127.0.0.1:$port" -cert "$tls/cert.pem" -key "$tls/key.pem" \
     -HTTP) >"$tls/server.log" 2>&1 &
  tls_pid=$!
  for _ in $(seq 25); do
    if grep -q ACCEPT "$tls/server.log" || ! kill -0 "$tls_pid" 2>/dev/null; then break; fi
    sleep 0.2
  done
  grep -q ACCEPT "$tls/server.log" && break
  kill "$tls_pid" 2>/dev/null || true
  tls_pid=""
done
if [ -z "$tls_pid" ]; then
  echo "error: the TLS server for the fetch test did not start:" >&2
  cat "$tls/server.log" >&2
  exit 1
fi
trap 'kill "$tls_pid" 2>/dev/null || true; rm -rf "$work"' EXIT
export KAZUBAN_TLS_URL="https://127.0.0.1:$port" KAZUBAN_TLS_FOLDER="Z:$tls/served" KAZUBAN_TLS_CERT="Z:$tls/cert.pem"
gui_run() {   # gui_run LOG ARGS...: the GUI tests under Wine, their skipped tests listed
  local log=$1
  shift
  (cd "$qtbuild" && LOCPATH="$qtbuild/locale" LC_ALL=ja_JP.UTF-8 WINEQT_QPA_PLATFORM=offscreen \
     "$wine" tests/gui_tests.exe --gtest_brief=1 "$@") 2>&1 | tee "$log" |
    grep -v '^\[  SKIPPED \]' || true
  grep -q '^\[  PASSED  \]' "$log" && ! grep -q '^\[  FAILED  \]' "$log"
}
echo "== GUI tests under Wine"
gui_run "$qtbuild/gui_tests.log"
echo "== GUI tests at 200 % under Wine"
WINEQT_SCALE_FACTOR=2 gui_run "$qtbuild/gui_tests_200.log" --gtest_filter='WindowSize.*:WindowFit.*:FileDialogColumns.*'
echo "Skipped under Wine:"
# (the brief output names each by its file and line, its reason below)
tr -d '\r' <"$qtbuild/gui_tests.log" | grep -A1 ': Skipped$' | grep -v '^--$' |
  sed 's/^/  /' || echo "  none"

echo "== the installer under Wine"
version=$(sed -n 's/^project(Kazuban VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
bash "$root/scripts/test-windows-installer.sh" "$root/dist/Kazuban-$version-setup.exe"
echo "Windows check: OK"
