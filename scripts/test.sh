#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer and runs every
# test: the headless unit tests and the end-to-end tests of the real game under Xvfb.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh" --test
build="$root/build-test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DMG_SANITIZE=ON -DMG_BUILD_TESTS=ON
cmake --build "$build" -j"$(nproc)"
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
export SDL_AUDIODRIVER=dummy
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
# The fuzz targets, each a short bounded run, seeded from the data this build made.
if [ $# -eq 0 ]; then
  MG_FUZZ_JOBS="$(nproc)" MG_FUZZ_SEEDS_FROM="$build" bash "$root/scripts/fuzz.sh" 10
fi
echo "Screenshots and other artifacts: $build/artifacts"
# The packaging test builds the Release Debian package, installs it and plays the installed
# game (it needs root); it runs with the whole suite, not with a selection of tests.
if [ $# -eq 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    bash "$root/tests/packaging/package_test.sh" "$root/build-package"
    echo "Packaging test artifacts: $root/build-package/artifacts"
  else
    echo "Packaging test skipped: it installs the package and needs root."
  fi
fi
