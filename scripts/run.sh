#!/usr/bin/env bash
# Sets up, builds and starts the desktop program connected to an emulated
# module on COM 9, so that it shows live values and reads, writes and
# verifies at once without hardware. The emulated module stops with the
# program.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "run: no display here; run the program on a virtual one: xvfb-run -a scripts/run.sh" >&2
  exit 1
fi
scripts/build.sh build

bin=build/bin
module_args=(--com 9 --baud 4800)
# A memory file lets the emulated module keep its configuration across runs.
if "$bin/q5480-module" --help | grep -q -- '--memory'; then
  module_args+=(--memory build/module-memory.bin)
fi
"$bin/q5480-module" "${module_args[@]}" >/dev/null &
module=$!
trap 'kill "$module" 2>/dev/null || true; wait "$module" 2>/dev/null || true' EXIT

# The module is there once its link is in the ports folder.
for _ in $(seq 100); do
  [ -e "$bin/ports/com9" ] && break
  kill -0 "$module" 2>/dev/null || { echo "run: the emulated module did not start" >&2; exit 1; }
  sleep 0.05
done

# The first run points the program at the emulated module; later runs keep
# the port the person chose in the program.
if [ ! -e "$bin/Q5480.ini" ]; then
  printf 'ComPort=9\r\n' >"$bin/Q5480.ini"
fi
"$bin/q5480"
