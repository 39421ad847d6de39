#!/usr/bin/env bash
# Sets up, builds from scratch and runs every test twice: once as built for
# use, once under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh

export QT_QPA_PLATFORM=offscreen
for variant in build:OFF build-sanitize:ON; do
  dir=${variant%%:*}
  sanitize=${variant##*:}
  rm -rf "$dir"
  echo "== building $dir (sanitizers $sanitize)"
  scripts/build.sh "$dir" -DQ5480_SANITIZE="$sanitize"
  echo "== testing $dir"
  ctest --test-dir "$dir" --output-on-failure -j "$(nproc)"
done
