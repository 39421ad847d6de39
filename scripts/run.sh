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
memory=build/module-memory.bin
# A Q5497 with a Pt100 on three wires whose temperature drifts slowly
# between about 10 and 30 °C (the resistance in ohms, over two minutes).
module_args=(--com 9 --model 5497 --memory "$memory" --signal sine:107.8:3.9:120)

module=""
stop_module() {
  if [ -n "$module" ]; then
    kill "$module" 2>/dev/null || true
    wait "$module" 2>/dev/null || true
    module=""
  fi
}
trap stop_module EXIT

start_module() {
  "$bin/q5480-module" "${module_args[@]}" "$@" >/dev/null </dev/null &
  module=$!
  # The module is there once its link is in the ports folder.
  for _ in $(seq 100); do
    [ -e "$bin/ports/com9" ] && return 0
    kill -0 "$module" 2>/dev/null || { echo "run: the emulated module did not start" >&2; exit 1; }
    sleep 0.05
  done
}

# The first run configures the module as it would leave the factory, through
# the program's own write on a fast emulated line.
if [ ! -e "$memory" ]; then
  start_module
  "$bin/q5480ctl" write examples/pt100_3wire_m50_150.par --port 9 >/dev/null
  stop_module
fi
start_module --baud 4800

# The first run points the program at the emulated module and its Open
# dialog at the examples; later runs keep what the person chose.
ln -sfn ../../examples "$bin/examples"
if [ ! -e "$bin/Q5480.ini" ]; then
  examples="$PWD/$bin/examples"
  printf 'ComPort=9\r\n' >"$bin/Q5480.ini"
  # A longer data folder is not kept; the examples are in the program's own.
  if [ ${#examples} -le 60 ]; then printf 'DataDir=%s\r\n' "$examples" >>"$bin/Q5480.ini"; fi
fi
"$bin/q5480"
