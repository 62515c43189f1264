#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite: a Release build, a build under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the Windows cross-build under Wine.
# Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"
export QT_QPA_PLATFORM=offscreen
"$root/scripts/setup.sh"

echo "== Release build and tests =="
"$root/scripts/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=Release
ctest --test-dir "$root/build" --output-on-failure -j "$jobs"

echo "== Sanitizer build and tests =="
"$root/scripts/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSKENBRUS_SANITIZE=ON \
  -DSKENBRUS_BENCH=OFF
ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  SKENBRUS_SANITIZER_RUN=1 ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs"

echo "== Windows cross-build and tests under Wine =="
"$root/scripts/test-windows.sh"
