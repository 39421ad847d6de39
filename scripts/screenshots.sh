#!/usr/bin/env bash
# Pictures of the desktop program's windows on a virtual display, against an
# emulated module: the main window after a Read, during a write with the
# message window up, in the monitor-only view and with changed fields; the
# options and port selection windows; the sensor, input and conversion
# windows; the chart view in its three styles; the simulation window; the
# corrections window (preview, forced output) and the diagnostics window;
# the splash, version, info and password windows; the differences a verify
# found. They land in
# build/screenshots/ in English and in build/screenshots/Polski/ in Polish,
# and at the scale factors of high-resolution screens in their x1.5/ and x2/
# folders.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh build
for language in English Polski; do
  for scale in 1 1.5 2; do
    out="$PWD/build/screenshots"
    [ "$language" = English ] || out="$out/$language"
    [ "$scale" = 1 ] || out="$out/x$scale"
    mkdir -p "$out"
    Q5480_SCREENSHOTS="$out" Q5480_SCREENSHOTS_LANGUAGE="$language" QT_SCALE_FACTOR="$scale" \
      QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 2600x2048x24" \
      build/tests/test_ui --gtest_filter='Screenshots.*:ServiceWindowPictures.*:VerifyDetails.*'
    ls "$out"
  done
done
