#!/usr/bin/env bash
# Cross-builds the part without Qt (engine, report texts, command-line tool and their tests) for
# 64-bit Windows with MinGW-w64, statically linked, and runs it under Wine:
#   - the test programs model, calc, report and cli;
#   - a round trip of skenbrus-cli (new, show, from-json, calc --json, calc with trace, export)
#     in a folder named with Å, Ä and Ö, given as a Windows path;
#   - `calc --json`, `export` and the calculation trace of the examples, byte for byte as the
#     Linux build writes them.
# Installs the Debian packages it needs when they are missing. Everything it makes stays in
# build-windows/ (GoogleTest for Windows, the build, the Wine prefix), so a second run is quick.
# Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
out="${SKENBRUS_WINDOWS_BUILD:-$root/build-windows}"
jobs=2
start=$SECONDS

packages=(cmake ninja-build ccache g++ g++-mingw-w64-x86-64-posix wine64 googletest libcli11-dev nlohmann-json3-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

toolchain="$root/cmake/mingw-w64.cmake"
launcher=()
if command -v ccache >/dev/null; then launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache); fi
mkdir -p "$out"

# GoogleTest for Windows from Debian's sources; CLI11 and nlohmann-json are header-only and
# come from the Debian packages, staged beside it so no host header folder reaches the build.
deps="$out/deps"
if [ ! -f "$deps/lib/libgtest.a" ]; then
  echo "== GoogleTest for Windows =="
  cmake -S /usr/src/googletest -B "$out/gtest" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_GMOCK=OFF -DINSTALL_GTEST=ON -DCMAKE_INSTALL_PREFIX="$deps" \
    "${launcher[@]}" >"$out/gtest.log"
  cmake --build "$out/gtest" -j "$jobs" >>"$out/gtest.log"
  cmake --install "$out/gtest" >>"$out/gtest.log"
fi
mkdir -p "$deps/include" "$deps/share/cmake"
cp -rp /usr/include/CLI /usr/include/nlohmann "$deps/include/"
cp -rp /usr/share/cmake/CLI11 /usr/share/cmake/nlohmann_json "$deps/share/cmake/"

echo "== Windows build (MinGW-w64, no Qt) =="
cmake -S "$root" -B "$out/build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release \
  -DSKENBRUS_GUI=OFF -DSKENBRUS_BENCH=OFF -DCLI11_DIR="$deps/share/cmake/CLI11" \
  -Dnlohmann_json_DIR="$deps/share/cmake/nlohmann_json" -DGTest_DIR="$deps/lib/cmake/GTest" \
  "${launcher[@]}" >/dev/null
cmake --build "$out/build" -j "$jobs" --target skenbrus-cli test_model test_calc test_report test_cli

# The Linux command-line tool to compare with: the main build when there is one (the Linux
# tests have just built it), else a build without Qt of its own.
if [ -f "$root/build/build.ninja" ]; then
  linux_build="$root/build"
else
  linux_build="$out/linux"
  cmake -S "$root" -B "$linux_build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSKENBRUS_GUI=OFF -DSKENBRUS_BENCH=OFF \
    >/dev/null
fi
cmake --build "$linux_build" -j "$jobs" --target skenbrus-cli >/dev/null
linux_cli="$linux_build/cli/skenbrus-cli"

echo "== Wine =="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEPREFIX="${SKENBRUS_WINEPREFIX:-$out/wine}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=C.UTF-8
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Creating the Wine prefix $WINEPREFIX (once)"
  "$wine" wineboot --init </dev/null >/dev/null 2>&1 || true
  "$wineserver" -w
fi
# One server for the whole run, started with its own output so that capturing a program's
# output does not wait for the server; a server left in this prefix by an earlier run goes first.
"$wineserver" -k >/dev/null 2>&1 || true
"$wineserver" -w
"$wineserver" -p </dev/null >/dev/null 2>&1
# The first program also starts Wine's background services, which keep the output they inherit.
"$wine" cmd.exe /c exit </dev/null >/dev/null 2>&1
trap '"$wineserver" -k >/dev/null 2>&1 || true' EXIT

echo "== Test programs under Wine =="
ctest --test-dir "$out/build" --output-on-failure -j "$jobs"

echo "== Command-line round trip in a folder named with Å, Ä and Ö =="
work="$out/rundtur/Åsa Ärlig Ö"
rm -rf "$out/rundtur"
mkdir -p "$work/spår"
winwork="$("$wine" winepath -w "$work" </dev/null 2>/dev/null)"
winex="$("$wine" winepath -w "$root/examples" </dev/null 2>/dev/null)"
cli() { "$wine" "$out/build/cli/skenbrus-cli.exe" "$@" </dev/null; }
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

cli new "$winwork\\Ny på fjället.sdb" --land Norge
[ "$(stat -c %s "$work/Ny på fjället.sdb")" = 4212 ] || fail "new did not write Ny på fjället.sdb"
shown="$(cli show "$winwork\\Ny på fjället.sdb")"
grep -q "Land: *Norge" <<<"$shown" || fail "show of the new project"
for ex in stationsvagen minimal; do
  cli from-json "$winex\\$ex.json" "$winwork\\$ex Å.sdb"
  cmp "$work/$ex Å.sdb" "$root/examples/$ex.sdb" || fail "from-json of $ex differs from the example"
  cli calc --json "$winwork\\$ex Å.sdb" >"$work/$ex.windows.json"
  "$linux_cli" calc --json "$root/examples/$ex.sdb" >"$work/$ex.linux.json"
  cmp "$work/$ex.windows.json" "$work/$ex.linux.json" || fail "calc --json of $ex differs from Linux"
done
for what in resultat tagdata strackdata; do
  cli export "$what" "$winwork\\stationsvagen Å.sdb" >"$work/$what.windows.txt"
  "$linux_cli" export "$what" "$root/examples/stationsvagen.sdb" >"$work/$what.linux.txt"
  cmp "$work/$what.windows.txt" "$work/$what.linux.txt" || fail "export $what differs from Linux"
done
# The trace files hold every term of the calculation: they too are the same on both systems.
cli calc "$winwork\\stationsvagen Å.sdb" --trace-eq --trace-max --trace-dir "$winwork\\spår" >/dev/null
mkdir -p "$out/rundtur/linux-trace"
"$linux_cli" calc "$root/examples/stationsvagen.sdb" --trace-eq --trace-max --trace-dir "$out/rundtur/linux-trace" \
  >/dev/null
[ "$(ls "$work/spår" | wc -l)" = 10 ] || fail "trace files missing"
diff -rq "$work/spår" "$out/rundtur/linux-trace" || fail "trace files differ from Linux"
set +e
cli report "$winwork\\stationsvagen Å.sdb" -o "$winwork\\r.pdf" 2>"$work/report.err"
code=$?
set -e
[ "$code" = 2 ] && grep -q "kan inte skriva PDF" "$work/report.err" || fail "report without Qt (exit $code)"

echo "== ZIP package =="
(cd "$out/build" && cpack -G ZIP >/dev/null)
cmake -E tar tf "$out/build/Skenbrus-"*"-windows-x64.zip" | grep -q "/skenbrus-cli.exe$" || fail "ZIP without skenbrus-cli.exe"

echo "Windows build and tests passed in $((SECONDS - start)) s"
