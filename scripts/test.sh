#!/usr/bin/env bash
# Sets up, checks the sources' format, builds from scratch and runs every
# test: as built for use (a Release build), all but the Qt windows under
# AddressSanitizer and UndefinedBehaviorSanitizer, and the suites with
# threads (link, module, device, window logic) under ThreadSanitizer; then
# every reader of outside data and the window logic fuzzed for a while
# (scripts/fuzz.sh); last the Windows build, cross-compiled and checked under
# wine against the emulator (scripts/windows_check.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
jobs=$(nproc)

# Each stage says when it starts, so that a slow machine shows where the time goes.
stage() { echo "== $1 (at $((SECONDS / 60)) min $((SECONDS % 60)) s)"; }

stage "Format and platform files"
scripts/format.sh --check
scripts/check_platform_files.sh

stage "Release build"
rm -rf build
scripts/build.sh build
ctest --test-dir build --output-on-failure -j "$jobs"

# Without the Qt windows: they are the slowest part of the build and of the
# tests, and their decisions live in the window logic, which stays in. Their
# tests run in the Release build.
stage "AddressSanitizer and UndefinedBehaviorSanitizer: all but the Qt windows"
rm -rf build-sanitize
scripts/build.sh build-sanitize -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQ5480_SANITIZE=ON \
  -DQ5480_BUILD_GUI=OFF
ctest --test-dir build-sanitize --output-on-failure -j "$jobs"

stage "ThreadSanitizer: link, module, device and window logic"
rm -rf build-thread
cmake -S . -B build-thread -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQ5480_TSAN=ON \
  -DQ5480_BUILD_GUI=OFF >/dev/null
cmake --build build-thread -j "$jobs" --target test_link test_module test_device test_workflow
ctest --test-dir build-thread --output-on-failure -j "$jobs" -L '^(link|module|device|workflow)$'

stage "Fuzzing: each harness for ${Q5480_FUZZ_SECONDS:-10} s"
rm -rf build-fuzz
scripts/fuzz.sh "${Q5480_FUZZ_SECONDS:-10}"

stage "Windows: cross-built, under wine against the emulator"
rm -rf build-windows
windows_started=$SECONDS
scripts/windows_check.sh build build-windows
echo "== the Windows stage took $((SECONDS - windows_started)) s"
stage "Done"
